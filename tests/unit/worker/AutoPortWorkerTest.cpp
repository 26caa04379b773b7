// Automatic port detection over simulated devices. Only simulated names are ever opened.

#include "../rs232/SerialTestSupport.h"

#include "worker/AutoPortWorker.h"
#include "worker/WorkerBundle.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QTemporaryDir>

#include <fstream>
#include <pty.h>
#include <sys/inotify.h>
#include <unistd.h>

using serwedge::worker::AutoPortWorker;
using serwedge::worker::AutoPortWorkerView;
using serwedge::worker::workerBundle;

namespace {

class RecordingView : public AutoPortWorkerView {
public:
    void setButtonToCancel() override { events.push_back("button:Cancel"); }
    void setButtonToClose() override { events.push_back("button:Close"); }
    void setPort(const QString& portName) override { selected.push_back(portName); }
    void update(const QString& text, Style style) override {
        lines.push_back(text);
        emphasised.push_back(style == Style::Emphasised);
    }
    std::vector<QString> events;
    std::vector<QString> selected;
    std::vector<QString> lines;
    std::vector<bool> emphasised;
};

QString text(const char* key) {
    return workerBundle().getString(key);
}
QString testingPort(const QString& port) {
    return workerBundle().format("testing.port.0", {port});
}
QString confidence(int score) {
    return text("confidence") + " " + QString::number(score);
}

// A simulated device with fixed input lines, or a loop-back plug.
struct Device {
    const char* name;
    bool dsr = false;
    bool cts = false;
    bool loopback = false;
};

class AutoPortDetection : public serialtest::SerialFixture {
protected:
    void SetUp() override { SerialFixture::SetUp(); }

    static void create(const Device& d) {
        serdrv_sim_create(d.name);
        serdrv_sim_set_line(d.name, SERDRV_SIM_DSR, d.dsr);
        serdrv_sim_set_line(d.name, SERDRV_SIM_CTS, d.cts);
        serdrv_sim_set_loopback(d.name, d.loopback);
    }

    bool pumpUntilDone(const AutoPortWorker& worker) {
        QElapsedTimer t;
        t.start();
        while (!worker.isDone() && t.elapsed() < 20000)
            QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
        return worker.isDone();
    }

    void run(const QStringList& ports) {
        AutoPortWorker worker(&view, ports);
        worker.execute();
        ASSERT_TRUE(pumpUntilDone(worker));
        EXPECT_EQ(worker.outcome(), AutoPortWorker::Outcome::Finished);
    }

    RecordingView view;
};

} // namespace

TEST_F(AutoPortDetection, scoresEachPortFromItsModemLinesAndPicksTheBest) {
    const Device devices[] = {
        {"QUIET"},                    // 0: nothing answers
        {"LOOP", false, false, true}, // 2: DSR follows DTR, CTS follows RTS
        {"HIGH", true, true},         // 3: both lines high throughout
        {"COM3", true, true},         // 1 on COM3
        {"DSRONLY", true, false},     // 1: DSR high, CTS never
        {"CTSONLY", false, true},     // 1: CTS high with DSR low
        {"LATER", true, true},        // 3 again: the earlier port keeps the lead
    };
    QStringList ports;
    for (const Device& d : devices) {
        create(d);
        ports << d.name;
    }
    run(ports);

    std::vector<QString> expected{text("auto.port.detection.started")};
    const int scores[] = {0, 2, 3, 1, 1, 1, 3};
    for (std::size_t i = 0; i < std::size(devices); ++i) {
        expected.push_back(testingPort(devices[i].name));
        expected.push_back(confidence(scores[i]));
    }
    expected.push_back(text("best.port") + " HIGH");
    EXPECT_EQ(view.lines, expected);
    EXPECT_TRUE(view.emphasised.back());
    EXPECT_EQ(view.selected, std::vector<QString>{"HIGH"});
    EXPECT_EQ(view.events, std::vector<QString>{"button:Close"});
    for (const Device& d : devices) {
        EXPECT_EQ(serdrv_sim_is_open(d.name), 0) << d.name << " left open";
        EXPECT_EQ(serdrv_sim_get_line(d.name, SERDRV_SIM_DTR), 0) << d.name;
        EXPECT_EQ(serdrv_sim_get_line(d.name, SERDRV_SIM_RTS), 0) << d.name;
    }
}

TEST_F(AutoPortDetection, loopBackPlugAloneIsFoundWithScoreTwo) {
    create({"PLUG", false, false, true});
    run({"PLUG"});
    ASSERT_GE(view.lines.size(), 2u);
    EXPECT_EQ(view.lines[view.lines.size() - 2], confidence(2));
    EXPECT_EQ(view.selected, std::vector<QString>{"PLUG"});
}

TEST_F(AutoPortDetection, equalScoresKeepTheFirstPort) {
    create({"FIRST", false, false, true});
    create({"SECOND", false, false, true});
    run({"FIRST", "SECOND"});
    EXPECT_EQ(view.selected, std::vector<QString>{"FIRST"});
    EXPECT_EQ(view.lines.back(), text("best.port") + " FIRST");
}

TEST_F(AutoPortDetection, portThatCannotBeOpenedIsReportedAndSkipped) {
    create({"BUSY", true, true});
    create({"FREE", false, false, true});
    serdrv_sim_fail_next_opens("BUSY", 1002, 1);
    run({"BUSY", "NOSUCHSIM", "FREE"});
    const std::vector<QString> expected{
        text("auto.port.detection.started"),
        testingPort("BUSY"),
        "BUSY: SerOpenPort failed: Port is in use",
        testingPort("NOSUCHSIM"),
        "NOSUCHSIM: SerOpenPort failed: 2: No such device",
        testingPort("FREE"),
        confidence(2),
        text("best.port") + " FREE",
    };
    EXPECT_EQ(view.lines, expected);
    EXPECT_EQ(view.selected, std::vector<QString>{"FREE"});
}

TEST_F(AutoPortDetection, aSystemConsoleIsReportedAndNeverOpened) {
    // A pseudo-terminal plays the console, named so in a sysfs tree of the test's own; a watch
    // on it sees every open.
    int master = -1, slave = -1;
    char name[256] = {};
    ASSERT_EQ(openpty(&master, &slave, name, nullptr, nullptr), 0);
    ::close(slave);
    QTemporaryDir sysfs;
    ASSERT_TRUE(QDir().mkpath(sysfs.filePath("class/tty/console")));
    std::ofstream(sysfs.filePath("class/tty/console/active").toStdString())
        << "tty0 " << (name + 5) << "\n";
    qputenv("SERDRV_SYSFS_ROOT", sysfs.path().toUtf8());
    const int watch = inotify_init1(IN_NONBLOCK | IN_CLOEXEC);
    ASSERT_GE(watch, 0);
    ASSERT_GE(inotify_add_watch(watch, name, IN_OPEN), 0);
    auto opened = [watch] {
        char events[4096];
        return ::read(watch, events, sizeof events) > 0;
    };
    create({"FREE", false, false, true});
    const QString console = QString::fromLatin1(name);
    run({console, "FREE"});
    const std::vector<QString> expected{
        text("auto.port.detection.started"),
        testingPort(console),
        console + ": SerOpenPort failed: " + console + " is the system console",
        testingPort("FREE"),
        confidence(2),
        text("best.port") + " FREE",
    };
    EXPECT_EQ(view.lines, expected);
    EXPECT_FALSE(opened());

    qunsetenv("SERDRV_SYSFS_ROOT"); // no longer the console: the same port is tested
    run({console});
    EXPECT_TRUE(opened());
    ::close(watch);
    ::close(master);
}

TEST_F(AutoPortDetection, noPortsOrNoReactionMeansNothingDetected) {
    for (const QStringList& ports : {QStringList{}, QStringList{"QUIET"}}) {
        view = {};
        create({"QUIET"});
        run(ports);
        EXPECT_EQ(view.lines.back(), text("could.not.auto.detect.port"));
        EXPECT_TRUE(view.emphasised.back());
        EXPECT_TRUE(view.selected.empty());
        EXPECT_EQ(view.events, std::vector<QString>{"button:Close"});
    }
}

TEST_F(AutoPortDetection, testedPortsJoinThePortListOnceIgnoringCase) {
    create({"ADDED1"});
    run({"ADDED1", "added1", "UNLISTED9"});
    // With a configured list the port list is the names gathered so far plus the configured
    // ones, not the driver's discovery.
    props::set("SERIAL_PORT_LIST", "OTHER1");
    const auto names = rs232::SerialPortLocal::getPortList();
    props::remove("SERIAL_PORT_LIST");
    auto count = [&](const std::string& n) { return std::count(names.begin(), names.end(), n); };
    EXPECT_EQ(count("ADDED1"), 1);
    EXPECT_EQ(count("added1"), 0);
    EXPECT_EQ(count("UNLISTED9"), 1);
}

TEST_F(AutoPortDetection, cancellingStopsAtOnceAndTheCompletionClosesThePort) {
    const char* names[] = {"C1", "C2", "C3", "C4"};
    for (const char* n : names)
        create({n, false, false, true});
    AutoPortWorker worker(&view, {"C1", "C2", "C3", "C4"});
    worker.execute();
    // Wait until the first port is open and under test, then cancel in the middle of it.
    QElapsedTimer t;
    t.start();
    while (serdrv_sim_is_open("C1") != 1 && t.elapsed() < 5000)
        QCoreApplication::processEvents(QEventLoop::AllEvents, 1);
    ASSERT_EQ(serdrv_sim_is_open("C1"), 1);
    EXPECT_TRUE(worker.cancel(true));
    ASSERT_TRUE(worker.waitForFinished(std::chrono::seconds(2)));
    ASSERT_TRUE(pumpUntilDone(worker));
    EXPECT_EQ(worker.outcome(), AutoPortWorker::Outcome::Cancelled);
    EXPECT_EQ(view.lines.back(), text("stopped"));
    EXPECT_TRUE(view.selected.empty());
    for (const QString& line : view.lines)
        EXPECT_NE(line, testingPort("C2")) << "a port was tested after cancellation";
    for (const char* n : names)
        EXPECT_EQ(serdrv_sim_is_open(n), 0) << n;
}

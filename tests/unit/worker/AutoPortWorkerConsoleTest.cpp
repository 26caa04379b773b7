// Automatic port detection never opens the system console (Linux: the console named by sysfs).

#include "AutoPortWorkerTestSupport.h"

#include <QDir>
#include <QTemporaryDir>

#include <fstream>
#include <pty.h>
#include <sys/inotify.h>
#include <unistd.h>

using namespace autoport_test;

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

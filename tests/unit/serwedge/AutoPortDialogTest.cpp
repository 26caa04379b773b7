// The detection dialog over simulated devices, on the offscreen platform.

#include "../rs232/SerialTestSupport.h"

#include "serwedge/AutoPortDialog.h"
#include "serwedge/util/TallyraBundle.h"
#include "worker/WorkerBundle.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QPushButton>
#include <QTextBlock>
#include <QTextEdit>

using serwedge::AutoPortDialog;
using serwedge::tallyraBundle;
using serwedge::worker::workerBundle;

namespace {

class AutoPortDialogTest : public serialtest::SerialFixture {
protected:
    void SetUp() override { SerialFixture::SetUp(); }

    static void loopback(const char* name) {
        serdrv_sim_create(name);
        serdrv_sim_set_loopback(name, 1);
    }

    static bool pumpUntil(const std::function<bool()>& condition, int boundMs = 10000) {
        QElapsedTimer t;
        t.start();
        while (!condition() && t.elapsed() < boundMs)
            QApplication::processEvents(QEventLoop::AllEvents, 5);
        return condition();
    }

    static bool lastLineIsBold(const AutoPortDialog& dialog) {
        const QTextEdit* area = dialog.findChild<QTextEdit*>();
        const QTextBlock last = area->document()->lastBlock();
        return last.begin().fragment().charFormat().fontWeight() == QFont::Bold;
    }

    std::vector<QString> selections;
    AutoPortDialog::PortSelector selector() {
        return [this](const QString& text) { selections.push_back(text); };
    }
};

} // namespace

TEST_F(AutoPortDialogTest, foundPortBecomesTheSelectionWithItsFriendlyText) {
    loopback("SIMPORT7");
    // The main window lists the ports (with their driver records) before it offers detection.
    rs232::SerialPortLocal::getPortList();
    AutoPortDialog dialog(nullptr, {"SIMPORT7"}, selector());
    dialog.show();
    EXPECT_EQ(dialog.windowTitle(), "Auto-detect port");
    EXPECT_EQ(dialog.button()->text(), "OK");
    ASSERT_TRUE(pumpUntil([&] { return dialog.button()->text() == "Close"; }));
    EXPECT_EQ(selections, std::vector<QString>{"SIMPORT7: Simulated serial port - Tallyra"});
    const QStringList lines = dialog.messages().split('\n');
    ASSERT_EQ(lines.size(), 4);
    EXPECT_EQ(lines[0], workerBundle().getString("auto.port.detection.started"));
    EXPECT_EQ(lines[3], workerBundle().getString("best.port") + " SIMPORT7");
    EXPECT_TRUE(lastLineIsBold(dialog));

    // The search has ended: the button closes the dialog.
    dialog.button()->click();
    EXPECT_FALSE(dialog.isVisible());
}

TEST_F(AutoPortDialogTest, portWithoutDriverRecordIsSelectedByItsPlainName) {
    EXPECT_EQ(AutoPortDialog::friendlyPortText("NORECORD1"), "NORECORD1");
}

TEST_F(AutoPortDialogTest, nothingDetectedLeavesTheSelectionAlone) {
    AutoPortDialog dialog(nullptr, {}, selector());
    ASSERT_TRUE(pumpUntil([&] { return dialog.button()->text() == "Close"; }));
    EXPECT_TRUE(selections.empty());
    EXPECT_TRUE(dialog.messages().endsWith(workerBundle().getString("could.not.auto.detect.port")));
    EXPECT_TRUE(lastLineIsBold(dialog));
}

TEST_F(AutoPortDialogTest, buttonDuringTheSearchCancelsItThenCloses) {
    for (const char* n : {"D1", "D2", "D3"})
        loopback(n);
    AutoPortDialog dialog(nullptr, {"D1", "D2", "D3"}, selector());
    dialog.show();
    ASSERT_TRUE(pumpUntil([] { return serdrv_sim_is_open("D1") == 1; }));
    dialog.button()->click();
    EXPECT_EQ(dialog.button()->text(), "Close");
    EXPECT_TRUE(dialog.isVisible());
    ASSERT_TRUE(pumpUntil(
        [&] { return dialog.messages().endsWith("\n" + workerBundle().getString("stopped")); }));
    EXPECT_FALSE(dialog.messages().contains("D2"));
    EXPECT_TRUE(selections.empty());
    EXPECT_EQ(serdrv_sim_is_open("D1"), 0);
    dialog.button()->click();
    EXPECT_FALSE(dialog.isVisible());
}

TEST_F(AutoPortDialogTest, closingTheWindowDuringTheSearchCancelsIt) {
    loopback("W1");
    AutoPortDialog dialog(nullptr, {"W1"}, selector());
    dialog.show();
    ASSERT_TRUE(pumpUntil([] { return serdrv_sim_is_open("W1") == 1; }));
    dialog.close();
    EXPECT_TRUE(dialog.isVisible());
    EXPECT_EQ(dialog.button()->text(), "Close");
    ASSERT_TRUE(
        pumpUntil([&] { return dialog.messages().endsWith(workerBundle().getString("stopped")); }));
    dialog.close();
    EXPECT_FALSE(dialog.isVisible());
}

TEST_F(AutoPortDialogTest, germanTextsComeFromTheCatalogue) {
    serwedge::Catalogue::setLanguage("de");
    AutoPortDialog dialog(nullptr, {}, selector());
    EXPECT_EQ(dialog.windowTitle(), tallyraBundle().getString("AutoPortDialog.this.title"));
    EXPECT_NE(dialog.windowTitle(), "Auto-detect port");
    ASSERT_TRUE(pumpUntil([&] {
        return dialog.searchEnded() && !dialog.messages().isEmpty() &&
               dialog.button()->text() != "OK";
    }));
    EXPECT_EQ(dialog.button()->text(), "Schließen");
    serwedge::Catalogue::setLanguage("en");
}

TEST_F(AutoPortDialogTest, destroyingTheDialogDuringTheSearchClosesThePort) {
    loopback("GONE1");
    {
        AutoPortDialog dialog(nullptr, {"GONE1"}, selector());
        ASSERT_TRUE(pumpUntil([] { return serdrv_sim_is_open("GONE1") == 1; }));
    }
    EXPECT_EQ(serdrv_sim_is_open("GONE1"), 0);
    EXPECT_TRUE(selections.empty());
}

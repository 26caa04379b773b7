// The settings dialogs, the decimal-separator choice, field verification on focus loss and the
// settings transfer, on the offscreen platform. Every prompt is answered by a recording fake.

#include "serwedge/CustomRegExDialog.h"
#include "serwedge/DecimalSeparatorBox.h"
#include "serwedge/FieldVerifierHook.h"
#include "serwedge/IgnoreDialog.h"
#include "serwedge/SettingsTransfer.h"
#include "serwedge/UiPrompts.h"
#include "serwedge/prefs/MemoryPreferences.h"
#include "serwedge/prefs/PreferencesXml.h"
#include "serwedge/prefs/SettingsStore.h"
#include "serwedge/util/TallyraBundle.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFocusEvent>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTabWidget>
#include <QTemporaryDir>
#include <QTest>
#include <QVBoxLayout>

#include <deque>
#include <stdexcept>

using namespace serwedge;
using config::Config;
namespace CH = config::ConfigHelper;

namespace {

QString text(const char* key) {
    return tallyraBundle().getString(key);
}

// Answers every prompt from queued answers and records what was shown.
class FakePrompts : public UiPrompts {
public:
    struct Shown {
        QString kind, message, title;
    };
    std::vector<Shown> shown;
    QString proposedName;
    QString saveAnswer, openAnswer;
    std::deque<bool> yesNoAnswers;

    QString saveFileName(QWidget*, const QString&, const QString& proposed,
                         const QString&) override {
        proposedName = proposed;
        shown.push_back({"save", proposed, {}});
        return saveAnswer;
    }
    QString openFileName(QWidget*, const QString&, const QString&) override {
        shown.push_back({"open", {}, {}});
        return openAnswer;
    }
    void showError(QWidget*, const QString& m, const QString& t) override {
        shown.push_back({"error", m, t});
    }
    void showWarning(QWidget*, const QString& m, const QString& t) override {
        shown.push_back({"warning", m, t});
    }
    void showInformation(QWidget*, const QString& m, const QString& t) override {
        shown.push_back({"info", m, t});
    }
    bool askYesNo(QWidget*, const QString& m, const QString& t) override {
        shown.push_back({"question", m, t});
        if (yesNoAnswers.empty())
            throw std::logic_error("unexpected question");
        const bool answer = yesNoAnswers.front();
        yesNoAnswers.pop_front();
        return answer;
    }

    int count(const QString& kind) const {
        return static_cast<int>(std::count_if(shown.begin(), shown.end(),
                                              [&](const Shown& s) { return s.kind == kind; }));
    }
    const Shown* last(const QString& kind) const {
        for (auto it = shown.rbegin(); it != shown.rend(); ++it)
            if (it->kind == kind)
                return &*it;
        return nullptr;
    }
};

class GuiTest : public ::testing::Test {
protected:
    static void pump() {
        for (int i = 0; i < 5; ++i)
            QApplication::processEvents();
    }
    FakePrompts prompts;
};

// ---------------------------------------------------------------- IgnoreDialog

class IgnoreDialogTest : public GuiTest {
protected:
    // Enters the texts and presses OK on a shown dialog; answers whether it closed accepted.
    bool submit(IgnoreDialog& d, const QString& timeLimit, const QString& difference) {
        d.ignoreTimeLimitTextField()->setText(timeLimit);
        d.ignoreDifferenceTextField()->setText(difference);
        d.okButton()->click();
        return !d.isVisible() && d.result() == QDialog::Accepted;
    }
};

TEST_F(IgnoreDialogTest, startsWithTheConfiguredTexts) {
    IgnoreDialog d(nullptr, "500", "0.2", prompts);
    EXPECT_EQ(d.ignoreTimeLimitTextField()->text(), "500");
    EXPECT_EQ(d.ignoreDifferenceTextField()->text(), "0.2");
    EXPECT_EQ(d.windowTitle(), text("IgnoreDialog.this.title"));
}

TEST_F(IgnoreDialogTest, refusedValuesKeepTheDialogOpenWithTheEnteredTexts) {
    const std::vector<std::pair<QString, QString>> refused{
        {"0", ""}, {"-5", ""}, {"1.5", ""}, {"abc", ""},   {"", "0,0"},
        {"", "0"}, {"", "-1"}, {"", "x"},   {"100", "0,0"}};
    for (const auto& [time, diff] : refused) {
        IgnoreDialog d(nullptr, "", "", prompts);
        d.show();
        const auto errors = prompts.count("error");
        EXPECT_FALSE(submit(d, time, diff)) << time.toStdString() << " / " << diff.toStdString();
        EXPECT_TRUE(d.isVisible());
        EXPECT_EQ(prompts.count("error"), errors + 1);
        EXPECT_EQ(prompts.last("error")->message, text("ignore.error"));
        EXPECT_EQ(prompts.last("error")->title, text("error"));
        EXPECT_EQ(d.ignoreTimeLimitTextField()->text(), time);
        EXPECT_EQ(d.ignoreDifferenceTextField()->text(), diff);
    }
}

TEST_F(IgnoreDialogTest, acceptedValuesBecomeTheResultWithADecimalPoint) {
    IgnoreDialog d(nullptr, "9", "9", prompts);
    d.show();
    ASSERT_TRUE(submit(d, "250", "0,5"));
    EXPECT_EQ(d.getIgnoreTimeLimit(), "250");
    EXPECT_EQ(d.getIgnoreDifference(), "0.5");

    IgnoreDialog empty(nullptr, "9", "9", prompts);
    empty.show();
    ASSERT_TRUE(submit(empty, "", ""));
    EXPECT_EQ(empty.getIgnoreTimeLimit(), "");
    EXPECT_EQ(empty.getIgnoreDifference(), "");
    EXPECT_EQ(prompts.count("error"), 0);
}

TEST_F(IgnoreDialogTest, cancelDiscardsTheEdits) {
    IgnoreDialog d(nullptr, "100", "1", prompts);
    d.show();
    d.ignoreTimeLimitTextField()->setText("200");
    d.cancelButton()->click();
    EXPECT_EQ(d.result(), QDialog::Rejected);
    EXPECT_FALSE(d.isVisible());
    EXPECT_EQ(d.getIgnoreTimeLimit(), "100");
}

// ---------------------------------------------------------------- CustomRegExDialog

class CustomRegExDialogTest : public GuiTest {
protected:
    Config config = [] {
        Config c;
        c.setInstrument(CH::Instrument(CH::Instrument::GENERIC));
        c.setInputTerminator(13);
        return c;
    }();

    void setPattern(CustomRegExDialog& d, const QString& pattern) {
        d.regExTextArea()->setPlainText(pattern);
    }
    void tryLine(CustomRegExDialog& d, const QString& pattern, const QString& sample) {
        setPattern(d, pattern);
        d.sampleTextField()->setText(sample);
        d.updatePreview();
    }
};

TEST_F(CustomRegExDialogTest, acceptsOnlyEmptyOrCompilingExpressionsWithAGroup) {
    for (const QString& refused :
         {QString("\\d+"), QString("(\\d+"), QString("\\(x\\)"), QString("[")}) {
        config.setCustomRegEx("(old)");
        CustomRegExDialog d(nullptr, config, prompts);
        d.show();
        setPattern(d, refused);
        d.okButton()->click();
        EXPECT_TRUE(d.isVisible()) << refused.toStdString();
        ASSERT_NE(prompts.last("error"), nullptr);
        EXPECT_EQ(prompts.last("error")->message, text("invalid.expression"));
        EXPECT_EQ(prompts.last("error")->title, text("error"));
        EXPECT_EQ(d.getCustomRegEx(), "(old)");
        prompts.shown.clear();
    }
    for (const QString& accepted : {QString("W:\\s*(\\d+)"), QString("")}) {
        CustomRegExDialog d(nullptr, config, prompts);
        d.show();
        setPattern(d, accepted);
        d.okButton()->click();
        EXPECT_FALSE(d.isVisible());
        EXPECT_EQ(d.result(), QDialog::Accepted);
        EXPECT_EQ(d.getCustomRegEx(), accepted);
    }
    EXPECT_EQ(prompts.count("error"), 0);
}

TEST_F(CustomRegExDialogTest, startsWithTheConfiguredExpressionAndCancelKeepsIt) {
    config.setCustomRegEx("N(\\d+)");
    CustomRegExDialog d(nullptr, config, prompts);
    d.show();
    EXPECT_EQ(d.regExTextArea()->toPlainText(), "N(\\d+)");
    setPattern(d, "(changed)");
    d.cancelButton()->click();
    EXPECT_EQ(d.result(), QDialog::Rejected);
    EXPECT_EQ(d.getCustomRegEx(), "N(\\d+)");
}

TEST_F(CustomRegExDialogTest, previewShowsWhatTheGroupCapturesWhileTyping) {
    CustomRegExDialog d(nullptr, config, prompts);
    d.show();
    setPattern(d, "W:\\s*(\\d+)");
    QTest::keyClicks(d.sampleTextField(), "W:  42 kg");
    QElapsedTimer t;
    t.start();
    while (d.preview().outcome != PatternPreview::Outcome::Captured && t.elapsed() < 5000)
        QTest::qWait(20);
    EXPECT_EQ(d.preview().outcome, PatternPreview::Outcome::Captured);
    EXPECT_EQ(d.preview().text, "42");
    EXPECT_EQ(d.previewText(),
              tallyraBundle().format("CustomRegExDialog.preview.captured", {"1", "42"}));
}

TEST_F(CustomRegExDialogTest, previewExplainsWhyNothingWouldBeTyped) {
    CustomRegExDialog d(nullptr, config, prompts);
    using O = PatternPreview::Outcome;

    tryLine(d, "W:(\\d+)", "");
    EXPECT_EQ(d.previewText(), text("CustomRegExDialog.preview.noSample"));

    tryLine(d, "W:(\\d+)", "T:12");
    EXPECT_EQ(d.preview().outcome, O::NoMatch);
    EXPECT_EQ(d.previewText(), text("CustomRegExDialog.preview.noMatch"));

    tryLine(d, "W:(\\d+", "W:12");
    EXPECT_EQ(d.preview().outcome, O::DoesNotCompile);
    EXPECT_EQ(d.previewText(),
              tallyraBundle().format("CustomRegExDialog.preview.doesNotCompile",
                                     {d.preview().text, QString::number(d.preview().offset + 1)}));

    tryLine(d, "(W):(\\d+)|(T)", "T:5");
    EXPECT_EQ(d.preview().outcome, O::GroupNotTaken);
    EXPECT_EQ(d.previewText(),
              tallyraBundle().format("CustomRegExDialog.preview.groupNotTaken", {"1"}));
}

TEST_F(CustomRegExDialogTest, catastrophicPatternOnTheSampleIsCutOffAndReported) {
    CustomRegExDialog d(nullptr, config, prompts);
    tryLine(d, "^(a+)+$", QString(40, QLatin1Char('a')) + "!");
    EXPECT_EQ(d.preview().outcome, PatternPreview::Outcome::MatchAborted);
    EXPECT_EQ(d.previewText(), text("CustomRegExDialog.preview.matchAborted"));
}

TEST_F(CustomRegExDialogTest, sampleIsTriedAsReceivedWithTheInputTerminator) {
    config.setInputTerminator(13);
    CustomRegExDialog cr(nullptr, config, prompts);
    tryLine(cr, "(\\d+)\\r", "12");
    EXPECT_EQ(cr.preview().outcome, PatternPreview::Outcome::Captured);
    EXPECT_EQ(cr.preview().text, "12");

    config.setInputTerminator(10);
    CustomRegExDialog lf(nullptr, config, prompts);
    tryLine(lf, "(\\d+)\\r", "12");
    EXPECT_EQ(lf.preview().outcome, PatternPreview::Outcome::NoMatch);
}

TEST_F(CustomRegExDialogTest, emptyExpressionPreviewsTheInstrumentsOwnWithItsGroup) {
    const CH::Instrument preset(CH::Instrument::KERN_RPB);
    config.setInstrument(preset);
    CustomRegExDialog d(nullptr, config, prompts);
    EXPECT_EQ(d.captureGroup(), preset.getCaptureGroup());
    int captured = 0;
    for (const auto& [line, expected] : preset.getTestStrings()) {
        QString sample = line;
        if (sample.endsWith(QLatin1Char('\r')))
            sample.chop(1); // the dialog puts the terminator back
        if (sample.isEmpty())
            continue;
        tryLine(d, "", sample);
        EXPECT_TRUE(
            d.previewText().startsWith(text("CustomRegExDialog.preview.instrumentPattern")));
        const auto direct =
            PatternPreview::run(preset.getPattern(), preset.getCaptureGroup(), sample + "\r");
        EXPECT_EQ(d.preview().outcome, direct.outcome) << line.toStdString();
        EXPECT_EQ(d.preview().text, direct.text);
        captured += d.preview().outcome == PatternPreview::Outcome::Captured;
    }
    EXPECT_GT(captured, 0);

    config.setInstrument(CH::Instrument(CH::Instrument::BARCODE));
    EXPECT_EQ(CustomRegExDialog(nullptr, config, prompts).captureGroup(), 1);
}

// ---------------------------------------------------------------- DecimalSeparatorBox

TEST_F(GuiTest, separatorBoxStartsWithTheConfiguredSeparator) {
    Config config;
    config.setDecimalSeparator(CH::DecimalSeparator::COMMA);
    DecimalSeparatorBox box(config);
    EXPECT_EQ(box.count(), CH::DecimalSeparator::count());
    EXPECT_EQ(box.selectedSeparator(), CH::DecimalSeparator::COMMA);
    EXPECT_EQ(box.currentText(), CH::DecimalSeparator(CH::DecimalSeparator::COMMA).toString());
    box.setSelectedSeparator(CH::DecimalSeparator::DOT);
    EXPECT_EQ(box.selectedSeparator(), CH::DecimalSeparator::DOT);
}

TEST_F(GuiTest, separatorBoxFollowsTheInstrumentType) {
    Config config;
    config.setInstrument(CH::Instrument(CH::Instrument::GENERIC));
    DecimalSeparatorBox box(config);
    EXPECT_TRUE(box.isEnabled());
    config.setInstrument(CH::Instrument(CH::Instrument::BARCODE));
    EXPECT_FALSE(box.isEnabled());
    config.setInstrument(CH::Instrument(CH::Instrument::SARTORIUS));
    EXPECT_TRUE(box.isEnabled());
    // Other property names change nothing.
    config.setInstrument(CH::Instrument(CH::Instrument::BARCODE_ALPHA));
    box.propertyChange({&config, "ignoreDuplicates", std::nullopt, std::nullopt});
    EXPECT_FALSE(box.isEnabled());
    box.propertyChange({&config, "NUMBER", std::nullopt, std::nullopt});
    EXPECT_TRUE(box.isEnabled());
}

TEST_F(GuiTest, separatorBoxStartsDisabledForATextInstrumentAndDetaches) {
    Config config;
    config.setInstrument(CH::Instrument(CH::Instrument::BARCODE));
    {
        DecimalSeparatorBox box(config);
        EXPECT_FALSE(box.isEnabled());
        Config other;
        box.setConfig(&other);
        config.setInstrument(CH::Instrument(CH::Instrument::GENERIC));
        EXPECT_FALSE(box.isEnabled()); // no longer listening to the first record
        other.setInstrument(CH::Instrument(CH::Instrument::GENERIC));
        EXPECT_TRUE(box.isEnabled());
        box.setConfig(&config);
    }
    // The box is gone and unregistered: notifying must not reach it.
    config.setInstrument(CH::Instrument(CH::Instrument::BARCODE));
}

// ---------------------------------------------------------------- field verification on focus loss

class FocusTest : public GuiTest {
protected:
    void SetUp() override {
        GuiTest::SetUp();
        auto* layout = new QVBoxLayout(&window);
        layout->addWidget(tabs);
        auto* page0 = new QWidget;
        auto* l0 = new QVBoxLayout(page0);
        l0->addWidget(field);
        l0->addWidget(other);
        tabs->addTab(page0, "processing");
        auto* page1 = new QWidget;
        auto* l1 = new QVBoxLayout(page1);
        l1->addWidget(elsewhere);
        tabs->addTab(page1, "output");
        window.show();
        window.activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(&window));
    }

    FieldVerifierHook* install(VerifiedField which) {
        return FieldVerifierHook::install(field, which, prompts,
                                          {[this](const QString& t) { stored.push_back(t); },
                                           [this] { return closing; },
                                           [this] {
                                               ++tabSelections;
                                               tabs->setCurrentIndex(0);
                                           }});
    }

    void focusField() {
        field->setFocus(Qt::OtherFocusReason);
        pump();
        ASSERT_EQ(QApplication::focusWidget(), field);
    }
    void tabAway() {
        other->setFocus(Qt::TabFocusReason);
        pump();
    }

    QWidget window;
    QTabWidget* tabs = new QTabWidget;
    QLineEdit* field = new QLineEdit;
    QLineEdit* other = new QLineEdit;
    QLineEdit* elsewhere = new QLineEdit;
    std::vector<QString> stored;
    bool closing = false;
    int tabSelections = 0;
};

TEST_F(FocusTest, validTextIsStoredNormalisedAndTheFocusMoves) {
    install(VerifiedField::MathOperand);
    focusField();
    field->setText("1,5");
    tabAway();
    EXPECT_EQ(stored, std::vector<QString>{"1.5"});
    EXPECT_EQ(field->text(), "1.5");
    EXPECT_EQ(QApplication::focusWidget(), other);
    EXPECT_TRUE(prompts.shown.empty());
    EXPECT_EQ(tabSelections, 0);
}

TEST_F(FocusTest, refusedTextIsReportedAndTheFocusReturnsToTheField) {
    install(VerifiedField::Delay);
    focusField();
    field->setText("5000");
    tabAway();
    EXPECT_TRUE(stored.empty());
    ASSERT_EQ(prompts.count("error"), 1);
    EXPECT_EQ(prompts.last("error")->message, text("error.intercharacter.delay"));
    EXPECT_EQ(prompts.last("error")->title, text("error"));
    EXPECT_EQ(tabSelections, 1);
    EXPECT_EQ(QApplication::focusWidget(), field);
    EXPECT_EQ(field->text(), "5000");

    // Corrected in place, it goes through.
    field->setText("15");
    tabAway();
    EXPECT_EQ(stored, std::vector<QString>{"15"});
    EXPECT_EQ(prompts.count("error"), 1);
}

TEST_F(FocusTest, leavingTheTabWithARefusedTextSelectsItAgain) {
    install(VerifiedField::EveryXValues);
    focusField();
    field->setText("1");
    tabs->setCurrentIndex(1);
    elsewhere->setFocus(Qt::MouseFocusReason);
    pump();
    EXPECT_EQ(prompts.count("error"), 1);
    EXPECT_EQ(prompts.last("error")->message, text("error.edit.everyXValues"));
    EXPECT_EQ(tabs->currentIndex(), 0);
    EXPECT_EQ(QApplication::focusWidget(), field);
}

TEST_F(FocusTest, nothingIsShownWhileTheWindowCloses) {
    install(VerifiedField::DecimalPlaces);
    focusField();
    field->setText("8");
    closing = true;
    tabAway();
    EXPECT_TRUE(prompts.shown.empty());
    EXPECT_TRUE(stored.empty());
    EXPECT_EQ(tabSelections, 0);
    EXPECT_EQ(QApplication::focusWidget(), other);
}

TEST_F(FocusTest, focusLeavingWithTheWindowIsNoLoss) {
    install(VerifiedField::EditNumCharacters);
    focusField();
    field->setText("0");
    QFocusEvent deactivated(QEvent::FocusOut, Qt::ActiveWindowFocusReason);
    QApplication::sendEvent(field, &deactivated);
    QFocusEvent popup(QEvent::FocusOut, Qt::PopupFocusReason);
    QApplication::sendEvent(field, &popup);
    pump();
    EXPECT_TRUE(prompts.shown.empty());
    EXPECT_TRUE(stored.empty());
}

TEST_F(FocusTest, verifyNowStoresOrReportsWithoutMovingTheFocus) {
    auto* hook = install(VerifiedField::RemoveCharacters);
    EXPECT_EQ(FieldVerifierHook::of(field), hook);
    field->setText(QString::fromUtf8("g\xe2\x82\xac"));
    EXPECT_FALSE(hook->verify());
    EXPECT_EQ(prompts.last("error")->message, text("error.edit.removeCharacters"));
    EXPECT_EQ(tabSelections, 1);
    field->setText("g ");
    EXPECT_TRUE(hook->verify());
    EXPECT_EQ(stored, std::vector<QString>{"g "});
}

// Pasting any text into a verified field and leaving it: stored or refused, never a crash.
TEST_F(FocusTest, anyPastedTextIsStoredOrRefused) {
    install(VerifiedField::MathOperand);
    const QString texts[] = {QString(100000, QLatin1Char('9')),
                             QString(5000, QChar(0xD800)),
                             QStringLiteral("1\n2"),
                             QString(QChar(0)),
                             QStringLiteral("<b>1</b>"),
                             QStringLiteral("1e5"),
                             QStringLiteral("NaN")};
    for (const QString& t : texts) {
        focusField();
        field->setText(t);
        const auto before = stored.size() + prompts.shown.size();
        tabAway();
        EXPECT_EQ(stored.size() + prompts.shown.size(), before + 1);
    }
}

// ---------------------------------------------------------------- settings transfer

class TransferTest : public GuiTest {
protected:
    void SetUp() override {
        GuiTest::SetUp();
        ASSERT_TRUE(dir.isValid());
        Config c;
        c.setDelay("7");
        c.setCustomRegEx("Wt\\s?(\\d+)");
        store.saveConfig(c);
    }

    SettingsTransfer transfer(prefs::SettingsStore& s) {
        return SettingsTransfer(
            s, prompts, {[this] { ++saves; }, [this](int status) { exits.push_back(status); }});
    }
    QString path(const char* name) const { return dir.filePath(name); }
    static QByteArray read(const QString& p) {
        QFile f(p);
        return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
    }
    static void write(const QString& p, const QByteArray& bytes) {
        QFile f(p);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(bytes);
    }

    QTemporaryDir dir;
    prefs::MemoryPreferences root;
    prefs::SettingsStore store{root};
    int saves = 0;
    std::vector<int> exits;
};

TEST_F(TransferTest, exportSavesFirstWritesTheNodeAndNamesThePath) {
    prompts.saveAnswer = path("out.xml");
    EXPECT_EQ(transfer(store).exportSettings(), SettingsTransfer::Outcome::Exported);
    EXPECT_EQ(prompts.proposedName, "Tallyra.xml");
    EXPECT_EQ(saves, 1);
    ASSERT_NE(prompts.last("info"), nullptr);
    EXPECT_EQ(prompts.last("info")->message,
              text("configuration.exported.to.file.n") + QDir::toNativeSeparators(path("out.xml")));
    EXPECT_EQ(prompts.last("info")->title, text("export.successful"));

    QFile f(path("out.xml"));
    ASSERT_TRUE(f.open(QIODevice::ReadOnly));
    int ignored = 0;
    const auto entries = prefs::readPreferencesDocument(f, "/com/brindle/Tallyra", {}, &ignored);
    EXPECT_EQ(entries.value("delay"), "7");
    EXPECT_EQ(entries.value("customRegEx"), "Wt\\s?(\\d+)");
    EXPECT_EQ(entries.size(), root.node("/com/brindle/Tallyra").keys().size());
}

TEST_F(TransferTest, existingFileIsOverwrittenOnlyWhenConfirmed) {
    write(path("Tallyra.xml"), "keep me");
    prompts.saveAnswer = path("Tallyra.xml");
    prompts.yesNoAnswers = {false};
    EXPECT_EQ(transfer(store).exportSettings(), SettingsTransfer::Outcome::Cancelled);
    EXPECT_EQ(prompts.last("question")->message, text("file.already.exists.overwrite"));
    EXPECT_EQ(prompts.last("question")->title, text("overwrite"));
    EXPECT_EQ(read(path("Tallyra.xml")), "keep me");
    EXPECT_EQ(saves, 0);
    EXPECT_EQ(prompts.count("info") + prompts.count("error"), 0);

    prompts.yesNoAnswers = {true};
    EXPECT_EQ(transfer(store).exportSettings(), SettingsTransfer::Outcome::Exported);
    EXPECT_TRUE(read(path("Tallyra.xml")).contains("preferences"));
}

TEST_F(TransferTest, cancelledFileChoiceDoesNothing) {
    EXPECT_EQ(transfer(store).exportSettings(), SettingsTransfer::Outcome::Cancelled);
    EXPECT_EQ(transfer(store).importSettings(), SettingsTransfer::Outcome::Cancelled);
    EXPECT_EQ(saves, 0);
    EXPECT_TRUE(exits.empty());
    EXPECT_EQ(prompts.shown.size(), 2u); // the two file dialogs only
}

TEST_F(TransferTest, exportFailureIsReportedAndLeavesAnExistingFile) {
    prompts.saveAnswer = path("missing/dir/out.xml");
    EXPECT_EQ(transfer(store).exportSettings(), SettingsTransfer::Outcome::Failed);
    ASSERT_NE(prompts.last("error"), nullptr);
    EXPECT_TRUE(prompts.last("error")->message.startsWith(text("export.failed")));
    EXPECT_GT(prompts.last("error")->message.size(), text("export.failed").size());
    EXPECT_EQ(prompts.count("info"), 0);

    // A save that fails: the old file stays as it was.
    write(path("old.xml"), "old");
    prompts.saveAnswer = path("old.xml");
    prompts.yesNoAnswers = {true};
    SettingsTransfer failing(store, prompts,
                             {[] { throw std::runtime_error("disk full"); }, nullptr});
    EXPECT_EQ(failing.exportSettings(), SettingsTransfer::Outcome::Failed);
    EXPECT_EQ(prompts.last("error")->message, text("export.failed") + "disk full");
    EXPECT_EQ(read(path("old.xml")), "old");
}

TEST_F(TransferTest, confirmedImportAsksForExitWithStatusFour) {
    prompts.saveAnswer = path("a.xml");
    ASSERT_EQ(transfer(store).exportSettings(), SettingsTransfer::Outcome::Exported);

    prefs::MemoryPreferences otherRoot;
    prefs::SettingsStore other(otherRoot);
    other.saveConfig(Config());
    prompts.openAnswer = path("a.xml");
    prompts.yesNoAnswers = {true};
    EXPECT_EQ(transfer(other).importSettings(), SettingsTransfer::Outcome::ExitRequested);
    EXPECT_EQ(exits, std::vector<int>{4});
    EXPECT_EQ(prompts.last("question")->message, text("import.apply.and.exit"));
    EXPECT_EQ(prompts.last("question")->title, text("restart.required"));
    EXPECT_EQ(other.node().get("delay", "?"), "7");
    EXPECT_EQ(other.node().get("customRegEx", "?"), "Wt\\s?(\\d+)");
}

TEST_F(TransferTest, declinedImportContinuesWithTheStoreImported) {
    prompts.saveAnswer = path("a.xml");
    ASSERT_EQ(transfer(store).exportSettings(), SettingsTransfer::Outcome::Exported);
    prefs::MemoryPreferences otherRoot;
    prefs::SettingsStore other(otherRoot);
    prompts.openAnswer = path("a.xml");
    prompts.yesNoAnswers = {false};
    EXPECT_EQ(transfer(other).importSettings(), SettingsTransfer::Outcome::Continued);
    EXPECT_TRUE(exits.empty());
    EXPECT_EQ(other.node().get("delay", "?"), "7");
}

TEST_F(TransferTest, importFailureIsReportedAndChangesNothing) {
    const auto before = store.node().get("delay", "?");
    for (const QByteArray& bad :
         {QByteArray("not xml at all"),
          QByteArray("<?xml version=\"1.0\"?><!DOCTYPE preferences [<!ENTITY x \"y\">]>"
                     "<preferences/>"),
          QByteArray("<preferences EXTERNAL_XML_VERSION=\"1.0\"><root type=\"user\"><map>")}) {
        write(path("bad.xml"), bad);
        prompts.openAnswer = path("bad.xml");
        EXPECT_EQ(transfer(store).importSettings(), SettingsTransfer::Outcome::Failed);
        ASSERT_NE(prompts.last("error"), nullptr);
        EXPECT_TRUE(prompts.last("error")->message.startsWith(text("import.failed")));
        EXPECT_GT(prompts.last("error")->message.size(), text("import.failed").size());
        EXPECT_EQ(prompts.last("error")->title, text("error"));
    }
    prompts.openAnswer = path("no-such-file.xml");
    EXPECT_EQ(transfer(store).importSettings(), SettingsTransfer::Outcome::Failed);
    EXPECT_EQ(prompts.count("question"), 0);
    EXPECT_TRUE(exits.empty());
    EXPECT_EQ(store.node().get("delay", "?"), before);
}

} // namespace

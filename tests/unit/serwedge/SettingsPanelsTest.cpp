// The settings tabs of the main window: field checks on focus loss and their refocusing, copying
// the controls into the record with its consequences, the instrument's custom-pattern question,
// the defaults button, the input terminator, the settings dialogs opened from their buttons and
// the settings transfer. Every dialog is answered through the window's dialog seam.

#include "WindowTestSupport.h"

#include "serwedge/CustomRegExDialog.h"
#include "serwedge/DecimalSeparatorBox.h"
#include "serwedge/IgnoreDialog.h"
#include "serwedge/util/OpenHyperlinkInBrowser.h"

#include <gtest/gtest.h>

#include <QCheckBox>
#include <QComboBox>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTabBar>
#include <QTabWidget>
#include <QTemporaryDir>
#include <QTest>
#include <QTextBrowser>

#include <mutex>

using namespace windowtest;
using serwedge::Dialogs;
namespace H = serwedge::config::ConfigHelper;
using Kind = Dialogs::Kind;

namespace {

class SettingsPanelsTest : public WindowFixture {
protected:
    void SetUp() override {
        WindowFixture::SetUp();
        twoPorts();
    }
    void TearDown() override {
        Frame::setExitHandler({});
        WindowFixture::TearDown();
    }

    // The window on screen and active, so that the keyboard focus behaves as for a user.
    Frame& buildShown() {
        Frame& f = build();
        f.show();
        f.activateWindow();
        EXPECT_TRUE(QTest::qWaitForWindowActive(&f));
        dialogs.shown.clear();
        return f;
    }

    QWidget* page(const char* titleKey) const {
        for (int i = 0; i < frame->tabs()->count(); ++i)
            if (frame->tabs()->tabText(i) == t(titleKey))
                return frame->tabs()->widget(i);
        return nullptr;
    }

    void select(QComboBox* box, const QString& text) {
        const int i = box->findText(text);
        ASSERT_GE(i, 0) << text.toStdString();
        box->setCurrentIndex(i);
    }
    void selectInstrument(H::Instrument instrument) {
        frame->settingsTabs().instrumentBox->setCurrentIndex(instrument.ordinal());
    }

    // A click on the tab that holds the page, while message boxes run the event loop as modal
    // ones do.
    void clickTab(QWidget* target) {
        dialogs.onShown = [] { pump(30); };
        QTabBar* bar = frame->tabs()->tabBar();
        QTest::mouseClick(bar, Qt::LeftButton, {},
                          bar->tabRect(frame->tabs()->indexOf(target)).center());
        pump(100);
    }
    // The tab bar and the page shown agree on the tab.
    bool tabShown(QWidget* target) const {
        return frame->tabs()->currentIndex() == frame->tabs()->indexOf(target) &&
               frame->tabs()->currentWidget() == target;
    }

    std::size_t count(const char* key) const {
        std::size_t n = 0;
        for (const Shown& s : dialogs.shown)
            n += s.text == t(key);
        return n;
    }
};

// ---- field checks ----

struct FieldCase {
    const char* control;
    const char* titleKey; // the tab that holds the field
    QString typed;
    bool accepted;
    QString stored; // what the record holds after an accepted text
    const char* messageKey;
};

QLineEdit* fieldOf(serwedge::WeightToKeyFrame2& f, const char* control) {
    const std::pair<const char*, QLineEdit*> fields[] = {
        {"mathOperandTextField", f.settingsTabs().mathOperandTextField},
        {"decimalTextField", f.settingsTabs().decimalTextField},
        {"editNumCharactersTextField", f.settingsTabs().editNumCharactersTextField},
        {"removeCharactersTextField", f.settingsTabs().removeCharactersTextField},
        {"everyXValuesTextField", f.settingsTabs().everyXValuesTextField},
        {"delayTextField", f.settingsTabs().delayTextField},
        {"requestCommandBox", f.settingsTabs().requestCommandBox->lineEdit()},
        {"requestIntervalTextField", f.settingsTabs().requestIntervalTextField}};
    for (const auto& [name, field] : fields)
        if (qstrcmp(name, control) == 0)
            return field;
    return nullptr;
}

QString storedValue(const serwedge::config::Config& c, const char* control) {
    const QString name = QLatin1String(control);
    if (name == "mathOperandTextField")
        return c.getMathOperand();
    if (name == "decimalTextField")
        return c.getDecimalPlaces();
    if (name == "editNumCharactersTextField")
        return c.getEditNumCharacters();
    if (name == "removeCharactersTextField")
        return c.getRemoveCharacters();
    if (name == "everyXValuesTextField")
        return c.getEveryXValues();
    if (name == "requestCommandBox")
        return c.getRequestCommand();
    if (name == "requestIntervalTextField")
        return c.getRequestIntervalMs();
    return c.getDelay();
}

const char* const kProcessing = "WeightToKeyFrame2.processingPanel.tab.title";
const char* const kOutput = "WeightToKeyFrame2.outputPanel.tab.title";
const char* const kInput = "WeightToKeyFrame2.inputPanel.tab.title";

std::vector<FieldCase> fieldCases() {
    const QString longNumber = QString(5000, QLatin1Char('9'));
    return {
        {"mathOperandTextField", kProcessing, "1,5", true, "1.5", nullptr},
        {"mathOperandTextField", kProcessing, "-0.25", true, "-0.25", nullptr},
        {"mathOperandTextField", kProcessing, "", true, "", nullptr},
        {"mathOperandTextField", kProcessing, "0", false, {}, "error.math.operand"},
        {"mathOperandTextField", kProcessing, "1,5,5", false, {}, "error.math.operand"},
        {"mathOperandTextField", kProcessing, "two", false, {}, "error.math.operand"},
        {"decimalTextField", kProcessing, "0", true, "0", nullptr},
        {"decimalTextField", kProcessing, "7", true, "7", nullptr},
        {"decimalTextField", kProcessing, "8", false, {}, "error.decimal.places"},
        {"decimalTextField", kProcessing, "-1", false, {}, "error.decimal.places"},
        {"decimalTextField", kProcessing, longNumber, false, {}, "error.decimal.places"},
        {"editNumCharactersTextField", kProcessing, "1", true, "1", nullptr},
        {"editNumCharactersTextField", kProcessing, "99", true, "99", nullptr},
        {"editNumCharactersTextField", kProcessing, "0", false, {}, "error.edit.numCharacters"},
        {"editNumCharactersTextField", kProcessing, "100", false, {}, "error.edit.numCharacters"},
        {"removeCharactersTextField", kProcessing, "g kg\u00e9", true, "g kg\u00e9", nullptr},
        {"removeCharactersTextField",
         kProcessing,
         "\u20ac",
         false,
         {},
         "error.edit.removeCharacters"},
        {"everyXValuesTextField", kOutput, "2", true, "2", nullptr},
        {"everyXValuesTextField", kOutput, "99", true, "99", nullptr},
        {"everyXValuesTextField", kOutput, "1", false, {}, "error.edit.everyXValues"},
        {"everyXValuesTextField", kOutput, "100", false, {}, "error.edit.everyXValues"},
        {"delayTextField", kOutput, "0", true, "0", nullptr},
        {"delayTextField", kOutput, "1000", true, "1000", nullptr},
        {"delayTextField", kOutput, "", true, "", nullptr},
        {"delayTextField", kOutput, "1001", false, {}, "error.intercharacter.delay"},
        {"delayTextField", kOutput, "5 ms", false, {}, "error.intercharacter.delay"},
        {"requestCommandBox", kInput, "S<13><10>", true, "S<13><10>", nullptr},
        {"requestCommandBox", kInput, "S<300>", false, {}, "error.request.command"},
        {"requestIntervalTextField", kInput, "250", true, "250", nullptr},
        {"requestIntervalTextField", kInput, "99", false, {}, "error.request.interval"},
    };
}

TEST_F(SettingsPanelsTest, everyFieldStoresWhatItsRuleAcceptsAndRefusesTheRestInPlace) {
    Frame& f = buildShown();
    // The interval is only edited for requests at intervals.
    f.settingsTabs().requestModeBox->setCurrentIndex(H::RequestMode::INTERVAL);
    for (const FieldCase& c : fieldCases()) {
        SCOPED_TRACE(std::string(c.control) + " <- \"" + c.typed.left(20).toStdString() + "\"");
        QLineEdit* field = fieldOf(f, c.control);
        ASSERT_NE(field, nullptr);
        // An editable list holds the focus for its line edit.
        QWidget* focused =
            qobject_cast<QComboBox*>(field->parentWidget()) ? field->parentWidget() : field;
        f.tabs()->setCurrentWidget(page(c.titleKey));
        focused->setFocus(Qt::OtherFocusReason);
        pump(20);
        ASSERT_EQ(QApplication::focusWidget(), focused);
        const QString before = storedValue(f.getConfig(), c.control);
        dialogs.shown.clear();

        field->setText(c.typed);
        f.settingsTabs().instrumentBox->setFocus(Qt::TabFocusReason); // leave the field
        pump(30);

        if (c.accepted) {
            EXPECT_TRUE(dialogs.shown.empty());
            EXPECT_EQ(storedValue(f.getConfig(), c.control), c.stored);
            EXPECT_EQ(field->text(), c.stored);
        } else {
            ASSERT_EQ(dialogs.shown.size(), 1u);
            EXPECT_EQ(dialogs.shown[0].text, t(c.messageKey));
            EXPECT_EQ(dialogs.shown[0].title, t("error"));
            EXPECT_EQ(dialogs.shown[0].kind, Kind::Error);
            EXPECT_EQ(storedValue(f.getConfig(), c.control), before);
            // The field's tab is in front and the focus is back in the field.
            EXPECT_EQ(f.tabs()->currentWidget(), page(c.titleKey));
            EXPECT_EQ(QApplication::focusWidget(), focused);
            // Leave a valid text behind for the next case.
            field->setText(before);
            f.settingsTabs().instrumentBox->setFocus(Qt::TabFocusReason);
            pump(20);
        }
    }
}

TEST_F(SettingsPanelsTest, leavingTheTabWithARefusedFieldBringsItBackOnceWithTheFocus) {
    Frame& f = buildShown();
    f.tabs()->setCurrentWidget(page(kProcessing));
    f.settingsTabs().decimalTextField->setFocus(Qt::OtherFocusReason);
    pump(20);
    f.settingsTabs().decimalTextField->setText("12");
    f.tabs()->setCurrentWidget(page(kOutput));
    pump(50);
    EXPECT_EQ(count("error.decimal.places"), 1u);
    EXPECT_EQ(f.tabs()->currentWidget(), page(kProcessing));
    EXPECT_EQ(QApplication::focusWidget(), f.settingsTabs().decimalTextField);
    EXPECT_EQ(f.getConfig().getDecimalPlaces(), QString());
}

TEST_F(SettingsPanelsTest, noCheckSpeaksWhileTheWindowCloses) {
    Frame& f = buildShown();
    f.tabs()->setCurrentWidget(page(kProcessing));
    f.settingsTabs().editNumCharactersTextField->setText("0");
    f.settingsTabs().delayTextField->setText("abc");
    f.settingsTabs().inputTerminatorBox->setEditText("999");
    f.close();
    pump(30);
    EXPECT_TRUE(dialogs.shown.empty());
    EXPECT_EQ(node().get("editNumCharacters", "?"), QString());
    EXPECT_EQ(node().get("delay", "?"), "20");
    EXPECT_EQ(node().get("inputTerminator", "?"), "13");
}

TEST_F(SettingsPanelsTest, refusedLineEndByteOnLeavingBringsBackTheInputTabAndItsPage) {
    Frame& f = buildShown();
    QWidget* input = page("WeightToKeyFrame2.inputPanel.tab.title");
    f.tabs()->setCurrentWidget(input);
    f.settingsTabs().inputTerminatorBox->lineEdit()->setFocus(Qt::OtherFocusReason);
    pump(20);
    f.settingsTabs().inputTerminatorBox->setEditText("x");
    clickTab(page(kProcessing));
    EXPECT_EQ(count("terminator.must.be.between.0.and.255"), 1u);
    EXPECT_TRUE(tabShown(input));
    EXPECT_EQ(f.getConfig().getInputTerminator(), 13);
    // The tabs still follow the user.
    clickTab(page(kOutput));
    EXPECT_TRUE(tabShown(page(kOutput)));
    clickTab(input);
    EXPECT_TRUE(tabShown(input));
}

TEST_F(SettingsPanelsTest, delayRefusedOnLeavingIsReportedOnceAndLeftForCorrection) {
    Frame& f = buildShown();
    f.tabs()->setCurrentWidget(page(kOutput));
    f.settingsTabs().delayTextField->setFocus(Qt::OtherFocusReason);
    pump(20);
    f.settingsTabs().delayTextField->setText("1001");
    clickTab(page(kProcessing));
    EXPECT_EQ(count("error.intercharacter.delay"), 1u);
    EXPECT_TRUE(tabShown(page(kOutput)));
    EXPECT_EQ(QApplication::focusWidget(), f.settingsTabs().delayTextField);
    EXPECT_EQ(f.settingsTabs().delayTextField->text(), "1001");
    EXPECT_EQ(f.getConfig().getDelay(), "20");
}

// ---- copying the controls into the record ----

TEST_F(SettingsPanelsTest, operationWithoutOperandFallsBackToNone) {
    Frame& f = build();
    select(f.settingsTabs().mathOperationBox,
           H::MathOperation(H::MathOperation::MULTIPLY).toString());
    f.updateConfigFromTabs();
    EXPECT_EQ(f.settingsTabs().mathOperationBox->currentIndex(), int(H::MathOperation::NONE));
    EXPECT_EQ(f.getConfig().getMathOperation(), H::MathOperation::NONE);

    f.settingsTabs().mathOperandTextField->setText("2,5");
    select(f.settingsTabs().mathOperationBox,
           H::MathOperation(H::MathOperation::MULTIPLY).toString());
    f.updateConfigFromTabs();
    EXPECT_EQ(f.getConfig().getMathOperation(), H::MathOperation::MULTIPLY);
    EXPECT_EQ(f.getConfig().getMathOperand(), "2.5");
}

TEST_F(SettingsPanelsTest, divisionWithoutDecimalPlacesRemindsOnceAtATime) {
    Frame& f = buildShown();
    f.tabs()->setCurrentWidget(page("WeightToKeyFrame2.settingsPanel.tab.title"));
    f.settingsTabs().mathOperandTextField->setText("4");
    select(f.settingsTabs().mathOperationBox,
           H::MathOperation(H::MathOperation::DIVIDE).toString());
    const char* reminder = "please.enter.number.of.decimal.places.for.rounding.or.disable.division";
    bool flagWhileShown = false;
    dialogs.onShown = [&] {
        flagWhileShown = f.settingsTabs().isMathRoundingErrorWarningDisplayed();
    };

    f.updateConfigFromTabs();
    f.updateConfigFromTabs();
    f.updateConfigFromTabs();
    EXPECT_TRUE(f.settingsTabs().isMathRoundingErrorWarningDisplayed());
    EXPECT_EQ(count(reminder), 0u); // queued, not yet shown
    pump(50);
    ASSERT_EQ(count(reminder), 1u);
    EXPECT_TRUE(flagWhileShown);
    EXPECT_EQ(dialogs.shown.back().kind, Kind::Warning);
    EXPECT_EQ(dialogs.shown.back().title, t("error"));
    EXPECT_FALSE(f.settingsTabs().isMathRoundingErrorWarningDisplayed());
    EXPECT_EQ(f.tabs()->currentWidget(), page(kProcessing));
    EXPECT_EQ(QApplication::focusWidget(), f.settingsTabs().decimalTextField);
    EXPECT_EQ(f.getConfig().getMathOperation(), H::MathOperation::DIVIDE);

    // Once answered, the next copy reminds again; with decimal places it does not.
    f.updateConfigFromTabs();
    pump(50);
    EXPECT_EQ(count(reminder), 2u);
    f.settingsTabs().decimalTextField->setText("2");
    f.updateConfigFromTabs();
    pump(50);
    EXPECT_EQ(count(reminder), 2u);
}

TEST_F(SettingsPanelsTest, refusedDelayIsReportedAndResetToTwenty) {
    Frame& f = build();
    f.settingsTabs().delayTextField->setText("5000");
    dialogs.shown.clear();
    f.updateConfigFromTabs();
    EXPECT_EQ(count("error.intercharacter.delay"), 1u);
    EXPECT_EQ(f.settingsTabs().delayTextField->text(), "20");
    EXPECT_EQ(f.getConfig().getDelay(), "20");
}

TEST_F(SettingsPanelsTest, allLayoutRaisesAShortDelayToThree) {
    Frame& f = build();
    f.settingsTabs().delayTextField->setText("1");
    dialogs.shown.clear();
    select(f.settingsTabs().keyboardTypeBox, H::KeyboardType(H::KeyboardType::ALL).toString());
    ASSERT_EQ(count("info.delay.keyboard.all"), 1u);
    EXPECT_EQ(dialogs.shown[0].title, t("info"));
    EXPECT_EQ(f.settingsTabs().delayTextField->text(), "3");
    EXPECT_EQ(f.getConfig().getDelay(), "3");
    EXPECT_EQ(f.getConfig().getKeyboardType(), H::KeyboardType::ALL);

    // Three and more, or empty (20), stay as they are, also when the controls are copied.
    for (const char* delay : {"3", "40", ""}) {
        f.settingsTabs().delayTextField->setText(delay);
        f.updateConfigFromTabs();
        EXPECT_EQ(f.settingsTabs().delayTextField->text(), delay);
    }
    EXPECT_EQ(count("info.delay.keyboard.all"), 1u);
    f.settingsTabs().delayTextField->setText("0");
    f.updateConfigFromTabs();
    EXPECT_EQ(count("info.delay.keyboard.all"), 2u);
    EXPECT_EQ(f.getConfig().getDelay(), "3");
}

TEST_F(SettingsPanelsTest, connectPairAndCheckBoxesStoreAtOnceAndManualDropsTheTray) {
    Frame::setTrayAvailable(true);
    Frame& f = build();
    f.settingsTabs().autoConnectButton->click();
    EXPECT_EQ(f.getConfig().getConnect(), H::Connect::AUTO);
    f.addMinimizeToTraySupport();
    ASSERT_TRUE(f.traySupportInstalled());
    f.settingsTabs().manualConnectButton->click();
    EXPECT_EQ(f.getConfig().getConnect(), H::Connect::MANUAL);
    EXPECT_FALSE(f.traySupportInstalled());

    struct Box {
        QCheckBox* box;
        bool serwedge::config::Config::*field;
    };
    for (const Box& b :
         {Box{f.settingsTabs().minimizeToTrayCheckBox, &serwedge::config::Config::minimizeToTray},
          Box{f.settingsTabs().notifyWhenMinimizedToTrayCheckBox,
              &serwedge::config::Config::notifyWhenMinimizedToTray},
          Box{f.settingsTabs().checkForUpdatesCheckBox, &serwedge::config::Config::checkForUpdates},
          Box{f.settingsTabs().abortAutoStartCheckBox,
              &serwedge::config::Config::abortAutoStartWhenPrevPortNotAvailable},
          Box{f.settingsTabs().ignoreDuplicatesCheckBox,
              &serwedge::config::Config::ignoreDuplicates}}) {
        const bool before = f.getConfig().*b.field;
        b.box->click();
        EXPECT_EQ(f.getConfig().*b.field, !before) << b.box->text().toStdString();
    }
}

// ---- instrument ----

TEST_F(SettingsPanelsTest, changingTheInstrumentAsksBeforeDiscardingTheCustomPattern) {
    Frame& f = build();
    selectInstrument(H::Instrument::GENERIC);
    f.mutableConfig().setCustomRegEx(QStringLiteral("W(\\d+)"));
    dialogs.shown.clear();

    dialogs.answer = false;
    selectInstrument(H::Instrument::KERN_572);
    ASSERT_EQ(dialogs.shown.size(), 1u);
    EXPECT_EQ(dialogs.shown[0].text, "Overwrite custom regular expression?");
    EXPECT_EQ(dialogs.shown[0].title, "Confirm");
    EXPECT_EQ(f.getConfig().getCustomRegEx(), "W(\\d+)");
    EXPECT_EQ(f.getConfig().getInstrument(), H::Instrument::KERN_572);

    // Copying the controls is no change of instrument: nothing is asked.
    f.updateConfigFromTabs();
    EXPECT_EQ(dialogs.shown.size(), 1u);

    dialogs.answer = true;
    selectInstrument(H::Instrument::SARTORIUS);
    EXPECT_EQ(dialogs.shown.size(), 2u);
    EXPECT_EQ(f.getConfig().getCustomRegEx(), QString());

    // Without a custom pattern there is nothing to ask.
    selectInstrument(H::Instrument::GENERIC);
    EXPECT_EQ(dialogs.shown.size(), 2u);
}

TEST_F(SettingsPanelsTest, textPresetsAreItalicInTheListWhileTheirTextKeepsTheMarkup) {
    Frame& f = build();
    for (const H::Instrument& i : H::Instrument::values()) {
        const QFont font =
            f.settingsTabs().instrumentBox->itemData(i.ordinal(), Qt::FontRole).value<QFont>();
        const bool text = i.getInstrumentType() == H::InstrumentType::TEXT;
        EXPECT_EQ(font.italic(), text) << i.name().toStdString();
        EXPECT_EQ(f.settingsTabs().instrumentBox->itemText(i.ordinal()), i.toPlainString());
    }
    const H::Instrument barcode(H::Instrument::BARCODE);
    EXPECT_EQ(barcode.toString(),
              "<html><body><i>" + barcode.toPlainString() + "</i></body></html>");
}

TEST_F(SettingsPanelsTest, separatorChoiceFollowsTheInstrumentType) {
    Frame& f = build();
    selectInstrument(H::Instrument::GENERIC);
    EXPECT_TRUE(f.settingsTabs().decimalSeparatorBox->isEnabled());
    selectInstrument(H::Instrument::BARCODE_ALPHA);
    EXPECT_FALSE(f.settingsTabs().decimalSeparatorBox->isEnabled());
    selectInstrument(H::Instrument::SARTORIUS);
    EXPECT_TRUE(f.settingsTabs().decimalSeparatorBox->isEnabled());

    f.settingsTabs().decimalSeparatorBox->setSelectedSeparator(H::DecimalSeparator::COMMA);
    EXPECT_EQ(f.getConfig().getDecimalSeparator(), H::DecimalSeparator::COMMA);
}

TEST_F(SettingsPanelsTest, separatorChoiceStartsDisabledForAStoredTextInstrument) {
    node().put("instrument", "BARCODE");
    Frame& f = build();
    EXPECT_FALSE(f.settingsTabs().decimalSeparatorBox->isEnabled());
}

// ---- defaults ----

TEST_F(SettingsPanelsTest, defaultsSetTheFiveLineControlsAndTheRecordFollows) {
    struct Case {
        H::Instrument instrument;
        const char* bitRate;
        int dataBits, parity, stopBits, terminator;
    };
    Frame& f = build();
    for (const Case& c : {Case{H::Instrument::SARTORIUS, "1200", H::DataBits::LN_7BITS,
                               H::Parity::ODD, H::StopBits::ST_1BITS, 10},
                          Case{H::Instrument::MYWEIGH_HD, nullptr, -1, H::Parity::SPACE, -1, 13}}) {
        SCOPED_TRACE(c.instrument.name().toStdString());
        // Start from values that differ from every preset.
        f.settingsTabs().bitRateBox->setCurrentIndex(H::BitRates::BR_110);
        f.settingsTabs().parityBox->setCurrentIndex(H::Parity::MARK);
        f.settingsTabs().inputTerminatorBox->setEditText("4");
        f.settingsTabs().inputTerminatorBoxItemStateChanged();
        selectInstrument(c.instrument);
        f.settingsTabs().defaultButton->click();
        if (c.bitRate) {
            EXPECT_EQ(f.settingsTabs().bitRateBox->currentText(), c.bitRate);
        }
        if (c.dataBits >= 0) {
            EXPECT_EQ(f.getConfig().getDataBits(), c.dataBits);
        }
        if (c.stopBits >= 0) {
            EXPECT_EQ(f.getConfig().getStopBits(), c.stopBits);
        }
        EXPECT_EQ(f.getConfig().getParity(), c.parity);
        EXPECT_EQ(f.settingsTabs().parityBox->currentIndex(), c.parity);
        EXPECT_EQ(f.getConfig().getInputTerminator(), c.terminator);
        EXPECT_EQ(f.settingsTabs().inputTerminatorBox->currentText(),
                  H::InputTerminator::selectionText(c.terminator));
        const serwedge::config::Config line = c.instrument.getDefaultConfig();
        EXPECT_EQ(f.getConfig().getBitRate(), line.getBitRate());
    }
}

TEST_F(SettingsPanelsTest, defaultsShowThePresetsMessageFirstTitledInfo) {
    Frame& f = build();
    selectInstrument(H::Instrument::GENERIC);
    const auto note = H::Instrument(H::Instrument::GENERIC).getDefaultMessage();
    ASSERT_TRUE(note.has_value());
    f.settingsTabs().bitRateBox->setCurrentIndex(H::BitRates::BR_110);
    int bitRateWhileShown = -1;
    dialogs.onShown = [&] { bitRateWhileShown = f.getConfig().getBitRate(); };
    dialogs.shown.clear();
    f.settingsTabs().defaultButton->click();
    ASSERT_EQ(dialogs.shown.size(), 1u);
    EXPECT_EQ(dialogs.shown[0].text, *note);
    EXPECT_EQ(dialogs.shown[0].title, "Info");
    EXPECT_EQ(dialogs.shown[0].kind, Kind::Information);
    EXPECT_EQ(bitRateWhileShown, int(H::BitRates::BR_110)); // the message came first
    EXPECT_EQ(f.getConfig().getBitRate(), int(H::BitRates::BR_9600));

    // A preset without a message shows nothing.
    selectInstrument(H::Instrument::KERN_572);
    ASSERT_FALSE(H::Instrument(H::Instrument::KERN_572).getDefaultMessage().has_value());
    f.settingsTabs().defaultButton->click();
    EXPECT_EQ(dialogs.shown.size(), 1u);

    // No preset selected: nothing to take defaults from.
    f.settingsTabs().instrumentBox->setCurrentIndex(-1);
    f.settingsTabs().defaultButton->click();
    EXPECT_EQ(count("no.default.values.available.for.this.device"), 1u);
}

TEST_F(SettingsPanelsTest, inputTerminatorTakesAnyByteAndRefusesTheRest) {
    Frame& f = build();
    f.tabs()->setCurrentWidget(page("WeightToKeyFrame2.settingsPanel.tab.title"));
    dialogs.shown.clear();

    f.settingsTabs().inputTerminatorBox->setEditText("3"); // not offered, still a byte
    EXPECT_TRUE(f.settingsTabs().inputTerminatorBoxItemStateChanged());
    EXPECT_EQ(f.getConfig().getInputTerminator(), 3);
    EXPECT_TRUE(dialogs.shown.empty());

    f.settingsTabs().inputTerminatorBox->setEditText("300");
    EXPECT_FALSE(f.settingsTabs().inputTerminatorBoxItemStateChanged());
    ASSERT_EQ(count("terminator.must.be.between.0.and.255"), 1u);
    EXPECT_EQ(f.getConfig().getInputTerminator(), 3);
    EXPECT_EQ(f.settingsTabs().inputTerminatorBox->currentText(), "3");
    EXPECT_EQ(f.tabs()->currentWidget(), page("WeightToKeyFrame2.inputPanel.tab.title"));

    // An offered entry is taken by its byte value; a refusal re-selects it.
    f.settingsTabs().inputTerminatorBox->setCurrentIndex(H::InputTerminator::LF);
    EXPECT_TRUE(f.settingsTabs().inputTerminatorBoxItemStateChanged());
    EXPECT_EQ(f.getConfig().getInputTerminator(), 10);
    for (const char* bad : {"-1", "x", "13 <LF>", "256"}) {
        f.settingsTabs().inputTerminatorBox->setEditText(bad);
        EXPECT_FALSE(f.settingsTabs().inputTerminatorBoxItemStateChanged()) << bad;
        EXPECT_EQ(f.settingsTabs().inputTerminatorBox->currentIndex(), int(H::InputTerminator::LF));
        EXPECT_EQ(f.settingsTabs().inputTerminatorBox->currentText(),
                  H::InputTerminator(H::InputTerminator::LF).toString());
    }
    EXPECT_EQ(f.getConfig().getInputTerminator(), 10);
}

TEST_F(SettingsPanelsTest, refreshingListsPortsThatAppearedAndKeepsTheSelection) {
    Frame& f = build();
    select(f.settingsTabs().portList, "SIMB");
    serdrv_sim_create("SIMC");
    props::set("SERIAL_PORT_LIST", "SIMA;SIMB;SIMC");
    f.settingsTabs().refreshPortsButton->click();
    EXPECT_EQ(f.settingsTabs().portList->count(), 3);
    EXPECT_EQ(f.settingsTabs().portList->currentText(), "SIMB");
    EXPECT_EQ(f.getConfig().getPort(), "SIMB");
}

// ---- dialogs from their buttons ----

TEST_F(SettingsPanelsTest, duplicateLimitsDialogCopiesOnlyAcceptedValues) {
    Frame& f = build();
    f.mutableConfig().setIgnoreTimeLimit("1000");
    f.mutableConfig().setIgnoreDifference("");
    f.settingsTabs().adjustIgnoreButton->click();
    auto* dialog = f.findChild<serwedge::IgnoreDialog*>();
    ASSERT_NE(dialog, nullptr);
    EXPECT_TRUE(dialog->isVisible());
    EXPECT_EQ(dialog->ignoreTimeLimitTextField()->text(), "1000");

    dialog->ignoreTimeLimitTextField()->setText("0");
    dialog->ignoreDifferenceTextField()->setText("0,5");
    dialog->okButton()->click();
    EXPECT_EQ(count("ignore.error"), 1u);
    EXPECT_TRUE(dialog->isVisible());
    EXPECT_EQ(f.getConfig().getIgnoreTimeLimit(), "1000");

    dialog->ignoreTimeLimitTextField()->setText("250");
    dialog->okButton()->click();
    EXPECT_EQ(f.getConfig().getIgnoreTimeLimit(), "250");
    EXPECT_EQ(f.getConfig().getIgnoreDifference(), "0.5");
    pumpUntil([&] { return f.findChild<serwedge::IgnoreDialog*>() == nullptr; }, 1000);
    EXPECT_EQ(f.findChild<serwedge::IgnoreDialog*>(), nullptr);

    f.settingsTabs().adjustIgnoreButton->click();
    dialog = f.findChild<serwedge::IgnoreDialog*>();
    ASSERT_NE(dialog, nullptr);
    dialog->ignoreTimeLimitTextField()->setText("999");
    dialog->cancelButton()->click();
    EXPECT_EQ(f.getConfig().getIgnoreTimeLimit(), "250");
}

TEST_F(SettingsPanelsTest, customPatternDialogCopiesOnlyAValidExpression) {
    Frame& f = build();
    selectInstrument(H::Instrument::GENERIC);
    f.settingsTabs().customizeButton->click();
    auto* dialog = f.findChild<serwedge::CustomRegExDialog*>();
    ASSERT_NE(dialog, nullptr);
    EXPECT_TRUE(dialog->isVisible());

    dialog->regExTextArea()->setPlainText("W\\d+"); // no capture group
    dialog->okButton()->click();
    EXPECT_EQ(count("invalid.expression"), 1u);
    EXPECT_EQ(f.getConfig().getCustomRegEx(), QString());

    dialog->regExTextArea()->setPlainText("W(\\d+)");
    dialog->okButton()->click();
    EXPECT_EQ(f.getConfig().getCustomRegEx(), "W(\\d+)");
    pumpUntil([&] { return f.findChild<serwedge::CustomRegExDialog*>() == nullptr; }, 1000);

    f.settingsTabs().customizeButton->click();
    dialog = f.findChild<serwedge::CustomRegExDialog*>();
    ASSERT_NE(dialog, nullptr);
    EXPECT_EQ(dialog->regExTextArea()->toPlainText(), "W(\\d+)");
    dialog->regExTextArea()->setPlainText("");
    dialog->cancelButton()->click();
    EXPECT_EQ(f.getConfig().getCustomRegEx(), "W(\\d+)");
}

// ---- settings transfer ----

TEST_F(SettingsPanelsTest, customPatternIsShownBesideTheInstrumentAndStartsFromThePresets) {
    Frame& f = build();
    serwedge::SettingsTabs& tabs = f.settingsTabs();
    const H::Instrument preset(H::Instrument::KERN_572);
    selectInstrument(preset);
    const auto marked = [&] { return tabs.customPatternLabel->isVisibleTo(tabs.inputPanel); };
    const auto openDialog = [&] {
        pumpUntil([&] { return f.findChild<serwedge::CustomRegExDialog*>() == nullptr; }, 1000);
        tabs.customizeButton->click();
        return f.findChild<serwedge::CustomRegExDialog*>();
    };
    EXPECT_FALSE(marked());
    auto* dialog = openDialog();
    ASSERT_NE(dialog, nullptr);
    EXPECT_EQ(dialog->regExTextArea()->toPlainText(), preset.getPattern());
    // Taken unchanged, the preset's expression is no expression of the user's own.
    dialog->okButton()->click();
    EXPECT_EQ(f.getConfig().getCustomRegEx(), QString());
    EXPECT_FALSE(marked());

    dialog = openDialog();
    ASSERT_NE(dialog, nullptr);
    dialog->regExTextArea()->setPlainText("<(\\d+)>");
    dialog->okButton()->click();
    EXPECT_TRUE(marked());
    EXPECT_TRUE(tabs.instrumentBox->toolTip().contains("&lt;(\\d+)&gt;"));
    // Another instrument, with the expression given up: the mark goes.
    selectInstrument(H::Instrument::GENERIC);
    EXPECT_EQ(f.getConfig().getCustomRegEx(), QString());
    EXPECT_FALSE(marked());
    EXPECT_FALSE(tabs.instrumentBox->toolTip().contains("(\\d+)"));
}

TEST_F(SettingsPanelsTest, exportSavesTheControlsFirstAndWritesTheFile) {
    QTemporaryDir dir;
    Frame& f = build();
    dialogs.saveAnswer = dir.filePath("out.xml");
    f.settingsTabs().delayTextField->setText("77"); // not yet checked nor stored
    f.settingsTabs().exportSettingsButton->click();
    EXPECT_EQ(dialogs.proposedName, "Tallyra.xml");
    EXPECT_EQ(node().get("delay", "?"), "77");
    QFile file(dialogs.saveAnswer);
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    const QByteArray xml = file.readAll();
    EXPECT_TRUE(xml.contains("delay")) << xml.constData();
    EXPECT_TRUE(xml.contains("77"));
    EXPECT_TRUE(dialogShown(t("configuration.exported.to.file.n")));
    EXPECT_EQ(dialogs.shown.back().title, t("export.successful"));

    // An existing file is kept when overwriting is declined.
    dialogs.answer = false;
    f.settingsTabs().delayTextField->setText("88");
    f.settingsTabs().exportSettingsButton->click();
    EXPECT_EQ(dialogs.shown.back().text, t("file.already.exists.overwrite"));
    file.seek(0);
    EXPECT_EQ(file.readAll(), xml);
}

TEST_F(SettingsPanelsTest, confirmedImportEndsWithStatusFourAndDeclinedOneContinues) {
    QTemporaryDir dir;
    const QString path = dir.filePath("in.xml");
    std::vector<int> exits;
    Frame::setExitHandler([&](int status) { exits.push_back(status); });
    {
        Frame& f = build();
        f.settingsTabs().delayTextField->setText("55");
        dialogs.saveAnswer = path;
        f.settingsTabs().exportSettingsButton->click();
        ASSERT_TRUE(QFile::exists(path));
        f.settingsTabs().delayTextField->setText("66");
        f.updateConfigFromTabs();
        f.saveConfig();
    }

    dialogs.openAnswer = path;
    dialogs.answer = false;
    Frame& f = *frame;
    f.settingsTabs().importSettingsButton->click();
    EXPECT_TRUE(exits.empty());
    EXPECT_EQ(dialogs.shown.back().title, t("restart.required"));
    EXPECT_EQ(node().get("delay", "?"), "55"); // imported into the store
    EXPECT_EQ(f.getConfig().getDelay(), "66"); // the running record goes on
    EXPECT_FALSE(f.exitStatus().has_value());

    dialogs.answer = true;
    f.settingsTabs().importSettingsButton->click();
    ASSERT_EQ(exits, std::vector<int>{4});
    EXPECT_EQ(f.exitStatus(), 4);
    EXPECT_TRUE(serwedge::isClosing.load());

    // A file that is no settings export is reported and imports nothing.
    QFile bad(dir.filePath("bad.xml"));
    ASSERT_TRUE(bad.open(QIODevice::WriteOnly));
    bad.write("not xml at all");
    bad.close();
    dialogs.openAnswer = bad.fileName();
    dialogs.shown.clear();
    f.settingsTabs().importSettingsButton->click();
    ASSERT_FALSE(dialogs.shown.empty());
    EXPECT_TRUE(dialogs.shown.back().text.startsWith(t("import.failed")));
    EXPECT_EQ(exits.size(), 1u);
}

// ---- start with the desktop session ----

TEST_F(SettingsPanelsTest, sessionCheckBoxWritesAndRemovesTheAutostartEntry) {
    QTemporaryDir dir;
    const QByteArray saved = qgetenv("XDG_CONFIG_HOME");
    qputenv("XDG_CONFIG_HOME", dir.path().toLocal8Bit());
    const QString entry = dir.filePath("autostart/tallyra.desktop");
    {
        Frame& f = build();
        ASSERT_NE(f.settingsTabs().startWithSessionCheckBox, nullptr);
        EXPECT_FALSE(f.settingsTabs().startWithSessionCheckBox->isChecked());
        f.settingsTabs().startWithSessionCheckBox->click();
        EXPECT_TRUE(QFile::exists(entry));
        frame.reset();
    }
    {
        Frame& f = build(); // the entry is what the box shows
        EXPECT_TRUE(f.settingsTabs().startWithSessionCheckBox->isChecked());
        f.settingsTabs().startWithSessionCheckBox->click();
        EXPECT_FALSE(QFile::exists(entry));
        EXPECT_TRUE(dialogs.shown.empty());
    }

    // A configuration folder that cannot hold the entry: reported, and the box stays off.
    QFile blocker(dir.filePath("notafolder"));
    ASSERT_TRUE(blocker.open(QIODevice::WriteOnly));
    blocker.close();
    qputenv("XDG_CONFIG_HOME", blocker.fileName().toLocal8Bit());
    frame->settingsTabs().startWithSessionCheckBox->click();
    EXPECT_FALSE(frame->settingsTabs().startWithSessionCheckBox->isChecked());
    EXPECT_TRUE(dialogShown(t("autostart.change.failed")));
    if (saved.isNull())
        qunsetenv("XDG_CONFIG_HOME");
    else
        qputenv("XDG_CONFIG_HOME", saved);
}

// ---- about ----

TEST_F(SettingsPanelsTest, aboutPaneShowsTheVersionAndItsLinksOpenInTheBrowser) {
    std::mutex m;
    std::vector<QUrl> opened;
    serwedge::util::OpenHyperlinkInBrowser::setBrowser([&](const QUrl& url) {
        const std::lock_guard<std::mutex> lock(m);
        opened.push_back(url);
        return true;
    });
    Frame& f = build();
    auto* about = f.findChild<QTextBrowser*>();
    ASSERT_NE(about, nullptr);
    EXPECT_TRUE(about->toPlainText().contains("Version 2018.1.0.3"));
    const QString html = about->toHtml();
    EXPECT_TRUE(html.contains("href=\"https://www.qt.io/\"")) << html.toStdString();

    emit about->anchorClicked(QUrl("https://www.qt.io/"));
    EXPECT_TRUE(pumpUntil([&] {
        const std::lock_guard<std::mutex> lock(m);
        return !opened.empty();
    }));
    serwedge::util::OpenHyperlinkInBrowser::setBrowser({});
    const std::lock_guard<std::mutex> lock(m);
    ASSERT_EQ(opened.size(), 1u);
    EXPECT_EQ(opened[0], QUrl("https://www.qt.io/"));
}

} // namespace

// The request settings follow the preset until the user sets them.
TEST_F(SettingsPanelsTest, requestCommandAndModeFollowThePresetUntilTheUserSetsThem) {
    Frame& f = build();
    serwedge::SettingsTabs& tabs = f.settingsTabs();
    selectInstrument(H::Instrument::MITUTOYO);
    EXPECT_EQ(tabs.requestCommandBox->currentText(), "1<13>");
    EXPECT_EQ(f.getConfig().getRequestMode(), H::RequestMode::ON_START);
    selectInstrument(H::Instrument::METTLER_DIALOG);
    EXPECT_EQ(f.getConfig().getRequestCommand(), "SI<13><10>");
    EXPECT_EQ(f.getConfig().getRequestMode(), H::RequestMode::NONE);
    EXPECT_EQ(tabs.requestCommandBox->count(), 2); // SI and S offered

    tabs.requestCommandBox->setEditText("P<13><10>");
    tabs.requestModeBox->setCurrentIndex(H::RequestMode::INTERVAL);
    selectInstrument(H::Instrument::GENERIC);
    EXPECT_EQ(tabs.requestCommandBox->currentText(), "P<13><10>");
    EXPECT_EQ(f.getConfig().getRequestMode(), H::RequestMode::INTERVAL);
    EXPECT_TRUE(tabs.requestIntervalTextField->isEnabled());
}

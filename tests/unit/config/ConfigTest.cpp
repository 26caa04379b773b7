#include "config/Config.h"

#include <gtest/gtest.h>

using serwedge::config::Config;
using serwedge::config::PropertyChangeEvent;
using serwedge::config::PropertyChangeListener;
using namespace serwedge::config::ConfigHelper;

namespace {

struct Recorder : PropertyChangeListener {
    std::vector<QString> names;
    void propertyChange(const PropertyChangeEvent& e) override { names.push_back(e.propertyName); }
};

} // namespace

TEST(Config, bareRecordHasTheBareDefaults) {
    Config c;
    EXPECT_EQ(c.getBitRate(), 0);
    EXPECT_EQ(c.getDataBits(), 0);
    EXPECT_EQ(c.getStopBits(), 0);
    EXPECT_EQ(c.getParity(), 0);
    EXPECT_EQ(c.getInputTerminator(), 0);
    EXPECT_FALSE(c.getInstrument().has_value());
    EXPECT_EQ(c.getDelay(), "20");
    EXPECT_TRUE(c.minimizeToTray && c.notifyWhenMinimizedToTray && c.checkForUpdates &&
                c.abortAutoStartWhenPrevPortNotAvailable);
    EXPECT_FALSE(c.ignoreDuplicates);
    EXPECT_EQ(c.getConnect(), Connect::MANUAL);
    EXPECT_EQ(c.getEditOperation(), EditOperation::REMOVE);
    EXPECT_EQ(c.getRoundingMethod(), RoundingMethod::HALF_UP);
    EXPECT_TRUE(c.getEveryXValues().isEmpty());
    EXPECT_FALSE(c.getEveryXValues().isNull());
}

TEST(Config, typedConversionsFallBackOnBadText) {
    Config c;
    c.setDelay("abc");
    EXPECT_EQ(c.getDelayAsInt(), 20);
    c.setDelay("");
    EXPECT_EQ(c.getDelayAsInt(), 20);
    c.setDelay("0");
    EXPECT_EQ(c.getDelayAsInt(), 0);
    c.setEveryXValues("");
    EXPECT_EQ(c.getEveryXValuesAsInt(), 0);
    c.setEveryXValues("x");
    EXPECT_EQ(c.getEveryXValuesAsInt(), 0);
    c.setEveryXValues("3");
    EXPECT_EQ(c.getEveryXValuesAsInt(), 3);
    c.setEditNumCharacters("2147483648");
    EXPECT_EQ(c.getEditNumCharactersAsInt(), 0);
    c.setEditNumCharacters("-2147483648");
    EXPECT_EQ(c.getEditNumCharactersAsInt(), -2147483647 - 1);
    c.setDecimalPlaces("");
    EXPECT_FALSE(c.getDecimalPlacesAsInt().has_value());
    c.setDecimalPlaces("3");
    EXPECT_EQ(c.getDecimalPlacesAsInt(), 3);
}

TEST(Config, roundingEnabledOnlyForZeroToSevenPlaces) {
    Config c;
    for (const char* t : {"", "8", "-1", "two", " 2"}) {
        c.setDecimalPlaces(t);
        EXPECT_FALSE(c.roundingEnabled()) << t;
    }
    for (const char* t : {"0", "7", "+3"}) {
        c.setDecimalPlaces(t);
        EXPECT_TRUE(c.roundingEnabled()) << t;
    }
}

TEST(Config, divisionNeedsDecimalPlacesAndEveryOperationNeedsAnOperand) {
    Config c;
    c.setMathOperation(MathOperation::DIVIDE);
    c.setMathOperand("2");
    c.setDecimalPlaces("");
    EXPECT_FALSE(c.mathOperationEnabled());
    c.setDecimalPlaces("2");
    EXPECT_TRUE(c.mathOperationEnabled());
    c.setMathOperation(MathOperation::MULTIPLY);
    c.setMathOperand("");
    EXPECT_FALSE(c.mathOperationEnabled());
    c.setMathOperand("1000");
    c.setDecimalPlaces("");
    EXPECT_TRUE(c.mathOperationEnabled());
    c.setMathOperation(MathOperation::NONE);
    EXPECT_FALSE(c.mathOperationEnabled());
}

TEST(Config, copyIsUnchangedAndIgnoresPrevPortAndListeners) {
    Config a;
    Recorder r;
    a.addPropertyChangeListener("TEXT", &r);
    a.setPort("COM3");
    a.setPrevPort("COM1");
    a.setInstrument(Instrument::KERN_MPS);
    a.setCustomRegEx(R"(Wt\s?(\d+))");
    a.ignoreDuplicates = true;
    Config b = Config::copyConfig(a);
    EXPECT_FALSE(Config::hasChanged(a, b));
    EXPECT_TRUE(b.getPrevPort().isNull());
    b.setPrevPort("COM9");
    EXPECT_FALSE(Config::hasChanged(a, b));
    b.setInstrument(Instrument::BARCODE); // the copy has no listeners
    EXPECT_TRUE(r.names.empty());
    EXPECT_TRUE(Config::hasChanged(a, b));
}

TEST(Config, hasChangedSeesEveryOneOfTheSettings) {
    using Mutator = void (*)(Config&);
    const std::vector<std::pair<const char*, Mutator>> mutators{
        {"port", [](Config& c) { c.setPort("X"); }},
        {"instrument", [](Config& c) { c.setInstrument(Instrument::OHAUS); }},
        {"bitRate", [](Config& c) { c.setBitRate(3); }},
        {"dataBits", [](Config& c) { c.setDataBits(2); }},
        {"stopBits", [](Config& c) { c.setStopBits(1); }},
        {"parity", [](Config& c) { c.setParity(1); }},
        {"inputTerminator", [](Config& c) { c.setInputTerminator(10); }},
        {"connect", [](Config& c) { c.setConnect(Connect::AUTO); }},
        {"keyboardType", [](Config& c) { c.setKeyboardType(KeyboardType::GERMAN); }},
        {"delay", [](Config& c) { c.setDelay("21"); }},
        {"decimalSeparator", [](Config& c) { c.setDecimalSeparator(DecimalSeparator::COMMA); }},
        {"startWith", [](Config& c) { c.setStartWith(StartWith::TAB); }},
        {"outputTerminator", [](Config& c) { c.setOutputTerminator(OutputTerminator::TAB); }},
        {"outputTerminator2", [](Config& c) { c.setOutputTerminator2(OutputTerminator::TAB); }},
        {"everyXValues", [](Config& c) { c.setEveryXValues("2"); }},
        {"mathOperation", [](Config& c) { c.setMathOperation(MathOperation::DIVIDE); }},
        {"mathOperand", [](Config& c) { c.setMathOperand("2"); }},
        {"decimalPlaces", [](Config& c) { c.setDecimalPlaces("2"); }},
        {"roundingMethod", [](Config& c) { c.setRoundingMethod(RoundingMethod::UP); }},
        {"sound", [](Config& c) { c.setSound(Sound::CLAVES); }},
        {"minimizeToTray", [](Config& c) { c.minimizeToTray = !c.minimizeToTray; }},
        {"notifyWhenMinimizedToTray",
         [](Config& c) { c.notifyWhenMinimizedToTray = !c.notifyWhenMinimizedToTray; }},
        {"checkForUpdates", [](Config& c) { c.checkForUpdates = !c.checkForUpdates; }},
        {"abortAutoStart",
         [](Config& c) {
             c.abortAutoStartWhenPrevPortNotAvailable = !c.abortAutoStartWhenPrevPortNotAvailable;
         }},
        {"editOperation", [](Config& c) { c.setEditOperation(EditOperation::KEEP); }},
        {"editPosition", [](Config& c) { c.setEditPosition(EditPosition::LAST); }},
        {"editNumCharacters", [](Config& c) { c.setEditNumCharacters("3"); }},
        {"removeCharacters", [](Config& c) { c.setRemoveCharacters("g"); }},
        {"customRegEx", [](Config& c) { c.setCustomRegEx("(x)"); }},
        {"ignoreDuplicates", [](Config& c) { c.ignoreDuplicates = !c.ignoreDuplicates; }},
        {"ignoreTimeLimit", [](Config& c) { c.setIgnoreTimeLimit("5"); }},
        {"ignoreDifference", [](Config& c) { c.setIgnoreDifference("0.5"); }},
        {"reconnect", [](Config& c) { c.reconnect = !c.reconnect; }},
    };
    EXPECT_EQ(mutators.size(), 33u);
    for (const auto& [name, mutate] : mutators) {
        Config a;
        Config b = Config::copyConfig(a);
        mutate(b);
        EXPECT_TRUE(Config::hasChanged(a, b)) << name;
        EXPECT_FALSE(Config::hasChanged(b, Config::copyConfig(b))) << name;
    }
}

TEST(Config, absentTextDiffersFromEmptyText) {
    Config a;
    Config b = Config::copyConfig(a);
    a.setPort(QString());
    b.setPort(QStringLiteral(""));
    EXPECT_TRUE(Config::hasChanged(a, b));
    b.setPort(QString());
    EXPECT_FALSE(Config::hasChanged(a, b));
}

TEST(Config, setInstrumentNotifiesTheKindOfInstrument) {
    Config c;
    Recorder number, text;
    c.addPropertyChangeListener("NUMBER", &number);
    c.addPropertyChangeListener("TEXT", &text);
    c.setInstrument(Instrument::BARCODE);
    c.setInstrument(Instrument::GENERIC);
    c.setInstrument(Instrument::BARCODE_ALPHA_COMPLETE);
    EXPECT_EQ(number.names.size(), 1u);
    EXPECT_EQ(text.names.size(), 2u);
    c.removePropertyChangeListener("TEXT", &text);
    c.setInstrument(Instrument::BARCODE_ALPHA);
    EXPECT_EQ(text.names.size(), 2u);
}

// The keystroke engine against the recording injector: sequences, terminators, reports,
// failures and stopping.

#include "worker/Keybot.h"
#include "config/ConfigHelper.h"
#include "keys/KeyCodes.h"
#include "platform/recording/RecordingKeyInjector.h"
#include "worker/DataLine.h"
#include "worker/WeightWorkerView.h"
#include "worker/WorkerBundle.h"

#include "../../support/FirstPressGate.h"
#include "../../support/ImportantEventsView.h"

#include <gtest/gtest.h>

#include <QStringList>

#include <condition_variable>
#include <mutex>
#include <random>
#include <set>

using platform::RecordingKeyInjector;
using serwedge::config::ConfigHelper::KeyboardType;
using serwedge::config::ConfigHelper::KeyMapType;
using serwedge::worker::Keybot;
using serwedge::worker::KeybotThread;
using Event = RecordingKeyInjector::Event;
namespace K = serwedge::config::KeyCodes;

namespace {

using RecordingView = test_support::ImportantEventsView;
using test_support::FirstPressGate;

Event P(int code) {
    return {Event::Press, code};
}
Event R(int code) {
    return {Event::Release, code};
}
Event W(int ms) {
    return {Event::Pause, ms};
}

// The events one layout entry must produce with the given pause.
std::vector<Event> expectedEvents(const std::vector<int>& codes, int delay) {
    std::vector<Event> e;
    if (codes.front() == K::ALT) {
        e = {P(K::ALT), W(delay)};
        for (std::size_t i = 1; i < codes.size(); ++i)
            e.insert(e.end(), {P(codes[i]), W(delay), R(codes[i]), W(delay)});
        e.insert(e.end(), {R(K::ALT), W(delay), W(delay)});
        return e;
    }
    std::vector<int> down;
    bool space = false;
    for (std::size_t i = 0; i < codes.size(); ++i) {
        if (i > 0 && codes[i] == K::SPACE)
            space = true;
        else
            down.push_back(codes[i]);
    }
    for (int c : down)
        e.insert(e.end(), {P(c), W(delay)});
    for (auto it = down.rbegin(); it != down.rend(); ++it)
        e.insert(e.end(), {R(*it), W(delay)});
    if (space)
        e.insert(e.end(), {P(K::SPACE), W(delay), R(K::SPACE), W(delay)});
    return e;
}

struct Bot {
    std::shared_ptr<RecordingKeyInjector> keys = std::make_shared<RecordingKeyInjector>();
    RecordingView view;
    std::shared_ptr<Keybot> bot;

    explicit Bot(KeyboardType type, KeyMapType mapType = KeyMapType::ALPHANUMERIC_COMPLETE,
                 int delay = 7, int start = 0, int end = 0, int end2 = 0, int everyX = 0,
                 bool withView = true) {
        bot = std::make_shared<Keybot>(delay, start, end, end2, everyX, type, mapType,
                                       withView ? &view : nullptr, keys);
    }
    // Types one whole value as the typing loop does.
    void value(const QString& v) {
        bot->typeStart();
        if (bot->typeString(v))
            bot->typeEnd();
    }
};

const QString kCannotType = serwedge::worker::workerBundle().getString("cannot_type");

} // namespace

class KeybotLayout : public ::testing::TestWithParam<KeyboardType::Value> {};

TEST_P(KeybotLayout, everyCharacterOfTheTableTypesItsExactSequence) {
    for (KeyMapType mapType : KeyMapType::values()) {
        Bot b(GetParam(), mapType);
        for (const auto& [c, codes] : b.bot->keyMap()) {
            b.keys->clear();
            ASSERT_TRUE(b.bot->typeString(QString(QChar(c))));
            EXPECT_EQ(b.keys->events(), expectedEvents(codes, 7))
                << "character " << static_cast<int>(c) << " with " << mapType.name().toStdString();
            EXPECT_TRUE(b.keys->held().empty());
        }
        EXPECT_TRUE(b.view.important().isEmpty());
    }
}

INSTANTIATE_TEST_SUITE_P(AllLayouts, KeybotLayout,
                         ::testing::Values(KeyboardType::QUERTY, KeyboardType::US_INTERNATIONAL,
                                           KeyboardType::AZERTY, KeyboardType::GERMAN,
                                           KeyboardType::ALL),
                         [](const auto& info) {
                             return KeyboardType(info.param).name().toStdString();
                         });

TEST(Keybot, germanAtSignIsControlAltQ) {
    Bot b(KeyboardType::GERMAN, KeyMapType::ALPHANUMERIC_COMPLETE, 0);
    b.bot->typeString("@");
    EXPECT_EQ(b.keys->events(),
              (std::vector<Event>{P(K::CONTROL), W(0), P(K::ALT), W(0), P(K::Q), W(0), R(K::Q),
                                  W(0), R(K::ALT), W(0), R(K::CONTROL), W(0)}));
}

TEST(Keybot, usInternationalApostropheIsDeadAcuteThenSpace) {
    Bot b(KeyboardType::US_INTERNATIONAL, KeyMapType::ALPHANUMERIC_COMPLETE, 3);
    b.bot->typeString("'");
    EXPECT_EQ(b.keys->events(), (std::vector<Event>{P(K::DEAD_ACUTE), W(3), R(K::DEAD_ACUTE), W(3),
                                                    P(K::SPACE), W(3), R(K::SPACE), W(3)}));
    // Through the call that lets an injector leave it out where the key is not dead.
    EXPECT_EQ(b.keys->deadKeySpaces(), 1);
}

TEST(Keybot, azertyNumericShiftsDigitsAndReportsLetters) {
    Bot b(KeyboardType::AZERTY, KeyMapType::NUMERIC, 0);
    b.bot->typeString("12.5x");
    const std::vector<int> pressed = b.keys->pressedCodes();
    EXPECT_EQ(pressed, (std::vector<int>{K::SHIFT, K::digit(1), K::SHIFT, K::digit(2), K::SHIFT,
                                         K::SEMICOLON, K::SHIFT, K::digit(5)}));
    EXPECT_EQ(b.view.important(), QStringList{kCannotType + "x"});
}

TEST(Keybot, allTypesSevenAsAltCode) {
    Bot b(KeyboardType::ALL, KeyMapType::NUMERIC, 0);
    b.bot->typeString("7");
    EXPECT_EQ(b.keys->events(), (std::vector<Event>{P(K::ALT), W(0), P(K::numpad(5)), W(0),
                                                    R(K::numpad(5)), W(0), P(K::numpad(5)), W(0),
                                                    R(K::numpad(5)), W(0), R(K::ALT), W(0), W(0)}));
}

TEST(Keybot, charactersOutsideTheTableAreReportedAndSkipped) {
    Bot b(KeyboardType::QUERTY, KeyMapType::ALPHANUMERIC_COMPLETE, 0);
    const QString value = QString::fromUtf16(u"1\t\u00e92\uFFFD\U0001F600\u007f3");
    b.bot->typeString(value);
    EXPECT_EQ(b.keys->pressedCodes(), (std::vector<int>{K::digit(1), K::digit(2), K::digit(3)}));
    EXPECT_EQ(b.view.important(),
              (QStringList{kCannotType + "<9>", kCannotType + "<233>", kCannotType + "<65533>",
                           kCannotType + "<128512>", kCannotType + "<127>"}));
}

TEST(Keybot, startKeyAndTerminatorSurroundTheValue) {
    Bot b(KeyboardType::QUERTY, KeyMapType::NUMERIC, 5, K::F1 + 1, K::TAB);
    b.value("1");
    EXPECT_EQ(b.keys->events(),
              (std::vector<Event>{P(K::F1 + 1), W(5), R(K::F1 + 1), P(K::digit(1)), W(5),
                                  R(K::digit(1)), W(5), P(K::TAB), W(5), R(K::TAB)}));
}

TEST(Keybot, everyXthValueGetsTheSecondTerminatorInstead) {
    Bot b(KeyboardType::QUERTY, KeyMapType::NUMERIC, 0, 0, K::TAB, K::ENTER, 3);
    for (int i = 0; i < 6; ++i)
        b.value("1");
    std::vector<int> terminators;
    for (int c : b.keys->pressedCodes())
        if (c != K::digit(1))
            terminators.push_back(c);
    EXPECT_EQ(terminators, (std::vector<int>{K::TAB, K::TAB, K::ENTER, K::TAB, K::TAB, K::ENTER}));
}

TEST(Keybot, everyXOfZeroOrOneAlwaysUsesTheFirstTerminator) {
    for (int everyX : {0, 1}) {
        Bot b(KeyboardType::QUERTY, KeyMapType::NUMERIC, 0, 0, K::DOWN, K::ENTER, everyX);
        for (int i = 0; i < 4; ++i)
            b.value("2");
        EXPECT_EQ(b.keys->pressedCodes(),
                  (std::vector<int>{K::digit(2), K::DOWN, K::digit(2), K::DOWN, K::digit(2),
                                    K::DOWN, K::digit(2), K::DOWN}));
        EXPECT_EQ(b.bot->numCounter(), 0);
    }
}

TEST(Keybot, onlySecondTerminatorEndsEverySecondValueAndTheOthersWithNothing) {
    Bot b(KeyboardType::QUERTY, KeyMapType::NUMERIC, 0, 0, 0, K::ENTER, 2);
    for (int i = 0; i < 4; ++i)
        b.value("3");
    EXPECT_EQ(b.keys->pressedCodes(), (std::vector<int>{K::digit(3), K::digit(3), K::ENTER,
                                                        K::digit(3), K::digit(3), K::ENTER}));
}

TEST(Keybot, failedPressIsReportedAndTheRestOfTheChordStillTypes) {
    Bot b(KeyboardType::GERMAN, KeyMapType::ALPHANUMERIC_COMPLETE, 0);
    b.keys->failPress(K::CONTROL);
    b.bot->typeString("@a");
    EXPECT_EQ(b.keys->pressedCodes(), (std::vector<int>{K::ALT, K::Q, K::A}));
    EXPECT_TRUE(b.keys->held().empty());
    ASSERT_EQ(b.view.important().size(), 1);
    EXPECT_EQ(b.view.important().front(),
              "Error pressing key 17 on GERMAN keyboard: simulated failure pressing 17");
}

TEST(Keybot, refusedReleaseIsReportedAndRetriedSoNoModifierStaysDown) {
    Bot b(KeyboardType::GERMAN, KeyMapType::ALPHANUMERIC_COMPLETE, 0);
    b.keys->failRelease(K::CONTROL);
    b.bot->typeString("@");
    EXPECT_TRUE(b.keys->held().empty());
    EXPECT_TRUE(b.bot->heldKeys().empty());
    EXPECT_EQ(
        b.view.important(),
        QStringList{"Error releasing key 17 on GERMAN keyboard: simulated failure releasing 17"});
}

TEST(Keybot, failedAltCodeAbandonsTheCharacterButReleasesAlt) {
    Bot b(KeyboardType::GERMAN, KeyMapType::ALPHANUMERIC_COMPLETE, 0);
    b.keys->failPress(K::numpad(6));
    b.bot->typeString("?1");
    EXPECT_EQ(b.keys->pressedCodes(), (std::vector<int>{K::ALT, K::digit(1)}));
    EXPECT_TRUE(b.keys->held().empty());
    EXPECT_EQ(b.view.important(),
              QStringList{"Error pressing ALT key for ? on GERMAN keyboard: simulated failure "
                          "pressing 102"});
}

TEST(Keybot, failedDeadKeySpaceIsADeadkeyError) {
    Bot b(KeyboardType::US_INTERNATIONAL, KeyMapType::ALPHANUMERIC_COMPLETE, 0);
    b.keys->failPress(K::SPACE);
    b.bot->typeString("^");
    EXPECT_EQ(b.keys->pressedCodes(), (std::vector<int>{K::SHIFT, K::digit(6)}));
    EXPECT_EQ(b.view.important(), QStringList{"Deadkey error: simulated failure pressing 32"});
}

TEST(Keybot, withoutViewProblemsGoToStandardOutput) {
    Bot b(KeyboardType::GERMAN, KeyMapType::ALPHANUMERIC_COMPLETE, 0, 0, 0, 0, 0, false);
    b.keys->failPress(K::SHIFT);
    b.keys->failRelease(K::digit(1));
    b.keys->failPress(K::ALT);
    b.keys->failRelease(K::SPACE);
    ::testing::internal::CaptureStdout();
    b.bot->typeString("A1?`\t");
    const std::string out = ::testing::internal::GetCapturedStdout();
    EXPECT_EQ(out, "Error on pressing: 16\n"
                   "Error on releasing: 49\n"
                   "Error pressing/releasing ALT key for : ?\n"
                   "Deadkey error\n" +
                       (kCannotType + "<9>\n").toStdString());
    EXPECT_TRUE(b.keys->held().empty());
}

TEST(Keybot, randomValuesWithFailingPressesUseOnlyTableKeysAndLeaveNoneDown) {
    std::mt19937 random(20240601);
    std::uniform_int_distribution<int> pick(0, 300);
    for (KeyboardType type : KeyboardType::values()) {
        for (KeyMapType mapType : KeyMapType::values()) {
            Bot b(type, mapType, 0, K::F1 + 11, K::TAB, K::DOWN, 4);
            b.keys->failRandomly(0.1, random());
            std::set<int> allowed{K::F1 + 11, K::TAB, K::DOWN};
            for (const auto& [c, codes] : b.bot->keyMap())
                allowed.insert(codes.begin(), codes.end());
            for (int v = 0; v < 60; ++v) {
                QString value;
                const int length = pick(random) % 12;
                for (int i = 0; i < length; ++i) {
                    const int r = pick(random);
                    value += r < 280 ? QChar(r) : QChar(static_cast<char16_t>(0xD800 + r));
                }
                b.value(value);
                EXPECT_TRUE(b.keys->held().empty() && b.bot->heldKeys().empty())
                    << "a key stayed down after a value on " << type.name().toStdString();
            }
            for (int c : b.keys->pressedCodes())
                EXPECT_TRUE(allowed.count(c))
                    << "pressed " << c << " on " << type.name().toStdString();
        }
    }
}

// ---- the typing loop, the shared queue and stopping ----

class KeybotLoop : public ::testing::Test {
protected:
    void SetUp() override { Keybot::queue().clear(); }
    void TearDown() override {
        KeybotThread::endBackgroundNow();
        Keybot::queue().clear();
    }
};

TEST_F(KeybotLoop, emptyValuesAreNotQueuedAndTypeNothing) {
    Bot b(KeyboardType::QUERTY, KeyMapType::NUMERIC, 0, K::TAB, K::ENTER, K::DOWN, 2);
    Keybot::add("");
    EXPECT_EQ(Keybot::queue().size(), 0u);
    Keybot::add("5");
    Keybot::add("");
    Keybot::add("6");
    {
        KeybotThread thread(b.bot);
        ASSERT_TRUE(KeybotThread::waitUntilTyped(std::chrono::seconds(10)));
    }
    EXPECT_EQ(b.keys->pressedCodes(),
              (std::vector<int>{K::TAB, K::digit(5), K::ENTER, K::TAB, K::digit(6), K::DOWN}));
}

TEST_F(KeybotLoop, valuesLeftInTheQueueAreTypedByTheNextKeybot) {
    Keybot::add("1");
    Keybot::add("2");
    Bot first(KeyboardType::QUERTY, KeyMapType::NUMERIC, 0);
    {
        KeybotThread thread(first.bot);
        ASSERT_TRUE(KeybotThread::waitUntilTyped(std::chrono::seconds(10)));
        thread.interrupt();
        thread.join();
        Keybot::add("3");
    }
    Bot second(KeyboardType::QUERTY, KeyMapType::NUMERIC, 0);
    KeybotThread thread(second.bot);
    ASSERT_TRUE(KeybotThread::waitUntilTyped(std::chrono::seconds(10)));
    EXPECT_EQ(first.keys->pressedCodes(), (std::vector<int>{K::digit(1), K::digit(2)}));
    EXPECT_EQ(second.keys->pressedCodes(), (std::vector<int>{K::digit(3)}));
}

TEST_F(KeybotLoop, interruptEndsTheWaitForAValue) {
    Bot b(KeyboardType::QUERTY, KeyMapType::NUMERIC, 0);
    KeybotThread thread(b.bot);
    thread.interrupt();
    thread.join(); // returns only because the wait was woken
    Keybot::add("1");
    EXPECT_EQ(Keybot::queue().size(), 1u);
    EXPECT_TRUE(b.keys->events().empty());
}

TEST_F(KeybotLoop, stopDuringAValueFinishesItWithItsTerminatorAndTheNextRunWaitsForIt) {
    Bot first(KeyboardType::GERMAN, KeyMapType::ALPHANUMERIC_COMPLETE, 5, 0, K::ENTER);
    Bot second(KeyboardType::GERMAN, KeyMapType::ALPHANUMERIC_COMPLETE, 0, 0, K::TAB);
    first.keys->setSleeps(true);
    FirstPressGate gate;
    gate.attach(*first.keys);
    Keybot::add("@b");
    Keybot::add("9");
    auto thread = std::make_unique<KeybotThread>(first.bot);
    ASSERT_TRUE(gate.waitForPress());
    // Returns while the value is still being typed: the caller does not wait for it.
    KeybotThread::finishInBackground(std::move(thread));
    EXPECT_EQ(first.keys->pressedCodes(), std::vector<int>{K::CONTROL});
    KeybotThread next(second.bot);
    gate.letGo();
    ASSERT_TRUE(KeybotThread::waitUntilTyped(std::chrono::seconds(30)));
    EXPECT_EQ(first.keys->pressedCodes(),
              (std::vector<int>{K::CONTROL, K::ALT, K::Q, K::letter('B'), K::ENTER}));
    EXPECT_TRUE(first.keys->held().empty());
    // The queued value waited for the next run.
    EXPECT_EQ(second.keys->pressedCodes(), (std::vector<int>{K::digit(9), K::TAB}));
}

TEST_F(KeybotLoop, interruptNowCutsTheValueWithoutTerminatorAndReleasesEveryKey) {
    // A pause of 10 s per key: the value could only finish if the cut did not end the pauses.
    Bot b(KeyboardType::GERMAN, KeyMapType::ALPHANUMERIC_COMPLETE, 10000, 0, K::ENTER);
    b.keys->setSleeps(true);
    FirstPressGate gate;
    gate.attach(*b.keys);
    Keybot::add("@bcdef");
    KeybotThread thread(b.bot);
    ASSERT_TRUE(gate.waitForPress());
    thread.interruptNow();
    gate.letGo();
    thread.join();
    // The at sign was under way (CONTROL down): it is finished, nothing after it.
    EXPECT_EQ(b.keys->pressedCodes(), (std::vector<int>{K::CONTROL, K::ALT, K::Q}));
    EXPECT_TRUE(b.keys->held().empty());
    EXPECT_TRUE(KeybotThread::waitUntilTyped(std::chrono::seconds(1)));
}

TEST_F(KeybotLoop, aNewKeybotRestartsTheTerminatorCycle) {
    for (int run = 0; run < 2; ++run) {
        Bot b(KeyboardType::QUERTY, KeyMapType::NUMERIC, 0, 0, K::TAB, K::ENTER, 2);
        Keybot::add("1");
        KeybotThread thread(b.bot);
        ASSERT_TRUE(KeybotThread::waitUntilTyped(std::chrono::seconds(10)));
        EXPECT_EQ(b.keys->pressedCodes(), (std::vector<int>{K::digit(1), K::TAB}));
        EXPECT_EQ(b.bot->numCounter(), 1);
    }
}

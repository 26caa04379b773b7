// The keystroke engine with the X11 injector typing into a real window under Xvfb, with the
// X11 layouts that correspond to the keyboard types.

#include "config/ConfigHelper.h"
#include "keys/KeyCodes.h"
#include "platform/x11/X11KeyInjector.h"
#include "worker/DataLine.h"
#include "worker/Keybot.h"
#include "worker/WeightWorkerView.h"

#include "../support/ImportantEventsView.h"

#include <gtest/gtest.h>

#include <QStringList>

// Xlib defines macros such as None: it comes after the test framework.
#include "XvfbSession.h"

#include <X11/XKBlib.h>
#include <X11/extensions/XTest.h>
#include <X11/keysym.h>

#include <filesystem>
#include <fstream>
#include <mutex>
#include <sstream>

using serwedge::config::ConfigHelper::KeyboardType;
using serwedge::config::ConfigHelper::KeyMapType;
using serwedge::worker::Keybot;
using serwedge::worker::KeybotThread;
namespace K = serwedge::config::KeyCodes;

namespace {

using RecordingView = test_support::ImportantEventsView;

std::string readFile(const std::filesystem::path& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

struct Case {
    const char* layout; // setxkbmap argument
    KeyboardType::Value type;
};

void PrintTo(const Case& c, std::ostream* os) {
    *os << c.layout;
}

// Presses and releases Caps Lock on the display, as the user would.
void toggleCapsLock(const std::string& display) {
    Display* d = XOpenDisplay(display.c_str());
    ASSERT_NE(d, nullptr);
    const KeyCode caps = XKeysymToKeycode(d, XK_Caps_Lock);
    XTestFakeKeyEvent(d, caps, True, CurrentTime);
    XTestFakeKeyEvent(d, caps, False, CurrentTime);
    XSync(d, False);
    XCloseDisplay(d);
}

class KeystrokeE2E : public ::testing::TestWithParam<Case> {
protected:
    void SetUp() override {
        dir_ = std::filesystem::temp_directory_path() /
               ("tallyra-keys-" + std::to_string(getpid()) + "-" + std::to_string(counter_++));
        std::filesystem::create_directories(dir_);
        Keybot::queue().clear();
    }
    void TearDown() override {
        e2e::stop(target_);
        Keybot::queue().clear();
        std::filesystem::remove_all(dir_);
    }

    void startTarget(e2e::XvfbSession& x) {
        const auto ready = dir_ / "ready";
        target_ = e2e::spawn({KEY_TARGET, (dir_ / "out").string(), ready.string()},
                             {"DISPLAY=" + x.display(), "LC_ALL=C.UTF-8"});
        const auto end = std::chrono::steady_clock::now() + std::chrono::seconds(10);
        while (!std::filesystem::exists(ready) && std::chrono::steady_clock::now() < end)
            std::this_thread::sleep_for(std::chrono::milliseconds(20));
        ASSERT_TRUE(std::filesystem::exists(ready)) << "the target window did not come up";
    }

    // Types each value followed by ENTER and returns what the window received for each.
    std::vector<std::string> typeValues(const std::shared_ptr<platform::KeyInjector>& injector,
                                        KeyboardType type, KeyMapType mapType,
                                        const std::vector<QString>& values, int delay = 0,
                                        int startWith = 0) {
        auto bot = std::make_shared<Keybot>(delay, startWith, K::ENTER, 0, 0, type, mapType, &view_,
                                            injector);
        const std::size_t before = readFile(dir_ / "out").size();
        {
            KeybotThread thread(bot);
            for (const QString& v : values)
                Keybot::add(v);
            EXPECT_TRUE(KeybotThread::waitUntilTyped(std::chrono::seconds(60)));
        }
        // The window may still be reading its events: wait for every terminator.
        std::string text;
        const auto end = std::chrono::steady_clock::now() + std::chrono::seconds(10);
        do {
            text = readFile(dir_ / "out").substr(before);
            if (static_cast<std::size_t>(std::count(text.begin(), text.end(), '\r')) >=
                values.size())
                break;
            std::this_thread::sleep_for(std::chrono::milliseconds(20));
        } while (std::chrono::steady_clock::now() < end);
        std::vector<std::string> received;
        std::string current;
        for (char c : text) {
            if (c == '\r') {
                received.push_back(current);
                current.clear();
            } else {
                current += c;
            }
        }
        if (!current.empty())
            received.push_back(current);
        return received;
    }

    std::filesystem::path dir_;
    pid_t target_ = -1;
    RecordingView view_;
    static inline int counter_ = 0;
};

} // namespace

TEST_P(KeystrokeE2E, everyCompleteCharacterArrivesAsItselfWithTheLayoutAndWithAllUnderCapsLock) {
    const Case& c = GetParam();
    e2e::XvfbSession x;
    ASSERT_EQ(x.run({"setxkbmap", c.layout}), 0) << "setxkbmap " << c.layout;
    startTarget(x);
    auto injector = std::make_shared<platform::X11KeyInjector>(x.display());

    // ALT codes give the same characters whether Caps Lock is on or not; the dead keys of the
    // sequences that are plain keys in the layout give their character alone.
    const std::pair<KeyboardType, bool> passes[] = {
        {c.type, false}, {KeyboardType::ALL, false}, {KeyboardType::ALL, true}};
    for (const auto& [type, capsLock] : passes) {
        if (capsLock)
            toggleCapsLock(x.display());
        const auto table = KeyboardType::getKeymap(type, KeyMapType::ALPHANUMERIC_COMPLETE);
        std::vector<QString> values;
        for (const auto& [ch, codes] : table)
            values.push_back(QString(QChar(ch)));
        const auto received = typeValues(injector, type, KeyMapType::ALPHANUMERIC_COMPLETE, values);
        const std::string pass =
            type.name().toStdString() + (capsLock ? " with Caps Lock" : "") + " on " + c.layout;
        ASSERT_EQ(received.size(), values.size()) << pass;
        for (std::size_t i = 0; i < values.size(); ++i)
            EXPECT_EQ(received[i], values[i].toStdString())
                << "character '" << values[i].toStdString() << "' with " << pass;
    }
    if (injector->capsLockOn())
        toggleCapsLock(x.display());
    for (KeyboardType type : {KeyboardType(c.type), KeyboardType(KeyboardType::ALL)}) {
        const auto received =
            typeValues(injector, type, KeyMapType::NUMERIC, {"-12,5", "12.5", "+0.75"});
        EXPECT_EQ(received, (std::vector<std::string>{"-12,5", "12.5", "+0.75"}))
            << type.name().toStdString() << " on " << c.layout;
    }
    EXPECT_TRUE(view_.important().isEmpty()) << view_.important().join("\n").toStdString();
}

INSTANTIATE_TEST_SUITE_P(Layouts, KeystrokeE2E,
                         ::testing::Values(Case{"us", KeyboardType::QUERTY},
                                           Case{"us(intl)", KeyboardType::US_INTERNATIONAL},
                                           Case{"de", KeyboardType::GERMAN},
                                           Case{"fr", KeyboardType::AZERTY}),
                         [](const auto& info) {
                             return KeyboardType(info.param.type).name().toStdString();
                         });

TEST(KeystrokeE2EInjector, failsClearlyWithoutADisplay) {
    try {
        platform::X11KeyInjector injector(":999");
        FAIL() << "opened a display that does not exist";
    } catch (const platform::KeyInjectorError& e) {
        EXPECT_NE(std::string(e.what()).find(":999"), std::string::npos) << e.what();
    }
}

TEST(KeystrokeE2EInjector, spareKeycodesAreReusedAndRestoredOnlyWhenTheInjectorCloses) {
    e2e::XvfbSession x;
    ASSERT_EQ(x.run({"setxkbmap", "de"}), 0);
    Display* d = XOpenDisplay(x.display().c_str());
    ASSERT_NE(d, nullptr);
    int minKc = 0, maxKc = 0;
    XDisplayKeycodes(d, &minKc, &maxKc);
    const auto mapping = [&] {
        int per = 0;
        KeySym* m = XGetKeyboardMapping(d, static_cast<KeyCode>(minKc), maxKc - minKc + 1, &per);
        std::vector<KeySym> v(m, m + (maxKc - minKc + 1) * per);
        XFree(m);
        return v;
    };
    const auto changedKeycodes = [&](const std::vector<KeySym>& a, const std::vector<KeySym>& b) {
        const std::size_t per = a.size() / static_cast<std::size_t>(maxKc - minKc + 1);
        int changed = 0;
        for (std::size_t kc = 0; kc * per < a.size() && kc * per < b.size(); ++kc)
            changed +=
                !std::equal(a.begin() + kc * per, a.begin() + (kc + 1) * per, b.begin() + kc * per);
        return changed;
    };
    const std::vector<KeySym> before = mapping();
    {
        platform::X11KeyInjector injector(x.display());
        // The German layout has the circumflex and the grave accent only as dead keys: their
        // ALT codes need spare keycodes, one per symbol however often it is typed.
        const auto altCode = [&](std::initializer_list<int> digits) {
            injector.press(K::ALT);
            for (int n : digits) {
                injector.press(K::numpad(n));
                injector.release(K::numpad(n));
            }
            injector.release(K::ALT);
        };
        for (int i = 0; i < 3; ++i) {
            altCode({9, 4}); // ^
            altCode({9, 6}); // `
        }
        XSync(d, False);
        EXPECT_EQ(changedKeycodes(before, mapping()), 2);
    }
    XSync(d, False);
    EXPECT_EQ(changedKeycodes(before, mapping()), 0);
    XCloseDisplay(d);
}

TEST(KeystrokeE2EInjector, reportsTheCapsLockStateOfTheServer) {
    e2e::XvfbSession x;
    ASSERT_EQ(x.run({"setxkbmap", "us"}), 0);
    platform::X11KeyInjector injector(x.display());
    EXPECT_FALSE(injector.capsLockOn());
    toggleCapsLock(x.display());
    EXPECT_TRUE(injector.capsLockOn());
}

TEST_F(KeystrokeE2E, keypadDigitsTypeThoughNumLockWasOffAndNumLockIsOffAgainAfterwards) {
    e2e::XvfbSession x;
    ASSERT_EQ(x.run({"setxkbmap", "us"}), 0);
    startTarget(x);
    Display* d = XOpenDisplay(x.display().c_str());
    ASSERT_NE(d, nullptr);
    const auto numLockOn = [&] {
        XkbStateRec state;
        XkbGetState(d, XkbUseCoreKbd, &state);
        return (state.locked_mods & XkbKeysymToModifiers(d, XK_Num_Lock)) != 0;
    };
    ASSERT_FALSE(numLockOn());
    {
        platform::X11KeyInjector injector(x.display());
        for (int n : {5, 7, 0}) {
            injector.press(K::numpad(n));
            injector.release(K::numpad(n));
        }
        injector.press(K::ENTER);
        injector.release(K::ENTER);
        const auto end = std::chrono::steady_clock::now() + std::chrono::seconds(10);
        while (readFile(dir_ / "out").find('\r') == std::string::npos &&
               std::chrono::steady_clock::now() < end)
            std::this_thread::sleep_for(std::chrono::milliseconds(20));
        EXPECT_EQ(readFile(dir_ / "out"), "570\r");
    }
    XSync(d, False);
    EXPECT_FALSE(numLockOn());
    XCloseDisplay(d);
}

TEST_F(KeystrokeE2E, aDelayLongerThanTheAutoRepeatDelayTypesEveryKeyOnce) {
    e2e::XvfbSession x;
    ASSERT_EQ(x.run({"setxkbmap", "us"}), 0);
    startTarget(x);
    auto injector = std::make_shared<platform::X11KeyInjector>(x.display());
    // The server repeats a key held for 660 ms; each pause here lasts 1000 ms.
    const auto received = typeValues(injector, KeyboardType::QUERTY,
                                     KeyMapType::ALPHANUMERIC_COMPLETE, {"7A"}, 1000, K::TAB);
    EXPECT_EQ(received, std::vector<std::string>{"\t7A"});
    EXPECT_TRUE(view_.important().isEmpty()) << view_.important().join("\n").toStdString();
}

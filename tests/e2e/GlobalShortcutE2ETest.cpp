// The X11 global shortcut on a private X server: Ctrl+Shift+F12 pressed through XTest reaches
// the program whichever window has the focus, and a combination another client holds is
// refused with its reason.

#include "serwedge/GlobalShortcut.h"

#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QElapsedTimer>

#include <functional>

// Xlib's macros (Bool, Status) after every Qt header.
#include "XvfbSession.h"

#include <X11/Xlib.h>
#include <X11/extensions/XTest.h>
#include <X11/keysym.h>

using serwedge::GlobalShortcut;

namespace {

void press(Display* d, std::initializer_list<KeySym> keys) {
    for (KeySym k : keys)
        XTestFakeKeyEvent(d, XKeysymToKeycode(d, k), True, 0);
    for (auto k = std::rbegin(keys); k != std::rend(keys); ++k)
        XTestFakeKeyEvent(d, XKeysymToKeycode(d, *k), False, 0);
    XSync(d, False);
}

bool pumpUntil(const std::function<bool()>& condition) {
    QElapsedTimer t;
    t.start();
    while (!condition() && t.elapsed() < 10000)
        QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
    return condition();
}

} // namespace

TEST(GlobalShortcutX11, theCombinationReachesTheProgramAndASecondHolderIsRefused) {
    e2e::XvfbSession x;
    qputenv("DISPLAY", QByteArray::fromStdString(x.display()));
    qputenv("XDG_SESSION_TYPE", "x11");
    int argc = 1;
    char name[] = "shortcut_test";
    char* argv[] = {name, nullptr};
    QCoreApplication app(argc, argv);

    int pressed = 0;
    const char* refusal = nullptr;
    auto shortcut = GlobalShortcut::create([&] { ++pressed; }, refusal);
    ASSERT_TRUE(shortcut) << (refusal ? refusal : "");
    Display* keyboard = XOpenDisplay(x.display().c_str());
    ASSERT_TRUE(keyboard);
    press(keyboard, {XK_F12}); // without the modifiers: not the shortcut
    press(keyboard, {XK_Control_L, XK_Shift_L, XK_F12});
    EXPECT_TRUE(pumpUntil([&] { return pressed == 1; }));
    EXPECT_EQ(pressed, 1);

    EXPECT_FALSE(GlobalShortcut::create([] {}, refusal));
    EXPECT_STREQ(refusal, "shortcut.taken");
    shortcut.reset(); // given back: another holder may take it now
    EXPECT_TRUE(GlobalShortcut::create([] {}, refusal));

    qputenv("XDG_SESSION_TYPE", "wayland");
    EXPECT_FALSE(GlobalShortcut::create([] {}, refusal));
    EXPECT_STREQ(refusal, "shortcut.wayland");
    XCloseDisplay(keyboard);
}

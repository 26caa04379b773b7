// Which key injection back-ends a desktop session gets, and in which order.

#include "platform/KeyBackends.h"

#include <gtest/gtest.h>

#include <stdexcept>

using platform::DesktopSession;
using platform::KeyBackend;

TEST(KeyBackends, theSessionDecidesUnlessANameIsGiven) {
    using List = std::vector<KeyBackend>;
    const DesktopSession x11{"", "x11", "XFCE"};
    const DesktopSession gnome{"wayland-0", "wayland", "ubuntu:GNOME"};
    const DesktopSession plasma{"wayland-0", "wayland", "KDE"};
    const DesktopSession sway{"wayland-1", "wayland", "sway"};
    const DesktopSession unknownType{"wayland-1", "", ""};       // started from a terminal
    const DesktopSession xInsideWayland{"wayland-0", "x11", ""}; // says X11: XTest reaches it
    const struct {
        DesktopSession session;
        const char* choice;
        List expected;
    } cases[] = {
        {x11, "auto", {KeyBackend::X11}},
        {x11, "", {KeyBackend::X11}},
        {gnome, "auto", {KeyBackend::Portal, KeyBackend::Wlroots}},
        {plasma, "auto", {KeyBackend::Portal, KeyBackend::Wlroots}},
        {sway, "auto", {KeyBackend::Wlroots, KeyBackend::Portal}},
        {unknownType, "auto", {KeyBackend::Wlroots, KeyBackend::Portal}},
        {xInsideWayland, "auto", {KeyBackend::X11}},
        {gnome, "x11", {KeyBackend::X11}},
        {x11, "wlroots", {KeyBackend::Wlroots}},
        {sway, "portal", {KeyBackend::Portal}},
    };
    for (const auto& c : cases)
        EXPECT_EQ(platform::keyBackendsToTry(c.session, c.choice), c.expected)
            << c.session.currentDesktop << " " << c.session.sessionType << " " << c.choice;
    EXPECT_TRUE(platform::isWaylandSession(unknownType));
    EXPECT_FALSE(platform::isWaylandSession(xInsideWayland));
    for (const char* wrong : {"X11", "uinput", "sendinput", "auto "})
        EXPECT_THROW(platform::keyBackendsToTry(sway, wrong), std::invalid_argument) << wrong;
}

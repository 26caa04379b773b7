// Typing speed through the Wayland virtual keyboard at delay 0: a headless sway with the foot
// terminal recording what it receives, the keystroke engine with the wlroots injector. Prints
// the rate of injection and the rate at which the terminal received the characters.

#include "config/ConfigHelper.h"
#include "keys/KeyCodes.h"
#include "platform/wayland/WlrootsKeyInjector.h"
#include "worker/Keybot.h"

#include "../tests/wayland/SwaySession.h"

#include <QString>

#include <cstdio>

using serwedge::config::ConfigHelper::KeyboardType;
using serwedge::config::ConfigHelper::KeyMapType;
using serwedge::worker::Keybot;
using Clock = std::chrono::steady_clock;

int main() {
    e2e::SwaySession sway("us");
    auto injector = std::make_shared<platform::WlrootsKeyInjector>(sway.socketPath());
    Keybot bot(0, 0, serwedge::config::KeyCodes::ENTER, 0, 0, KeyboardType::QUERTY,
               KeyMapType::ALPHANUMERIC_COMPLETE, nullptr, injector);
    // Values of mixed letters, digits and punctuation, each ended by ENTER (the terminal passes
    // a line on when it is complete).
    const QString value = QStringLiteral("Weight: +0012.345 kg; Tare=[7] ok! Gross {12,5} ~ \"A\"");
    const int values = 60;
    std::string expected;
    for (int i = 0; i < values; ++i)
        expected += value.toStdString() + "\n";
    const std::size_t characters = expected.size();
    const std::size_t before = sway.received().size();
    const auto start = Clock::now();
    for (int i = 0; i < values; ++i) {
        bot.typeString(value);
        bot.typeEnd();
    }
    const auto typed = Clock::now();
    sway.waitUntil([&] { return sway.received().size() >= before + characters; }, "the values",
                   std::chrono::seconds(60));
    const auto received = Clock::now();
    const auto ms = [](Clock::duration d) {
        return std::chrono::duration<double, std::milli>(d).count();
    };
    std::printf("delay 0 on sway: %zu characters injected in %.1f ms = %.0f characters/s; "
                "received by foot after %.1f ms = %.0f characters/s\n",
                characters, ms(typed - start), characters * 1000.0 / ms(typed - start),
                ms(received - start), characters * 1000.0 / ms(received - start));
    if (sway.received().substr(before) != expected) {
        std::fputs("the terminal received other characters than were typed\n", stderr);
        return 1;
    }
    return 0;
}

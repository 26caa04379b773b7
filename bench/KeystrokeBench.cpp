// Typing speed of the keystroke engine with the X11 injector under a private Xvfb: the rate at
// delay 0, and the time of a 10-character value at delay 20 (about 2 x 10 x 20 ms expected).
// Usage: keystroke_bench [KEY_TARGET]  (with a target program, the time until the window has
// received everything is measured as well)

#include "config/ConfigHelper.h"
#include "keys/KeyCodes.h"
#include "platform/x11/X11KeyInjector.h"
#include "worker/Keybot.h"

#include <QString>

#include "../tests/e2e/XvfbSession.h"

#include <chrono>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <sstream>

using serwedge::config::ConfigHelper::KeyboardType;
using serwedge::config::ConfigHelper::KeyMapType;
using serwedge::worker::Keybot;
using Clock = std::chrono::steady_clock;

namespace {

std::size_t fileSize(const std::filesystem::path& p) {
    std::error_code ec;
    const auto size = std::filesystem::file_size(p, ec);
    return ec ? 0 : static_cast<std::size_t>(size);
}

double ms(Clock::duration d) {
    return std::chrono::duration<double, std::milli>(d).count();
}

} // namespace

int main(int argc, char** argv) {
    e2e::XvfbSession x;
    if (x.run({"setxkbmap", "us"}) != 0) {
        std::fputs("setxkbmap failed\n", stderr);
        return 1;
    }
    const auto dir =
        std::filesystem::temp_directory_path() / ("tallyra-keys-bench-" + std::to_string(getpid()));
    std::filesystem::create_directories(dir);
    pid_t target = -1;
    if (argc > 1) {
        target = e2e::spawn({argv[1], (dir / "out").string(), (dir / "ready").string()},
                            {"DISPLAY=" + x.display(), "LC_ALL=C.UTF-8"});
        const auto end = Clock::now() + std::chrono::seconds(10);
        while (!std::filesystem::exists(dir / "ready") && Clock::now() < end)
            std::this_thread::sleep_for(std::chrono::milliseconds(20));
    }
    auto injector = std::make_shared<platform::X11KeyInjector>(x.display());

    // Delay 0: a long mixed value (small and capital letters, digits, punctuation).
    {
        Keybot bot(0, 0, 0, 0, 0, KeyboardType::QUERTY, KeyMapType::ALPHANUMERIC_COMPLETE, nullptr,
                   injector);
        QString value;
        const QString pattern = QStringLiteral("Weight: +0012.345 kg; Tare=[7] ok!");
        while (value.size() < 3000)
            value += pattern;
        const std::size_t before = fileSize(dir / "out");
        const auto start = Clock::now();
        bot.typeString(value);
        const auto typed = Clock::now();
        double received = 0;
        if (target > 0) {
            const auto end = Clock::now() + std::chrono::seconds(30);
            while (fileSize(dir / "out") < before + static_cast<std::size_t>(value.size()) &&
                   Clock::now() < end)
                std::this_thread::sleep_for(std::chrono::milliseconds(1));
            received = ms(Clock::now() - start);
        }
        std::printf("delay 0: %lld characters injected in %.1f ms = %.0f characters/s",
                    static_cast<long long>(value.size()), ms(typed - start),
                    value.size() * 1000.0 / ms(typed - start));
        if (target > 0)
            std::printf("; received by the window after %.1f ms = %.0f characters/s", received,
                        value.size() * 1000.0 / received);
        std::printf("\n");
    }
    // Delay 20: ten plain characters, no start or terminator key.
    {
        Keybot bot(20, 0, 0, 0, 0, KeyboardType::QUERTY, KeyMapType::NUMERIC, nullptr, injector);
        const int runs = 5;
        double total = 0, worst = 0;
        for (int i = 0; i < runs; ++i) {
            const auto start = Clock::now();
            bot.typeString(QStringLiteral("1234567890"));
            const double t = ms(Clock::now() - start);
            total += t;
            worst = std::max(worst, t);
        }
        std::printf("delay 20: 10-character value in %.1f ms on average (worst %.1f ms; "
                    "2 x 10 x 20 ms = 400 ms)\n",
                    total / runs, worst);
    }
    injector.reset();
    e2e::stop(target);
    std::filesystem::remove_all(dir);
    return 0;
}

// Typing into a native Wayland program: tallyra-cli reads a pseudo-terminal and types each value
// through the virtual keyboard of a headless sway, into the foot terminal, with the layouts that
// go with the keyboard types; a long delay types each key once.

#include "SwaySession.h"

#include "config/ConfigHelper.h"

#include <gtest/gtest.h>

using serwedge::config::ConfigHelper::KeyboardType;
using serwedge::config::ConfigHelper::KeyMapType;

namespace {

// Every character of the keyboard type's complete table in one value (the space in the middle,
// so that the first character typed is a visible one), then numbers.
std::vector<std::string> valuesFor(KeyboardType type) {
    std::string all;
    for (const auto& [c, codes] : KeyboardType::getKeymap(type, KeyMapType::ALPHANUMERIC_COMPLETE))
        if (c != u' ')
            all += static_cast<char>(c);
    all.insert(all.size() / 2, 1, ' ');
    return {all, "-12,5", "12.5", "+0.75"};
}

} // namespace

TEST(WaylandE2E, everyCharacterOfTheTablesArrivesInAWaylandProgramOnceTheFirstIncluded) {
    // Keys repeat after 150 ms here, so that a key held through a long delay would show.
    e2e::SwaySession sway("us", "input * repeat_delay 150\n");
    // The programs run as the session's user, who may not reach the build folder.
    const auto bin = sway.dir() / "bin";
    std::filesystem::create_directory(bin);
    for (const char* file : {"tallyra-cli", "libserdrvLux64.so"})
        std::filesystem::copy_file(std::filesystem::path(TALLYRA_BINARY_DIR) / "bin" / file,
                                   bin / file);

    const struct {
        std::string layout;
        KeyboardType::Value type;
        std::vector<std::string> values;
        int delay;
    } cases[] = {{"us", KeyboardType::QUERTY, valuesFor(KeyboardType::QUERTY), 0},
                 {"de", KeyboardType::GERMAN, valuesFor(KeyboardType::GERMAN), 0},
                 {"fr", KeyboardType::AZERTY, valuesFor(KeyboardType::AZERTY), 0},
                 {"us", KeyboardType::QUERTY, {"7"}, 300}};
    for (const auto& c : cases) {
        const std::string name = c.layout + "-" + std::to_string(c.delay);
        SCOPED_TRACE(name);
        ASSERT_EQ(sway.sway({"input", "type:keyboard", "xkb_layout", c.layout}), 0);
        std::string expected;
        for (const auto& v : c.values)
            expected += v + "\n";
        const std::size_t before = sway.received().size();

        e2e::SwaySession::Pty pty;
        sway.openPty(pty);
        const std::string log = "cli-" + name + ".log";
        pid_t cli = sway.spawn(
            {(bin / "tallyra-cli").string(), "read", "--port", pty.name, "--type",
             "--keyboard-type", KeyboardType(c.type).name().toStdString(), "--instrument",
             "BARCODE_ALPHA_COMPLETE", "--delay", std::to_string(c.delay), "--output-terminator",
             "ENTER", "--count", std::to_string(c.values.size())},
            {"XDG_SESSION_TYPE=wayland", "XDG_CURRENT_DESKTOP=sway"}, log);
        const auto cliLog = [&] { return e2e::SwaySession::readFile(sway.dir() / log); };
        sway.waitUntil([&] { return cliLog().find(" opened") != std::string::npos; },
                       "tallyra-cli to open the port");
        for (const auto& v : c.values) {
            const std::string line = v + "\r";
            ASSERT_EQ(write(pty.master, line.data(), line.size()),
                      static_cast<ssize_t>(line.size()));
        }
        EXPECT_EQ(e2e::SwaySession::finish(cli, std::chrono::seconds(60)), 0) << cliLog();
        sway.waitUntil([&] { return sway.received().size() >= before + expected.size(); },
                       "the typed values", std::chrono::seconds(20));
        EXPECT_EQ(sway.received().substr(before), expected);
        EXPECT_NE(cliLog().find("keystrokes through wlroots"), std::string::npos) << cliLog();
        EXPECT_EQ(cliLog().find("\n! "), std::string::npos) << cliLog();
    }
}

// Typing into a native Wayland program: tallyra-cli reads a pseudo-terminal and types each value
// through the virtual keyboard of a headless sway, into the foot terminal, with the layouts that
// go with the keyboard types.

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

TEST(WaylandE2E, everyCharacterOfTheTablesArrivesInAWaylandProgramTheFirstIncluded) {
    e2e::SwaySession sway("us");
    // The programs run as the session's user, who may not reach the build folder.
    const auto bin = sway.dir() / "bin";
    std::filesystem::create_directory(bin);
    for (const char* file : {"tallyra-cli", "libserdrvLux64.so"})
        std::filesystem::copy_file(std::filesystem::path(TALLYRA_BINARY_DIR) / "bin" / file,
                                   bin / file);

    for (const auto& [layout, type] :
         {std::pair{"us", KeyboardType::QUERTY}, std::pair{"de", KeyboardType::GERMAN}}) {
        SCOPED_TRACE(layout);
        ASSERT_EQ(sway.sway({"input", "type:keyboard", "xkb_layout", layout}), 0);
        const std::vector<std::string> values = valuesFor(type);
        std::string expected;
        for (const auto& v : values)
            expected += v + "\n";
        const std::size_t before = sway.received().size();

        e2e::SwaySession::Pty pty;
        sway.openPty(pty);
        const std::string log = std::string("cli-") + layout + ".log";
        pid_t cli =
            sway.spawn({(bin / "tallyra-cli").string(), "read", "--port", pty.name, "--type",
                        "--keyboard-type", KeyboardType(type).name().toStdString(), "--instrument",
                        "BARCODE_ALPHA_COMPLETE", "--delay", "0", "--output-terminator", "ENTER",
                        "--count", std::to_string(values.size())},
                       {"XDG_SESSION_TYPE=wayland", "XDG_CURRENT_DESKTOP=sway"}, log);
        const auto cliLog = [&] { return e2e::SwaySession::readFile(sway.dir() / log); };
        sway.waitUntil([&] { return cliLog().find(" opened") != std::string::npos; },
                       "tallyra-cli to open the port");
        for (const auto& v : values) {
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

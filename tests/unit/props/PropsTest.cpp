#include "props/Props.h"

#include <gtest/gtest.h>

#include <thread>

TEST(Props, commandLineDefinitionsWinAndAreRemovedFromArguments) {
    props::initFromSystem();
    auto rest =
        props::applyCommandLine({"-DSERDRV_OSNAME=Windows 10", "COM3", "-Dempty", "--demo"});
    EXPECT_EQ(rest, (std::vector<std::string>{"COM3", "--demo"}));
    EXPECT_EQ(props::get("SERDRV_OSNAME"), "Windows 10");
    EXPECT_EQ(props::get("empty"), "");
    props::remove("SERDRV_OSNAME");
    props::remove("empty");
}

TEST(Props, systemPropertiesDescribeTheRealPlatform) {
    props::initFromSystem();
    EXPECT_EQ(props::get("os.name"), "Linux");
    EXPECT_FALSE(props::get("os.arch", "").empty());
    EXPECT_FALSE(props::get("user.home", "").empty());
    props::remove("SERDRV_OSNAME");
    props::remove("SERDRV_OSARCH");
    props::publishProgramProperties();
    EXPECT_EQ(props::get("VERSION"), "2018.1.0.3");
    EXPECT_EQ(props::get("RELEASEDATE"), "20180208");
    EXPECT_EQ(props::get("SERDRV_OSNAME"), "Linux");
    EXPECT_EQ(props::get("SERDRV_OSARCH"), props::get("os.arch"));
}

TEST(Props, environmentNamesThePreferencesFile) {
    ::setenv("TALLYRA_PREFS_FILE", "/tmp/x.txt", 1);
    props::initFromSystem();
    EXPECT_EQ(props::get(props::kPrefsFileProperty), "/tmp/x.txt");
    ::unsetenv("TALLYRA_PREFS_FILE");
    props::remove(props::kPrefsFileProperty);
}

TEST(Props, concurrentWritersAndReadersDoNotCorruptTheMap) {
    std::vector<std::thread> threads;
    for (int t = 0; t < 4; ++t) {
        threads.emplace_back([t] {
            for (int i = 0; i < 2000; ++i) {
                props::set("k" + std::to_string(t), std::to_string(i));
                (void)props::get("k" + std::to_string((t + 1) % 4));
            }
        });
    }
    for (auto& th : threads)
        th.join();
    for (int t = 0; t < 4; ++t)
        EXPECT_EQ(props::get("k" + std::to_string(t)), "1999");
}

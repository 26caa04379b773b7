// The real window program under its own Xvfb: started with a pseudo-terminal as its port and an
// isolated settings file, Start pressed through its mnemonic, and the lines written to the
// pseudo-terminal arrive typed in the target window with the configured terminator keys.
// A screenshot of the running window is kept under the build tree.

#include <gtest/gtest.h>

// Xlib defines macros such as None: it comes after the test framework.
#include "XvfbSession.h"

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <pty.h>
#include <sstream>
#include <termios.h>

namespace fs = std::filesystem;

namespace {

std::string readFile(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

// Output of a short command against the display (bounded by the command itself).
std::string capture(const std::string& display, const std::string& command) {
    std::string out;
    if (FILE* p = popen(("DISPLAY=" + display + " " + command + " 2>/dev/null").c_str(), "r")) {
        char buf[256];
        while (fgets(buf, sizeof buf, p))
            out += buf;
        pclose(p);
    }
    return out;
}

bool waitUntil(const std::function<bool()>& condition, std::chrono::seconds bound) {
    const auto end = std::chrono::steady_clock::now() + bound;
    while (!condition()) {
        if (std::chrono::steady_clock::now() > end)
            return false;
        std::this_thread::sleep_for(std::chrono::milliseconds(50));
    }
    return true;
}

class WindowE2E : public ::testing::Test {
protected:
    void SetUp() override {
        dir_ = fs::temp_directory_path() / ("tallyra-window-e2e-" + std::to_string(getpid()));
        fs::remove_all(dir_);
        fs::create_directories(dir_ / "Brindle" / "TallyraCrew");
        char name[256] = {};
        termios raw{};
        cfmakeraw(&raw);
        ASSERT_EQ(openpty(&master_, &slave_, name, &raw, nullptr), 0);
        port_ = name;
    }
    void TearDown() override {
        e2e::stop(target_);
        e2e::stop(program_);
        if (master_ >= 0)
            close(master_);
        if (slave_ >= 0)
            close(slave_);
        fs::remove_all(dir_);
    }

    void writeSettings() {
        // The shared settings file (--shared) below a private ProgramData folder.
        std::ofstream prefs(dir_ / "Brindle" / "TallyraCrew" / "prefs.txt");
        prefs << "#FilePreferences\n"
              << "com.brindle.Tallyra.outputTerminator=TAB\n"
              << "com.brindle.Tallyra.outputTerminator2=ENTER\n"
              << "com.brindle.Tallyra.everyXValues=2\n"
              << "com.brindle.Tallyra.delay=5\n"
              << "com.brindle.Tallyra.checkForUpdates=false\n";
    }

    void send(const std::string& bytes) {
        ASSERT_EQ(write(master_, bytes.data(), bytes.size()), static_cast<ssize_t>(bytes.size()));
    }

    fs::path dir_;
    int master_ = -1;
    int slave_ = -1;
    std::string port_;
    pid_t program_ = -1;
    pid_t target_ = -1;
};

} // namespace

TEST_F(WindowE2E, linesFromThePortArriveTypedWithTheirTerminatorKeys) {
    e2e::XvfbSession x;
    ASSERT_EQ(x.run({"setxkbmap", "us"}), 0);
    writeSettings();
    program_ = e2e::spawn({TALLYRA_PROGRAM, port_, "--shared"},
                          {"DISPLAY=" + x.display(), "QT_QPA_PLATFORM=xcb",
                           "ProgramData=" + dir_.string(), "XDG_CONFIG_HOME=" + dir_.string()});

    std::string window;
    ASSERT_TRUE(waitUntil(
        [&] {
            window = capture(x.display(), "xdotool search --name '^Brindle Tallyra$'");
            return !window.empty();
        },
        std::chrono::seconds(20)))
        << "the window did not come up";
    window = window.substr(0, window.find('\n'));

    // Start through the button's mnemonic, with the window focused.
    ASSERT_EQ(x.run({"xdotool", "windowfocus", window}), 0);
    std::this_thread::sleep_for(std::chrono::milliseconds(300));
    ASSERT_EQ(x.run({"xdotool", "key", "alt+s"}), 0);
    // The running face shows the status text; the port is open once the button reads Stop.
    std::this_thread::sleep_for(std::chrono::milliseconds(800));

    const fs::path artifacts = fs::path(TALLYRA_BINARY_DIR) / "test-artifacts";
    fs::create_directories(artifacts);
    const fs::path shot = artifacts / "tallyra-window-running.png";
    fs::remove(shot);
    EXPECT_EQ(x.run({"import", "-window", window, shot.string()}), 0);
    EXPECT_TRUE(fs::exists(shot) && fs::file_size(shot) > 0) << "no screenshot";

    // The target takes the focus back before the instrument writes.
    const fs::path ready = dir_ / "ready";
    const fs::path out = dir_ / "out";
    target_ = e2e::spawn({KEY_TARGET, out.string(), ready.string()},
                         {"DISPLAY=" + x.display(), "LC_ALL=C.UTF-8"});
    ASSERT_TRUE(waitUntil([&] { return fs::exists(ready); }, std::chrono::seconds(10)));
    std::this_thread::sleep_for(std::chrono::milliseconds(200));

    send("ST,+000012.34  g\r\nST,+000005.60  g\r\nST,-000000.25  g\r\n");
    const std::string expected = "12.34\t5.60\r-0.25\t";
    ASSERT_TRUE(waitUntil([&] { return readFile(out).size() >= expected.size(); },
                          std::chrono::seconds(20)))
        << "received: " << readFile(out);
    EXPECT_EQ(readFile(out), expected);

    // The program is still alive and reading.
    EXPECT_EQ(e2e::waitFor(program_, std::chrono::milliseconds(0)), -1);
}

// The POSIX back-end over pseudo-terminals the test creates (the kind of port socat or ser2net
// make for networked instruments).

#include "SerialTestSupport.h"

#include <chrono>
#include <dirent.h>
#include <fcntl.h>
#include <filesystem>
#include <fstream>
#include <pty.h>
#include <string>
#include <sys/file.h>
#include <thread>
#include <unistd.h>

using rs232::SerialConfig;
using rs232::SerialPortLocal;
using serialtest::ioError;

namespace {

class PtyTest : public serialtest::SerialFixture {
protected:
    void SetUp() override {
        SerialFixture::SetUp();
        int slave = -1;
        char name[256] = {};
        ASSERT_EQ(openpty(&master, &slave, name, nullptr, nullptr), 0);
        ::close(slave); // like socat: nobody holds the far end until the program opens it
        path = name;
        fcntl(master, F_SETFL, fcntl(master, F_GETFL) | O_NONBLOCK);
    }
    void TearDown() override {
        if (master >= 0)
            ::close(master);
        SerialFixture::TearDown();
    }

    void writeToDevice(const std::string& bytes) const {
        ASSERT_EQ(::write(master, bytes.data(), bytes.size()), static_cast<ssize_t>(bytes.size()));
    }

    // Everything the program wrote, waiting up to a second for `expected` bytes.
    std::string readFromDevice(size_t expected) const {
        std::string got;
        const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(1);
        while (got.size() < expected && std::chrono::steady_clock::now() < deadline) {
            char buf[256];
            const ssize_t n = ::read(master, buf, sizeof buf);
            if (n > 0)
                got.append(buf, static_cast<size_t>(n));
            else
                std::this_thread::sleep_for(std::chrono::milliseconds(2));
        }
        return got;
    }

    // Reads `count` bytes through getByte, giving up after a bounded time.
    static std::string readBytes(SerialPortLocal& sp, size_t count) {
        std::string got;
        const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(2);
        while (got.size() < count && std::chrono::steady_clock::now() < deadline) {
            const int b = sp.getByte();
            if (b < 0)
                std::this_thread::sleep_for(std::chrono::milliseconds(1));
            else
                got += static_cast<char>(b);
        }
        return got;
    }

    static int openDescriptors() {
        int n = 0;
        if (DIR* d = opendir("/proc/self/fd")) {
            while (readdir(d))
                ++n;
            closedir(d);
        }
        return n;
    }

    int master = -1;
    std::string path;
};

} // namespace

TEST_F(PtyTest, opensAt9600_8N1AndAt2400_7E1) {
    {
        SerialPortLocal sp(config(path));
        EXPECT_TRUE(sp.isOpen());
        EXPECT_EQ(sp.getConfig().getSettingsString(), "9600 / NONE / 8 / 1 / NONE");
    }
    SerialConfig c = config(path);
    c.setBitRate(SerialConfig::BR_2400);
    c.setDataBits(SerialConfig::LN_7BITS);
    c.setParity(SerialConfig::PY_EVEN);
    SerialPortLocal sp(c); // a pty cannot take 7E1: accepted all the same
    EXPECT_TRUE(sp.isOpen());
    sp.configure();
    c.setParity(SerialConfig::PY_SPACE);
    c.setStopBits(SerialConfig::ST_2BITS);
    EXPECT_NO_THROW(sp.configure(c));
}

TEST_F(PtyTest, bytesFromTheOtherSideArriveInOrder) {
    SerialPortLocal sp(config(path));
    sp.rxFlush();
    std::string all;
    for (int i = 0; i < 256; ++i)
        all += static_cast<char>(i);
    const std::string sent = "ST,+000012.34  g\r\n" + all;
    writeToDevice(sent);
    EXPECT_EQ(readBytes(sp, sent.size()), sent);
    EXPECT_EQ(sp.getByte(), -1);
}

TEST_F(PtyTest, getByteReturnsMinusOneAtOnceWhenNothingWaits) {
    SerialPortLocal sp(config(path));
    for (int i = 0; i < 3; ++i)
        EXPECT_EQ(sp.getByte(), -1);
    writeToDevice("Q");
    EXPECT_EQ(readBytes(sp, 1), "Q");
}

TEST_F(PtyTest, readyCountAndGetDataSeeWaitingBytes) {
    SerialPortLocal sp(config(path));
    writeToDevice("12345");
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(1);
    while (sp.rxReadyCount() < 5 && std::chrono::steady_clock::now() < deadline)
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
    EXPECT_EQ(sp.rxReadyCount(), 5);
    std::vector<uint8_t> buf(3);
    EXPECT_EQ(sp.getData(buf), 3);
    EXPECT_EQ(std::string(buf.begin(), buf.end()), "123");
    EXPECT_EQ(sp.txBufCount(), 0);
}

TEST_F(PtyTest, readAvailableWaitsForTheFirstByteAndTakesEveryByteThatWaits) {
    SerialPortLocal sp(config(path));
    std::vector<uint8_t> buf(7);
    EXPECT_EQ(sp.readAvailable(buf, 20), 0) << "nothing came within the time-out";
    // The terminal driver's escapes (a doubled 0xFF, 0xFF 0x00 before a marked byte) must not
    // leak into what is read, whatever the batches cut.
    const std::string sent = std::string("\xff\x00"
                                         "A\xff\xff\xff"
                                         "B\x00\xff",
                                         9) +
                             "xyz\xff";
    std::thread late([&] {
        std::this_thread::sleep_for(std::chrono::milliseconds(30));
        writeToDevice(sent);
    });
    std::string got;
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(2);
    while (got.size() < sent.size() && std::chrono::steady_clock::now() < deadline) {
        const int n = sp.readAvailable(buf, 1000);
        got.append(buf.begin(), buf.begin() + n);
    }
    late.join();
    EXPECT_EQ(got, sent);
    EXPECT_FALSE(sp.sigParityErr());
    EXPECT_FALSE(sp.sigFrameErr());
    ::close(master);
    master = -1;
    EXPECT_EQ(ioError([&] { sp.readAvailable(buf, 1000); }), "getByte failed");
}

TEST_F(PtyTest, modemLinesReadOffAndSettingThemDoesNoHarm) {
    SerialPortLocal sp(config(path));
    sp.setRTS(false);
    sp.setDTR(true);
    EXPECT_FALSE(sp.sigDSR());
    EXPECT_FALSE(sp.sigCTS());
    EXPECT_FALSE(sp.sigCD());
    EXPECT_FALSE(sp.sigRing());
    EXPECT_FALSE(sp.sigParityErr());
    EXPECT_FALSE(sp.sigFrameErr());
    EXPECT_FALSE(sp.sigOverrun());
    EXPECT_FALSE(sp.rxOverflow());
    EXPECT_FALSE(sp.sigBreak());
    EXPECT_NO_THROW(sp.sendBreak(5));
}

TEST_F(PtyTest, writesReachTheOtherSide) {
    SerialPortLocal sp(config(path));
    sp.putString("PRINT\r\n");
    sp.putByte(0xFF);
    sp.txDrain();
    EXPECT_EQ(readFromDevice(8), "PRINT\r\n\xff");
}

TEST_F(PtyTest, hangUpOfTheOtherSideIsAnErrorNotEndlessNoData) {
    SerialPortLocal sp(config(path));
    writeToDevice("AB");
    EXPECT_EQ(readBytes(sp, 2), "AB");
    ::close(master);
    master = -1;
    int noData = 0;
    std::string error;
    for (int i = 0; i < 100 && error.empty(); ++i) {
        error = ioError([&] {
            if (sp.getByte() == -1)
                ++noData;
        });
        if (error == "(no error)")
            error.clear();
    }
    EXPECT_EQ(error, "getByte failed");
    EXPECT_EQ(noData, 0);
    EXPECT_EQ(ioError([&] { sp.getByte(); }), "getByte failed") << "stays failed";
    EXPECT_EQ(ioError([&] { sp.rxReadyCount(); }), "rxReadyCount failed");
    EXPECT_NO_THROW(sp.close());
}

TEST_F(PtyTest, aPortHeldElsewhereIsInUse) {
    // Another holder with an exclusive lock, as a second program would have.
    const int other = ::open(path.c_str(), O_RDWR | O_NOCTTY | O_CLOEXEC);
    ASSERT_GE(other, 0);
    ASSERT_EQ(flock(other, LOCK_EX | LOCK_NB), 0);
    EXPECT_EQ(ioError([&] { SerialPortLocal sp(config(path)); }),
              path + ": SerOpenPort failed: Port is in use");
    ::close(other);
    SerialPortLocal sp(config(path));
    EXPECT_TRUE(sp.isOpen());
    // And the program's own lock keeps the other holder out.
    const int third = ::open(path.c_str(), O_RDWR | O_NOCTTY | O_CLOEXEC);
    ASSERT_GE(third, 0);
    EXPECT_NE(flock(third, LOCK_EX | LOCK_NB), 0);
    ::close(third);
}

TEST_F(PtyTest, namesWithoutADirectoryAreLookedUpInDev) {
    ASSERT_EQ(path.rfind("/dev/", 0), 0u);
    SerialPortLocal sp(config(path.substr(5))); // "pts/N"
    writeToDevice("z");
    EXPECT_EQ(readBytes(sp, 1), "z");
}

TEST_F(PtyTest, openingAndClosingAThousandTimesLeaksNoDescriptor) {
    { SerialPortLocal warmUp(config(path)); }
    const int before = openDescriptors();
    for (int i = 0; i < 1000; ++i) {
        SerialPortLocal sp(config(path));
        sp.setDTR(true);
        sp.close();
    }
    for (int i = 0; i < 200; ++i) {
        EXPECT_THROW(SerialPortLocal(config("/dev/null")), rs232::IOException);
        EXPECT_THROW(SerialPortLocal(config("/nonexistent/tty")), rs232::IOException);
    }
    EXPECT_EQ(openDescriptors(), before);
}

TEST_F(PtyTest, settingsFoundAtOpenAreReadBackAndPutBackOnClose) {
    // Another tool left the line at 19200 with line editing and echo.
    termios before{};
    ASSERT_EQ(tcgetattr(master, &before), 0);
    cfsetspeed(&before, B19200);
    before.c_lflag |= ICANON | ECHO;
    before.c_cflag &= ~static_cast<tcflag_t>(CSTOPB);
    ASSERT_EQ(tcsetattr(master, TCSANOW, &before), 0);

    SerialConfig c = config(path);
    c.setStopBits(SerialConfig::ST_2BITS);
    auto sp = std::make_unique<SerialPortLocal>(c);
    termios open{};
    ASSERT_EQ(tcgetattr(master, &open), 0);
    EXPECT_EQ(cfgetospeed(&open), B9600);
    EXPECT_EQ(open.c_lflag & (ICANON | ECHO), 0u);
    EXPECT_NE(open.c_cflag & CSTOPB, 0u) << "a pty keeps the stop bits it is given";

    sp->close();
    termios after{};
    ASSERT_EQ(tcgetattr(master, &after), 0);
    EXPECT_EQ(cfgetospeed(&after), B19200);
    EXPECT_EQ(after.c_lflag & (ICANON | ECHO), static_cast<tcflag_t>(ICANON | ECHO));
    EXPECT_EQ(after.c_cflag & CSTOPB, 0u);
}

TEST_F(PtyTest, sevenBitPresetsReadOnAPtyAndRatesBeyondTheTableReachIt) {
    SerialConfig c = config(path);
    c.setBitRate(SerialConfig::BR_2400);
    c.setDataBits(SerialConfig::LN_7BITS);
    c.setParity(SerialConfig::PY_EVEN);
    {
        SerialPortLocal sp(c); // the pty keeps 8 bits without parity: not a refusal there
        writeToDevice("ST,+0001.5 g\r\n");
        EXPECT_EQ(readBytes(sp, 14), "ST,+0001.5 g\r\n");
    }
    for (const int rate : {250000, 500000}) {
        c.setBitRate(rate);
        SerialPortLocal sp(c);
        termios t{};
        ASSERT_EQ(tcgetattr(master, &t), 0);
        // 500000 has a code of its own; any other rate is set as a number (the "other" code).
        EXPECT_EQ(t.c_cflag & CBAUD, rate == 500000 ? B500000 : CBAUDEX) << rate;
        writeToDevice("x");
        EXPECT_EQ(readBytes(sp, 1), "x");
    }
}

TEST_F(PtyTest, aPortNamedAsSystemConsoleIsNeverOpenedAndBlanksAroundANameAreDropped) {
    const std::string sysfs = "/tmp/serdrv-console-" + std::to_string(getpid());
    std::filesystem::create_directories(sysfs + "/class/tty/console");
    std::ofstream(sysfs + "/class/tty/console/active") << "tty0 " << path.substr(5) << "\n";
    ::setenv("SERDRV_SYSFS_ROOT", sysfs.c_str(), 1);
    EXPECT_EQ(ioError([&] { SerialPortLocal sp(config(path)); }),
              path + ": SerOpenPort failed: " + path + " is the system console");
    EXPECT_EQ(ioError([&] { SerialPortLocal sp(config("/dev/console")); }),
              "/dev/console: SerOpenPort failed: /dev/console is the system console");
    ::unsetenv("SERDRV_SYSFS_ROOT");
    std::filesystem::remove_all(sysfs);

    SerialPortLocal sp(config("  " + path + "\t"));
    EXPECT_EQ(sp.getPortName(), path);
    writeToDevice("k");
    EXPECT_EQ(readBytes(sp, 1), "k");
}

#include "rs232/SerialConfig.h"

#include "props/Props.h"

#include <gtest/gtest.h>

#include <functional>
#include <stdexcept>
#include <string>

using rs232::SerialConfig;

namespace {

// Builds the record while "os.name" names the given OS.
SerialConfig configOn(const std::string& os) {
    props::initFromSystem();
    const std::string saved = props::get("os.name", "");
    props::set("os.name", os);
    SerialConfig c("COM3");
    props::set("os.name", saved);
    return c;
}

std::string rejection(const std::function<void()>& f) {
    try {
        f();
    } catch (const std::invalid_argument& e) {
        return e.what();
    }
    return "(accepted)";
}

} // namespace

TEST(SerialConfig, constructorsApplyDefaultsAndNames) {
    const SerialConfig plain;
    EXPECT_EQ(plain.getPortNameString(), "COM1");
    EXPECT_EQ(plain.getPortName(), "COM1");
    EXPECT_EQ(plain.getBaseName(), "/dev/ttyS");
    EXPECT_EQ(plain.getPort(), 0);
    EXPECT_EQ(plain.getBitRate(), SerialConfig::BR_9600);
    EXPECT_EQ(plain.getDataBits(), SerialConfig::LN_8BITS);
    EXPECT_EQ(plain.getParity(), SerialConfig::PY_NONE);
    EXPECT_EQ(plain.getStopBits(), SerialConfig::ST_1BITS);
    EXPECT_EQ(plain.getHandshake(), SerialConfig::HS_NONE);
    EXPECT_EQ(plain.getTxLen(), 4096);
    EXPECT_EQ(plain.getRxLen(), 4096);
    EXPECT_TRUE(plain.getHardFlow());
    EXPECT_FALSE(plain.getDisableActiveLink());

    const SerialConfig numbered(4);
    EXPECT_EQ(numbered.getPort(), 4);
    EXPECT_EQ(numbered.getPortNameString(), "");
    EXPECT_EQ(numbered.getPortName(), std::string(1, '\0'));

    const SerialConfig sized(2, 100, 200);
    EXPECT_EQ(sized.getPort(), 2);
    EXPECT_EQ(sized.getTxLen(), 100);
    EXPECT_EQ(sized.getRxLen(), 200);

    const SerialConfig named("/dev/ttyUSB0");
    EXPECT_EQ(named.getPortNameString(), "/dev/ttyUSB0");
    EXPECT_EQ(named.getPort(), 0);
}

TEST(SerialConfig, bufferSizesOfTheNumberedConstructorSkipTheEpocLimit) {
    props::initFromSystem();
    props::set("os.name", "EPOC");
    const SerialConfig c(1, 100000, 100000);
    EXPECT_EQ(c.getTxLen(), 100000);
    props::initFromSystem();
}

struct Range {
    const char* name;
    std::function<void(SerialConfig&, int)> set;
    std::function<int(const SerialConfig&)> get;
    int low, high;
    const char* message;
};

TEST(SerialConfig, settersAcceptTheirRangeAndRefuseOutsideItUnchanged) {
    const Range ranges[] = {
        {"bit rate", &SerialConfig::setBitRate, &SerialConfig::getBitRate, 0, 921600,
         "Invalid Serial Port Bit Rate"},
        {"data bits", &SerialConfig::setDataBits, &SerialConfig::getDataBits, 0, 3,
         "Invalid Serial Port Data Bits"},
        {"parity", &SerialConfig::setParity, &SerialConfig::getParity, 0, 4,
         "Invalid Serial Port Parity"},
        {"stop bits", &SerialConfig::setStopBits, &SerialConfig::getStopBits, 0, 1,
         "Invalid Serial Port Stop Bits"},
    };
    for (const Range& r : ranges) {
        SCOPED_TRACE(r.name);
        SerialConfig c;
        for (int v : {r.low, r.high}) {
            r.set(c, v);
            EXPECT_EQ(r.get(c), v);
        }
        r.set(c, r.low);
        for (int v : {r.low - 1, r.high + 1, -1000000}) {
            EXPECT_EQ(rejection([&] { r.set(c, v); }), r.message) << v;
            EXPECT_EQ(r.get(c), r.low);
        }
    }
}

TEST(SerialConfig, handshakeAcceptsWholeModesAndSplitBits) {
    SerialConfig c = configOn("Windows 10");
    for (int v : {0, 1, 2, 0x10, 0x30, 0xF0}) {
        c.setHandshake(v);
        EXPECT_EQ(c.getHandshake(), v);
    }
    for (int v : {4, 0x0F, 0xF1, -1, 0x100}) {
        EXPECT_EQ(rejection([&] { c.setHandshake(v); }), "Invalid Serial Port Handshake") << v;
        EXPECT_EQ(c.getHandshake(), 0xF0);
    }
}

TEST(SerialConfig, dsrDtrHandshakeOnlyOnOldWindowsAndOs2) {
    for (const char* os : {"Windows XP", "Windows 95", "Windows 7", "Windows NT (unknown)",
                           "Windows Server 2008 R2", "OS/2"}) {
        SerialConfig c = configOn(os);
        c.setHandshake(SerialConfig::HS_DSRDTR);
        EXPECT_EQ(c.getHandshake(), 3) << os;
    }
    for (const char* os : {"Windows 10", "Windows 8.1", "Linux", "Mac OS", "windows xp", ""}) {
        SerialConfig c = configOn(os);
        EXPECT_EQ(rejection([&] { c.setHandshake(SerialConfig::HS_DSRDTR); }),
                  "DSRDTR handshaking not available on this platform")
            << os;
        EXPECT_EQ(c.getHandshake(), 0);
    }
}

TEST(SerialConfig, portNumberMustNotBeNegativeExceptOnEpoc) {
    SerialConfig c = configOn("Linux");
    c.setPortNum(0);
    c.setPortNum(12);
    EXPECT_EQ(rejection([&] { c.setPortNum(-1); }), "Invalid Port Number: -1");
    EXPECT_EQ(rejection([&] { c.setPortNum(-42); }), "Invalid Port Number: -42");
    EXPECT_EQ(c.getPort(), 12);

    SerialConfig epoc = configOn("EPOC");
    epoc.setPortNum(-1);
    EXPECT_EQ(epoc.getPort(), -1);
}

TEST(SerialConfig, bufferSizesAreLimitedOnlyOnEpoc) {
    SerialConfig c = configOn("Windows 10");
    c.setRxLen(100000);
    c.setTxLen(100000);
    EXPECT_EQ(c.getRxLen(), 100000);
    EXPECT_EQ(c.getTxLen(), 100000);

    SerialConfig epoc = configOn("EPOC");
    epoc.setRxLen(8192);
    epoc.setTxLen(8192);
    EXPECT_EQ(rejection([&] { epoc.setRxLen(8193); }), "Limited to 8192 on EPOC");
    EXPECT_EQ(rejection([&] { epoc.setTxLen(100000); }), "Limited to 8192 on EPOC");
    EXPECT_EQ(epoc.getRxLen(), 8192);
    EXPECT_EQ(epoc.getTxLen(), 8192);
}

TEST(SerialConfig, bitRateIndexAndNumber) {
    EXPECT_EQ(SerialConfig::getBitRateIndex(9600), 7);
    EXPECT_EQ(SerialConfig::getBitRateIndex(110), 0);
    EXPECT_EQ(SerialConfig::getBitRateIndex(921600), 14);
    EXPECT_EQ(SerialConfig::getBitRateIndex(9601), -1);
    EXPECT_EQ(SerialConfig::getBitRateIndex(7), -1);

    SerialConfig c;
    c.setBitRate(SerialConfig::BR_115200);
    EXPECT_TRUE(c.validBitRateIndex());
    EXPECT_EQ(c.getBitRateNumber(c.getBitRate()), 115200);
    EXPECT_EQ(c.getBitRateNumber(0), 110);
    EXPECT_THROW(c.getBitRateNumber(15), std::out_of_range);
    EXPECT_THROW(c.getBitRateNumber(-1), std::out_of_range);

    c.setBitRate(9600); // already bits per second: returned whatever the index
    EXPECT_FALSE(c.validBitRateIndex());
    EXPECT_EQ(c.getBitRateNumber(3), 9600);
    EXPECT_EQ(c.getBitRateNumber(99), 9600);

    c.setBitRate(31);
    EXPECT_EQ(c.getBitRateNumber(0), 31);
    c.setBitRate(30); // neither an index nor a rate
    EXPECT_FALSE(c.validBitRateIndex());
    EXPECT_THROW(c.getBitRateNumber(30), std::out_of_range);
}

struct SettingsCase {
    const char* os;
    int bitRate, parity, dataBits, stopBits, handshake;
    const char* expected;
};

TEST(SerialConfig, settingsStringDescribesTheRecord) {
    const SettingsCase cases[] = {
        {"Linux", 7, 0, 3, 0, 0, "9600 / NONE / 8 / 1 / NONE"},
        {"Linux", 9600, 0, 3, 0, 0, "9600 / NONE / 8 / 1 / NONE"},
        {"Linux", 19200, 2, 2, 1, 1, "19200 / EVEN / 7 / 2 / XON-XOFF"},
        {"Linux", 0, 1, 0, 0, 2, "110 / ODD / 5 / 1 / CTS-RTS"},
        {"Windows XP", 14, 3, 1, 1, 3, "921600 / MARK / 6 / 2 / DSR-DTR"},
        {"Linux", 5, 4, 3, 0, 0x30, "2400 / SPACE / 8 / 1 /  HI HO"},
        {"Linux", 5, 0, 3, 0, 0xF0, "2400 / NONE / 8 / 1 /  HI HO SI SO"},
        {"Linux", 5, 0, 3, 0, 0x80, "2400 / NONE / 8 / 1 /  SO"},
        {"Mac OS", 7, 0, 3, 0, 2, "9600 / NONE / 8 / 1 / CTS-DTR"},
        {"Mac OS X", 7, 0, 3, 0, 2, "9600 / NONE / 8 / 1 / CTS-RTS"},
        {"Linux", 20, 0, 3, 0, 0, "20 / NONE / 8 / 1 / NONE"},
    };
    for (const auto& t : cases) {
        SerialConfig c = configOn(t.os);
        c.setBitRate(t.bitRate);
        c.setParity(t.parity);
        c.setDataBits(t.dataBits);
        c.setStopBits(t.stopBits);
        c.setHandshake(t.handshake);
        EXPECT_EQ(c.getSettingsString(), t.expected) << t.os << " " << t.bitRate;
    }
}

TEST(SerialConfig, copyIsIndependentOfTheOriginal) {
    SerialConfig c("COM7");
    c.setBitRate(SerialConfig::BR_2400);
    c.setDisableActiveLink(true);
    SerialConfig d = c.copy();
    c.setPortName("COM8");
    c.setBitRate(SerialConfig::BR_4800);
    EXPECT_EQ(d.getPortNameString(), "COM7");
    EXPECT_EQ(d.getBitRate(), SerialConfig::BR_2400);
    EXPECT_TRUE(d.getDisableActiveLink());
}

TEST(SerialConfig, setPortNameKeepsTextAndBytes) {
    SerialConfig c(3);
    c.setPortName("/dev/ttyUSB1");
    EXPECT_EQ(c.getPortNameString(), "/dev/ttyUSB1");
    EXPECT_EQ(c.getPortName(), "/dev/ttyUSB1");
    c.setBaseName("/dev/ttyACM");
    EXPECT_EQ(c.getBaseName(), "/dev/ttyACM");
}

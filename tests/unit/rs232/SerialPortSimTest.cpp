// The port layer over simulated devices: every operation the program uses and its failure texts.

#include "SerialTestSupport.h"

#include <chrono>
#include <memory>
#include <regex>
#include <set>
#include <thread>

using rs232::IOException;
using rs232::SerialConfig;
using rs232::SerialPortLocal;
using serialtest::ioError;

namespace {

class SimPortTest : public serialtest::SerialFixture {
protected:
    void SetUp() override {
        SerialFixture::SetUp();
        serdrv_sim_create("COM3");
    }
};

} // namespace

TEST_F(SimPortTest, bytesArriveInOrderAndAnEmptyPortGivesMinusOne) {
    push("COM3", "AB\r\n");
    SerialPortLocal sp(config("COM3"));
    EXPECT_TRUE(sp.isOpen());
    EXPECT_EQ(sp.getByte(), 'A');
    EXPECT_EQ(sp.getByte(), 'B');
    EXPECT_EQ(sp.getByte(), '\r');
    EXPECT_EQ(sp.getByte(), '\n');
    EXPECT_EQ(sp.getByte(), -1);
    EXPECT_TRUE(sp.getReadSinceRxBufCheck());
    push("COM3", std::string("\xff\x00", 2));
    EXPECT_EQ(sp.getByte(), 255);
    EXPECT_EQ(sp.getByte(), 0);
}

TEST_F(SimPortTest, openFailuresNameThePortAndTheDriverReason) {
    const std::pair<int, const char*> cases[] = {
        {1002, "COM3: SerOpenPort failed: Port is in use"},
        {1003, "COM3: SerOpenPort failed: Port not valid"},
        {1004, "COM3: SerOpenPort failed: 2: No such device"},
        {1006, "COM3: SerOpenPort failed: Permission denied"},
        {1007, "COM3: SerOpenPort failed: Device busy"},
        {1008, "COM3: SerOpenPort failed: 19: No such device"},
        {1000, "COM3: SerOpenPort failed: Port is already open"},
        {2013, "COM3: SerOpenPort failed: 2013"},
    };
    for (const auto& [code, text] : cases) {
        serdrv_sim_fail_next_opens("COM3", code, 1);
        EXPECT_EQ(ioError([] { SerialPortLocal sp(config("COM3")); }), text);
        EXPECT_EQ(serdrv_sim_is_open("COM3"), 0);
    }
    // The failure was for one open only.
    SerialPortLocal sp(config("COM3"));
    EXPECT_TRUE(sp.isOpen());
    // A second open of the same port in this process.
    EXPECT_EQ(ioError([] { SerialPortLocal again(config("COM3")); }),
              "COM3: SerOpenPort failed: Port is already open");
}

TEST_F(SimPortTest, namesThatAreNoDeviceFailToOpenWithAClearReason) {
    EXPECT_EQ(ioError([] { SerialPortLocal sp(config("/nonexistent/ttyX")); }),
              "/nonexistent/ttyX: SerOpenPort failed: 2: No such device");
    EXPECT_EQ(ioError([] { SerialPortLocal sp(config("/dev/null")); }),
              "/dev/null: SerOpenPort failed: Port not valid");
    EXPECT_EQ(ioError([] { SerialPortLocal sp(config("")); }),
              ": SerOpenPort failed: Port not valid");
    EXPECT_EQ(ioError([] { SerialPortLocal sp(config("COM3\n;\x01 ../..")); }),
              "COM3\n;\x01 ../..: SerOpenPort failed: 2: No such device");
}

TEST_F(SimPortTest, openingAppliesTheConfigurationAndTheTimeouts) {
    SerialConfig c = config("COM3");
    c.setBitRate(SerialConfig::BR_2400);
    c.setDataBits(SerialConfig::LN_7BITS);
    c.setParity(SerialConfig::PY_EVEN);
    c.setStopBits(SerialConfig::ST_2BITS);
    SerialPortLocal sp(c);
    SerdrvConfig seen{};
    ASSERT_EQ(serdrv_sim_get_config("COM3", &seen), 0);
    EXPECT_EQ(seen.bitRate, SerialConfig::BR_2400);
    EXPECT_EQ(seen.dataBits, SerialConfig::LN_7BITS);
    EXPECT_EQ(seen.parity, SerialConfig::PY_EVEN);
    EXPECT_EQ(seen.stopBits, SerialConfig::ST_2BITS);
    EXPECT_EQ(seen.hardFlow, 0); // forced off everywhere but Windows 95
    EXPECT_EQ(seen.port, sp.getPortNum() + 1);
    EXPECT_FALSE(sp.getConfig().getHardFlow());
    EXPECT_EQ(sp.getTimeoutRx(), 0);
    // 240 characters per second, 4166 us each, 4096 * 4166 / 1000 * 100.
    EXPECT_EQ(sp.getTimeoutTx(), 1706300);
    EXPECT_EQ(sp.getPortName(), "COM3");
    EXPECT_EQ(sp.getBitRate(), SerialConfig::BR_2400);
}

TEST_F(SimPortTest, transmitTimeoutFollowsTheBitRateAndBufferSize) {
    SerialPortLocal sp(config("COM3"));
    EXPECT_EQ(sp.getTimeoutTx(), 426300); // 9600 bit/s, 4096 bytes
}

TEST_F(SimPortTest, bitRatesInBitsPerSecondBecomeIndexesWhereTheDriverNeedsThem) {
    forceOs("OS/2"); // Windows family, but without rates in bit/s
    SerialConfig c = config("COM3");
    c.setBitRate(9600);
    {
        SerialPortLocal sp(c);
        SerdrvConfig seen{};
        serdrv_sim_get_config("COM3", &seen);
        EXPECT_EQ(seen.bitRate, 7);
    }
    c.setBitRate(12345);
    EXPECT_EQ(ioError([&] { SerialPortLocal sp(c); }), "Unsupported Serial Port Bit Rate");
    EXPECT_EQ(serdrv_sim_is_open("COM3"), 0) << "a port that fails to configure is closed again";

    forceOs("Windows 10"); // rates pass unchanged
    c.setBitRate(9600);
    SerialPortLocal sp(c);
    SerdrvConfig seen{};
    serdrv_sim_get_config("COM3", &seen);
    EXPECT_EQ(seen.bitRate, 9600);
}

TEST_F(SimPortTest, aDeviceThatKeepsOtherSettingsFailsToConfigureNamingWhatItDidNotTake) {
    SerdrvConfig held{}; // an adapter that only does 9600 8N1
    held.bitRate = 7;
    held.dataBits = 3;
    ASSERT_EQ(serdrv_sim_hold_settings("COM3", &held), 0);
    SerialConfig c = config("COM3");
    c.setBitRate(SerialConfig::BR_19200);
    c.setDataBits(SerialConfig::LN_7BITS);
    c.setParity(SerialConfig::PY_EVEN);
    c.setStopBits(SerialConfig::ST_2BITS);
    EXPECT_EQ(ioError([&] { SerialPortLocal sp(c); }),
              "Configure failed: the device did not take 19200 bit/s, 7 data bits, parity EVEN, "
              "2 stop bits");
    EXPECT_EQ(serdrv_sim_is_open("COM3"), 0) << "a port that fails to configure is closed again";
    c.setBitRate(9600); // in bit/s, as the window gives it
    c.setStopBits(SerialConfig::ST_1BITS);
    EXPECT_EQ(ioError([&] { SerialPortLocal sp(c); }),
              "Configure failed: the device did not take 7 data bits, parity EVEN");
    SerialPortLocal sp(config("COM3"));
    EXPECT_TRUE(sp.isOpen());
}

TEST_F(SimPortTest, markAndSpaceParityNeedThePlatformFlag) {
    SerialConfig c = config("COM3");
    c.setParity(SerialConfig::PY_MARK);
    { SerialPortLocal linuxPort(c); } // Linux drivers take mark and space
    forceOs("Solaris");
    EXPECT_EQ(ioError([&] { SerialPortLocal sp(c); }), "Unsupported Mark/Space parity");
    c.setParity(SerialConfig::PY_EVEN);
    SerialPortLocal sp(c);
    EXPECT_TRUE(sp.isOpen());
}

TEST_F(SimPortTest, modemLinesAreDrivenAndRead) {
    SerialPortLocal sp(config("COM3"));
    sp.setDTR(true);
    sp.setRTS(false);
    EXPECT_EQ(serdrv_sim_get_line("COM3", SERDRV_SIM_DTR), 1);
    EXPECT_EQ(serdrv_sim_get_line("COM3", SERDRV_SIM_RTS), 0);
    EXPECT_FALSE(sp.sigDSR());
    EXPECT_FALSE(sp.sigCTS());
    serdrv_sim_set_line("COM3", SERDRV_SIM_CTS, 1);
    serdrv_sim_set_line("COM3", SERDRV_SIM_CD, 1);
    EXPECT_TRUE(sp.sigCTS());
    EXPECT_FALSE(sp.sigDSR());
    EXPECT_TRUE(sp.sigCD());
    EXPECT_FALSE(sp.sigRing());
    serdrv_sim_set_line("COM3", SERDRV_SIM_RI, 1);
    EXPECT_TRUE(sp.sigRing());

    serdrv_sim_set_loopback("COM3", 1); // DTR -> DSR, RTS -> CTS
    EXPECT_TRUE(sp.sigDSR());
    EXPECT_FALSE(sp.sigCTS());
    sp.setDTR(false);
    sp.setRTS(true);
    EXPECT_FALSE(sp.sigDSR());
    EXPECT_TRUE(sp.sigCTS());
}

TEST_F(SimPortTest, errorIndicationsAreReportedOnceAfterTheMarkedByte) {
    SerialPortLocal sp(config("COM3"));
    push("COM3", "a");
    serdrv_sim_mark_parity_error("COM3");
    push("COM3", "b");
    serdrv_sim_mark_framing_error("COM3");
    push("COM3", "c");
    EXPECT_EQ(sp.getByte(), 'a');
    EXPECT_FALSE(sp.sigParityErr());
    EXPECT_FALSE(sp.sigFrameErr());
    EXPECT_EQ(sp.getByte(), 'b');
    EXPECT_TRUE(sp.sigParityErr());
    EXPECT_FALSE(sp.sigParityErr()) << "reported once";
    EXPECT_FALSE(sp.sigFrameErr());
    EXPECT_EQ(sp.getByte(), 'c');
    EXPECT_TRUE(sp.sigFrameErr());
    EXPECT_FALSE(sp.sigFrameErr());

    serdrv_sim_mark_overrun("COM3");
    push("COM3", "de");
    EXPECT_EQ(sp.getByte(), 'e') << "the overrun byte is lost";
    EXPECT_TRUE(sp.sigOverrun());
    EXPECT_FALSE(sp.sigOverrun());
    EXPECT_FALSE(sp.sigBreak());
    EXPECT_FALSE(sp.rxOverflow());

    // A batch ends at a marked byte, so that the indication belongs to its last byte.
    push("COM3", "fg");
    serdrv_sim_mark_parity_error("COM3");
    push("COM3", "h");
    push("COM3", "ij");
    std::vector<uint8_t> buf(16);
    EXPECT_EQ(sp.readAvailable(buf, 0), 3);
    EXPECT_TRUE(sp.sigParityErr());
    EXPECT_EQ(sp.readAvailable(buf, 0), 2);
    EXPECT_EQ(std::string(buf.begin(), buf.begin() + 2), "ij");
    EXPECT_FALSE(sp.sigParityErr());
}

TEST_F(SimPortTest, operationsOnAClosedPortNameTheOperation) {
    SerialPortLocal sp(config("COM3"));
    sp.close();
    EXPECT_FALSE(sp.isOpen());
    EXPECT_EQ(sp.getPortNum(), -1);
    const std::pair<std::function<void()>, const char*> cases[] = {
        {[&] { sp.setDTR(true); }, "setDTR: Port not open"},
        {[&] { sp.setRTS(true); }, "setRTS: Port not open"},
        {[&] { sp.sigCTS(); }, "sigCTS: Port not open"},
        {[&] { sp.sigDSR(); }, "sigDSR: Port not open"},
        {[&] { sp.sigCD(); }, "sigCD: Port not open"},
        {[&] { sp.sigRing(); }, "sigRing: Port not open"},
        {[&] { sp.sigBreak(); }, "sigBreak: Port not open"},
        {[&] { sp.sigFrameErr(); }, "sigFrameErr: Port not open"},
        {[&] { sp.sigOverrun(); }, "sigOverrun: Port not open"},
        {[&] { sp.sigParityErr(); }, "sigParityErr: Port not open"},
        {[&] { sp.rxOverflow(); }, "rxOverflow: Port not open"},
        {[&] { sp.sendBreak(10); }, "sendBreak: Port not open"},
        {[&] { sp.txBufCount(); }, "txBufCount: Port not open"},
        {[&] { sp.rxReadyCount(); }, "rxReadyCount failed"},
        {[&] { sp.rxFlush(); }, "rxFlush failed"},
        {[&] { sp.txFlush(); }, "txFlush failed"},
        {[&] { sp.txDrain(); }, "txDrain failed"},
        {[&] { sp.setTimeoutRx(5); }, "setTimeoutRx failed"},
        {[&] { sp.setTimeoutTx(5); }, "setTimeoutTx failed"},
        {[&] { sp.configure(); }, "configure: Port is not open"},
        {[&] { sp.reset(); }, "reset: Port is not open"},
        {[&] { sp.getByte(); }, "getByte failed"},
        {[&] { sp.putByte('x'); }, "PutByte failed: -1"},
    };
    for (const auto& [op, text] : cases)
        EXPECT_EQ(ioError(op), text);
    EXPECT_NO_THROW(sp.close());
    EXPECT_NO_THROW(sp.close());
}

TEST_F(SimPortTest, unsupportedOperationsNameTheOsBeforeLookingAtTheState) {
    forceOs("Plan 9");
    SerialPortLocal sp(config("COM3"));
    const std::pair<std::function<void()>, const char*> cases[] = {
        {[&] { sp.setDTR(true); }, "setDTR not supported on Plan 9"},
        {[&] { sp.setRTS(true); }, "setRts not supported on Plan 9"},
        {[&] { sp.sigCD(); }, "sigCD not supported on Plan 9"},
        {[&] { sp.sigRing(); }, "sigRing not supported on Plan 9"},
        {[&] { sp.sigBreak(); }, "sigBreak not supported on Plan 9"},
        {[&] { sp.sigFrameErr(); }, "sigFrameErr not supported on Plan 9"},
        {[&] { sp.sigOverrun(); }, "sigOverrun not supported on Plan 9"},
        {[&] { sp.sigParityErr(); }, "sigParityErr not supported on Plan 9"},
        {[&] { sp.rxOverflow(); }, "rxOverflow not supported on Plan 9"},
        {[&] { sp.txBufCount(); }, "txBufCount not supported on Plan 9"},
        {[&] { sp.rxReadyCount(); }, "rxReadyCount not supported on Plan 9"},
    };
    for (const auto& [op, text] : cases)
        EXPECT_EQ(ioError(op), text);
    // Lines without a flag still work, as does sending a break.
    EXPECT_FALSE(sp.sigCTS());
    EXPECT_NO_THROW(sp.sendBreak(1));
    EXPECT_FALSE(sp.isSupported("setDTR"));
    EXPECT_TRUE(sp.isSupported("sendBreak"));

    sp.close();
    EXPECT_EQ(ioError([&] { sp.setDTR(true); }), "setDTR not supported on Plan 9");
    EXPECT_EQ(ioError([&] { sp.sigCTS(); }), "sigCTS: Port not open");
}

TEST_F(SimPortTest, withoutDriverTimeoutsTheLayerWaitsForTheReceiveTimeout) {
    forceOs("Plan 9"); // receive timeouts measured by the layer
    SerialPortLocal sp(config("COM3"));
    EXPECT_EQ(sp.getByte(), -1);
    sp.setTimeoutRx(5000);
    std::thread device([] {
        std::this_thread::sleep_for(std::chrono::milliseconds(50));
        push("COM3", "xyz");
    });
    EXPECT_EQ(sp.getByte(), 'x'); // waited for the byte instead of giving up at once
    device.join();
    std::vector<uint8_t> buf(2);
    EXPECT_EQ(sp.getData(buf), 2);
    EXPECT_EQ(buf[0], 'y');
    sp.setTimeoutRx(20);
    EXPECT_EQ(sp.getByte(), -1);
    push("COM3", "p");
    std::vector<uint8_t> three(3);
    EXPECT_EQ(sp.getData(three), 0) << "fewer than asked for before the deadline";
}

TEST_F(SimPortTest, aVanishedDeviceIsAnErrorNotAnEndlessStreamOfNoData) {
    SerialPortLocal sp(config("COM3"));
    push("COM3", "1");
    EXPECT_EQ(sp.getByte(), '1');
    serdrv_sim_unplug("COM3");
    EXPECT_EQ(ioError([&] { sp.getByte(); }), "getByte failed");
    std::vector<uint8_t> buf(4);
    EXPECT_EQ(ioError([&] { sp.getData(buf); }), "getData: failed");
    EXPECT_EQ(ioError([&] { sp.sigDSR(); }), "sigDSR failed");
    EXPECT_EQ(ioError([&] { sp.setDTR(true); }), "setDTR failed");
    EXPECT_EQ(ioError([&] { sp.putString("abc"); }), "PutString: sent only 0 of 3 bytes");
    EXPECT_NO_THROW(sp.close());
    EXPECT_EQ(ioError([] { SerialPortLocal again(config("COM3")); }),
              "COM3: SerOpenPort failed: 2: No such device");
    serdrv_sim_replug("COM3");
    SerialPortLocal again(config("COM3"));
    EXPECT_TRUE(again.isOpen());

    serdrv_sim_destroy("COM3");
    EXPECT_EQ(ioError([&] { again.getByte(); }), "getByte failed");
}

TEST_F(SimPortTest, deviceStateSurvivesCloseAndReopen) {
    push("COM3", "xy");
    serdrv_sim_set_line("COM3", SERDRV_SIM_DSR, 1);
    {
        SerialPortLocal sp(config("COM3"));
        EXPECT_EQ(sp.getByte(), 'x');
        sp.setDTR(true);
    }
    EXPECT_EQ(serdrv_sim_is_open("COM3"), 0) << "discarding the object closes the port";
    SerialPortLocal sp(config("COM3"));
    EXPECT_EQ(sp.getByte(), 'y');
    EXPECT_TRUE(sp.sigDSR());
    EXPECT_EQ(serdrv_sim_get_line("COM3", SERDRV_SIM_DTR), 1);
}

TEST_F(SimPortTest, writesReachTheDeviceAndBoundsAreChecked) {
    SerialPortLocal sp(config("COM3"));
    sp.putByte('A');
    const uint8_t data[] = {'0', '1', '2', '3', '4'};
    sp.putData(data);
    sp.putData(data, 2);
    sp.putData(data, 3, 2);
    sp.putString("S\r\n");
    EXPECT_EQ(written("COM3"), "A012340134S\r\n");
    EXPECT_TRUE(sp.getSendSinceTxBufEmpty());
    EXPECT_EQ(ioError([&] { sp.putData(data, 6); }), "putData: count out of bounds");
    EXPECT_EQ(ioError([&] { sp.putData(data, -1); }), "putData: count out of bounds");
    EXPECT_EQ(ioError([&] { sp.putData(data, 4, 2); }), "putData3: count out of bounds");
    EXPECT_EQ(ioError([&] { sp.putData(data, -1, 1); }), "putData3: count out of bounds");
    EXPECT_EQ(written("COM3"), "") << "nothing was sent for refused calls";
    serdrv_sim_unplug("COM3");
    EXPECT_EQ(ioError([&] { sp.putData(data); }), "PutData1: Sent only 0 of 5 bytes");
    EXPECT_EQ(ioError([&] { sp.putData(data, 2); }), "PutData2: Sent only 0 of 2 bytes");
    EXPECT_EQ(ioError([&] { sp.putData(data, 1, 2); }), "putData3: Sent only 0 of 2 bytes");
    EXPECT_EQ(ioError([&] { sp.putByte(1); }), "PutByte failed: -1");
}

TEST_F(SimPortTest, getDataFillsFromTheOffsetAndFlushDiscardsInput) {
    SerialPortLocal sp(config("COM3"));
    push("COM3", "hello");
    EXPECT_EQ(sp.rxReadyCount(), 5);
    std::vector<uint8_t> buf(6, '.');
    EXPECT_EQ(sp.getData(buf, 2, 3), 3);
    EXPECT_EQ(std::string(buf.begin(), buf.end()), "..hel.");
    EXPECT_EQ(sp.getData(buf, 5, 10), 1) << "never beyond the buffer";
    EXPECT_EQ(buf[5], 'l');
    EXPECT_EQ(ioError([&] { sp.getData(buf, 7, 1); }), "getData: count out of bounds");
    push("COM3", "junk");
    sp.rxFlush();
    EXPECT_EQ(sp.rxReadyCount(), 0);
    EXPECT_EQ(sp.getByte(), -1);
}

TEST_F(SimPortTest, resetReopensWithTheSameSettingsAndTransmitTimeout) {
    SerialConfig c = config("COM3");
    c.setBitRate(SerialConfig::BR_19200);
    SerialPortLocal sp(c);
    sp.setTimeoutTx(1234);
    sp.reset();
    EXPECT_TRUE(sp.isOpen());
    EXPECT_EQ(sp.getTimeoutTx(), 1234);
    SerdrvConfig seen{};
    serdrv_sim_get_config("COM3", &seen);
    EXPECT_EQ(seen.bitRate, SerialConfig::BR_19200);
    EXPECT_EQ(ioError([&] { sp.resetPortDriver(); }), "resetPortDriver: Port must be closed");
    sp.close();
    EXPECT_NO_THROW(sp.resetPortDriver());

    SerialPortLocal other(c);
    serdrv_sim_fail_next_opens("COM3", 1007, 1);
    EXPECT_EQ(ioError([&] { other.reset(); }), "reset: SerOpenPort failed: 1007");
    EXPECT_FALSE(other.isOpen());
}

TEST_F(SimPortTest, linuxSupportsEveryOperationTheProgramUses) {
    SerialPortLocal sp(config("COM3"));
    for (const char* f :
         {"sigCTS", "sigDSR", "sigCD", "sigRing", "setRTS", "setDTR", "sigFrameErr", "sigParityErr",
          "sigOverrun", "rxOverflow", "rxReadyCount", "txBufCount", "getPortList", "supDriverInfo",
          "ParityMarkSpace", "noIndexBitRate", "sendBreak", "sigBreak"})
        EXPECT_TRUE(sp.isSupported(f)) << f;
    EXPECT_FALSE(sp.isSupported("setPowerMode"));
    EXPECT_FALSE(sp.isSupported("no such feature"));
    EXPECT_EQ(sp.getLibVer(), SERDRV_ABI_VERSION);
    EXPECT_EQ(sp.getName(), "Serial Port");
    EXPECT_EQ(SerialPortLocal::getMaxBitRate(), 921600);
    EXPECT_FALSE(SerialPortLocal::isOsFamilyWindows());
}

TEST_F(SimPortTest, demoDeviceStreamsBalanceLines) {
    serdrv_sim_enable_demo();
    SerialPortLocal sp(config("DEMO"));
    std::vector<std::string> lines;
    std::string line;
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(10);
    while (lines.size() < 4 && std::chrono::steady_clock::now() < deadline) {
        const int b = sp.getByte();
        if (b < 0) {
            std::this_thread::sleep_for(std::chrono::milliseconds(5));
            continue;
        }
        line += static_cast<char>(b);
        if (b == '\r') {
            lines.push_back(std::exchange(line, {}));
        }
    }
    ASSERT_EQ(lines.size(), 4u);
    const std::regex shape(R"(ST,\+\d{6}\.\d{2}  g\r)");
    for (const auto& l : lines)
        EXPECT_TRUE(std::regex_match(l, shape)) << l;
    EXPECT_GT(std::set<std::string>(lines.begin(), lines.end()).size(), 1u) << "the value changes";
}

TEST_F(SimPortTest, windows95HardFlowRunsAFlowControlTaskUntilClose) {
    forceOs("Windows 95");
    SerialConfig c = config("COM3");
    c.setHandshake(SerialConfig::HS_CTSRTS);
    takeDiagnostics();
    {
        SerialPortLocal sp(c);
        EXPECT_TRUE(sp.getConfig().getHardFlow()) << "kept on Windows 95 only";
        EXPECT_EQ(takeDiagnostics(), std::vector<std::string>{"FlowControlTask created"});
        sp.configure(); // replaces the task
        EXPECT_EQ(takeDiagnostics(), std::vector<std::string>{"FlowControlTask created"});
        sp.close();
    }
    c.setHardFlow(false);
    SerialPortLocal sp(c);
    EXPECT_TRUE(takeDiagnostics().empty());
}

namespace {
struct Notices : rs232::DeviceNotificationCallback {
    std::mutex m;
    std::vector<std::string> seen;
    void deviceNotification(bool arrived, const std::string& name) override {
        std::lock_guard lock(m);
        seen.push_back((arrived ? "+" : "-") + name);
    }
};
} // namespace

TEST_F(SimPortTest, deviceArrivalAndRemovalReachTheRegisteredCallback) {
    Notices notices;
    SerialPortLocal::registerDeviceNotification(&notices);
    serdrv_sim_create("COM9");
    serdrv_sim_unplug("COM9");
    serdrv_sim_replug("COM9");
    serdrv_sim_destroy("COM9");
    SerialPortLocal::registerDeviceNotification(nullptr);
    serdrv_sim_create("COM8");
    EXPECT_EQ(notices.seen, (std::vector<std::string>{"+COM9", "-COM9", "+COM9", "-COM9"}));
    const auto lines = takeDiagnostics();
    EXPECT_EQ(std::count(lines.begin(), lines.end(), "rs232.deviceNotification"), 4);
}

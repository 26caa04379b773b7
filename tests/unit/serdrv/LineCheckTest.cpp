// Settings read back after configuring, against a fake device that keeps what it likes: what a
// real device refuses is reported; on a virtual port only the rate and the stop bits count.

#include "LineCheck.h"

#include <gtest/gtest.h>

#include <optional>

using serdrv::LineSettings;

namespace {

// A device that takes the call and then holds its own idea of some settings.
class FakeDevice : public serdrv::LineDevice {
public:
    std::optional<int> keepsRate, keepsDataBits, keepsParity, keepsStopBits;
    std::optional<bool> keepsHandshake;
    bool refusesFraming = false; // refuses a call that asks other than 8N1
    bool unreadable = false;
    int calls = 0;

    bool apply(const LineSettings& s) override {
        ++calls;
        if (refusesFraming && (s.dataBits != 8 || s.parity != 0))
            return false;
        held = s;
        return true;
    }
    bool read(LineSettings& out) override {
        if (unreadable)
            return false;
        out = held;
        out.bitsPerSecond = keepsRate.value_or(held.bitsPerSecond);
        out.dataBits = keepsDataBits.value_or(held.dataBits);
        out.parity = keepsParity.value_or(held.parity);
        out.stopBits = keepsStopBits.value_or(held.stopBits);
        out.hardwareHandshake = keepsHandshake.value_or(held.hardwareHandshake);
        return true;
    }
    LineSettings held;
};

LineSettings asked(int rate, int dataBits, int parity, int stopBits, bool rtsCts = false) {
    LineSettings s;
    s.bitsPerSecond = rate;
    s.dataBits = dataBits;
    s.parity = parity;
    s.stopBits = stopBits;
    s.hardwareHandshake = rtsCts;
    return s;
}

struct Case {
    const char* what;
    void (*device)(FakeDevice&);
    LineSettings wanted;
    int onRealPort;    // result of applyAndVerify
    int onVirtualPort; // the same on a pseudo-terminal
};

constexpr int kRefused = SERDRV_ERR_REFUSED;

const Case kCases[] = {
    {"a device that takes everything", [](FakeDevice&) {}, asked(9600, 7, 2, 1), 0, 0},
    {"a pty keeping 8 bits without parity",
     [](FakeDevice& d) {
         d.keepsDataBits = 8;
         d.keepsParity = 0;
     },
     asked(2400, 7, 2, 1), kRefused + SERDRV_REFUSED_DATA_BITS + SERDRV_REFUSED_PARITY, 0},
    {"a UART that cannot make the rate", [](FakeDevice& d) { d.keepsRate = 230400; },
     asked(250000, 8, 0, 1), kRefused + SERDRV_REFUSED_BIT_RATE,
     kRefused + SERDRV_REFUSED_BIT_RATE},
    {"a rate within two per cent", [](FakeDevice& d) { d.keepsRate = 248000; },
     asked(250000, 8, 0, 1), 0, 0},
    {"a rate just beyond two per cent", [](FakeDevice& d) { d.keepsRate = 244000; },
     asked(250000, 8, 0, 1), kRefused + SERDRV_REFUSED_BIT_RATE,
     kRefused + SERDRV_REFUSED_BIT_RATE},
    {"one stop bit kept", [](FakeDevice& d) { d.keepsStopBits = 1; }, asked(9600, 8, 0, 2),
     kRefused + SERDRV_REFUSED_STOP_BITS, kRefused + SERDRV_REFUSED_STOP_BITS},
    {"no mark parity", [](FakeDevice& d) { d.keepsParity = 1; }, asked(9600, 7, 3, 1),
     kRefused + SERDRV_REFUSED_PARITY, 0},
    {"no hardware handshake", [](FakeDevice& d) { d.keepsHandshake = false; },
     asked(9600, 8, 0, 1, true), kRefused + SERDRV_REFUSED_HANDSHAKE, 0},
    {"a call refused for 7 bits (older kernels' pty)",
     [](FakeDevice& d) { d.refusesFraming = true; }, asked(4800, 7, 2, 2), SERDRV_ERR_CONFIGURE, 0},
    {"settings that cannot be read back", [](FakeDevice& d) { d.unreadable = true; },
     asked(9600, 8, 0, 1), SERDRV_ERR_CONFIGURE, SERDRV_ERR_CONFIGURE},
};

} // namespace

TEST(LineCheck, whatTheDeviceKeptIsReportedAndVirtualPortsOnlyCountRateAndStopBits) {
    for (const Case& c : kCases) {
        for (const bool virtualPort : {false, true}) {
            FakeDevice device;
            c.device(device);
            EXPECT_EQ(serdrv::applyAndVerify(device, c.wanted, virtualPort),
                      virtualPort ? c.onVirtualPort : c.onRealPort)
                << c.what << (virtualPort ? " (virtual port)" : " (real port)");
        }
    }
}

TEST(LineCheck, aVirtualPortThatRefusesTheFramingGetsEightBitsAtTheAskedRateAndStopBits) {
    FakeDevice device;
    device.refusesFraming = true;
    EXPECT_EQ(serdrv::applyAndVerify(device, asked(4800, 7, 2, 2), true), 0);
    EXPECT_EQ(device.calls, 2);
    EXPECT_EQ(device.held, asked(4800, 8, 0, 2));
}

TEST(LineCheck, configurationCodesBecomeSettingsAndImpossibleValuesAreRefused) {
    SerdrvConfig c{};
    c.bitRate = 7;
    c.dataBits = 2;
    c.parity = 2;
    c.stopBits = 1;
    c.handshake = 0x20;
    LineSettings s;
    ASSERT_EQ(serdrv::wantedSettings(c, s), 0);
    EXPECT_EQ(s, asked(9600, 7, 2, 2, true));
    for (const int rate : {15, 30, 49, 4000001}) {
        c.bitRate = rate;
        EXPECT_EQ(serdrv::wantedSettings(c, s), SERDRV_ERR_BAD_BIT_RATE) << rate;
    }
    for (const int rate : {50, 250000, 4000000}) {
        c.bitRate = rate;
        EXPECT_EQ(serdrv::wantedSettings(c, s), 0) << rate;
        EXPECT_EQ(s.bitsPerSecond, rate);
    }
    c.bitRate = 7;
    c.parity = 5;
    EXPECT_EQ(serdrv::wantedSettings(c, s), SERDRV_ERR_BAD_FRAMING);
}

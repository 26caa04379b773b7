#pragma once

// The line settings a device holds, compared with the ones asked for: a device (or its driver)
// may take a configuration call and silently keep something else.

#include "serdrv.h"

namespace serdrv {

struct LineSettings {
    int bitsPerSecond = 9600;
    int dataBits = 8; // 5..8
    int parity = 0;   // 0 none, 1 odd, 2 even, 3 mark, 4 space
    int stopBits = 1; // 1 or 2
    bool hardwareHandshake = false;
    // XON/XOFF is done by the line discipline, not the device: applied, never compared.
    bool xonXoffIn = false;
    bool xonXoffOut = false;

    friend bool operator==(const LineSettings&, const LineSettings&) = default;
};

// A bit rate as configured (an index 0..14 into the standard rates, or bit/s) in bit/s.
int bitsPerSecond(int bitRate);

// The settings a configuration asks for. Returns 0, or SERDRV_ERR_BAD_BIT_RATE /
// SERDRV_ERR_BAD_FRAMING for values no device can take.
int wantedSettings(const SerdrvConfig& config, LineSettings& out);

// The device side of a configuration: the real terminal, or a fake in tests.
class LineDevice {
public:
    virtual ~LineDevice() = default;
    // Puts the device in raw mode with these settings; false when it refused the call.
    virtual bool apply(const LineSettings& settings) = 0;
    // The settings the device holds now; false when it cannot tell.
    virtual bool read(LineSettings& out) = 0;
};

// The SERDRV_REFUSED_* bits of what got differs from wanted. A rate within 2 % counts as the
// same (a UART divides its clock; that much is within what a line tolerates). On a virtual port
// only the rate and the stop bits count.
int refusedBits(const LineSettings& wanted, const LineSettings& got, bool virtualPort);

// Applies wanted and reads it back: 0, SERDRV_ERR_CONFIGURE when the device refused the call or
// cannot tell its settings, or SERDRV_ERR_REFUSED + refusedBits. A virtual port that refuses
// the call (older kernels refuse 7 data bits on a pseudo-terminal) is given 8 bits without
// parity instead.
int applyAndVerify(LineDevice& device, const LineSettings& wanted, bool virtualPort);

} // namespace serdrv

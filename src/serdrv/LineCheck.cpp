#include "LineCheck.h"

#include <cstdlib>

namespace serdrv {

int bitsPerSecond(int bitRate) {
    static constexpr int kStandardRates[] = {110,   150,    300,    600,    1200,
                                             2400,  4800,   9600,   19200,  38400,
                                             57600, 115200, 230400, 460800, 921600};
    return bitRate >= 0 && bitRate <= 14 ? kStandardRates[bitRate] : bitRate;
}

int wantedSettings(const SerdrvConfig& c, LineSettings& out) {
    const int rate = bitsPerSecond(c.bitRate);
    if (rate < SERDRV_MIN_BIT_RATE || rate > SERDRV_MAX_BIT_RATE)
        return SERDRV_ERR_BAD_BIT_RATE;
    if (c.dataBits < 0 || c.dataBits > 3 || c.parity < 0 || c.parity > 4 || c.stopBits < 0 ||
        c.stopBits > 1)
        return SERDRV_ERR_BAD_FRAMING;
    out.bitsPerSecond = rate;
    out.dataBits = 5 + c.dataBits;
    out.parity = c.parity;
    out.stopBits = 1 + c.stopBits;
    const int hs = c.handshake;
    out.hardwareHandshake = hs == 2 || (hs & 0x30) != 0;
    out.xonXoffIn = hs == 1 || (hs & 0x40) != 0;
    out.xonXoffOut = hs == 1 || (hs & 0x80) != 0;
    return 0;
}

int refusedBits(const LineSettings& wanted, const LineSettings& got, bool virtualPort) {
    int bits = 0;
    const long long off = std::llabs(static_cast<long long>(got.bitsPerSecond) -
                                     static_cast<long long>(wanted.bitsPerSecond));
    if (off * 50 > wanted.bitsPerSecond)
        bits |= SERDRV_REFUSED_BIT_RATE;
    if (got.stopBits != wanted.stopBits)
        bits |= SERDRV_REFUSED_STOP_BITS;
    if (virtualPort)
        return bits;
    if (got.dataBits != wanted.dataBits)
        bits |= SERDRV_REFUSED_DATA_BITS;
    if (got.parity != wanted.parity)
        bits |= SERDRV_REFUSED_PARITY;
    if (got.hardwareHandshake != wanted.hardwareHandshake)
        bits |= SERDRV_REFUSED_HANDSHAKE;
    return bits;
}

int applyAndVerify(LineDevice& device, const LineSettings& wanted, bool virtualPort) {
    if (!device.apply(wanted)) {
        LineSettings plain = wanted;
        plain.dataBits = 8;
        plain.parity = 0;
        plain.hardwareHandshake = false;
        plain.xonXoffIn = plain.xonXoffOut = false;
        if (!virtualPort || !device.apply(plain))
            return SERDRV_ERR_CONFIGURE;
    }
    LineSettings got;
    if (!device.read(got))
        return SERDRV_ERR_CONFIGURE;
    const int bits = refusedBits(wanted, got, virtualPort);
    return bits == 0 ? 0 : SERDRV_ERR_REFUSED + bits;
}

} // namespace serdrv

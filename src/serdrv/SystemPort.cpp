#include "SystemPort.h"

namespace serdrv {

int SystemPort::getByte(int timeoutMs) {
    uint8_t b = 0;
    const int n = readSome(&b, 1, timeoutMs);
    return n == 1 ? b : n == 0 ? SERDRV_NO_DATA : SERDRV_DEVICE_FAILED;
}

int SystemPort::getData(uint8_t* buffer, int count, int timeoutMs) {
    if (count == 0)
        return failed_ ? -1 : 0;
    return readSome(buffer, count, timeoutMs);
}

} // namespace serdrv

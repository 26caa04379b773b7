#pragma once

// What the operating systems' back-ends share: reading bytes through one OS read, and a device
// that stays failed once it has failed or hung up.

#include "Backend.h"

namespace serdrv {

class SystemPort : public Port {
public:
    int getByte(int timeoutMs) final;
    int getData(uint8_t* buffer, int count, int timeoutMs) final;

protected:
    // Bytes read into buffer (0 when none arrived within timeoutMs), -1 when the device failed
    // or hung up (the back-end then calls fail()).
    virtual int readSome(uint8_t* buffer, int count, int timeoutMs) = 0;

    int fail() {
        failed_ = true;
        return -1;
    }

    bool failed_ = false;
};

} // namespace serdrv

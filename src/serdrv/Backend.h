#pragma once

// Inside the driver library: one open device, whatever back-end serves it.

#include "serdrv.h"

#include <memory>
#include <string>

namespace serdrv {

class Port {
public:
    virtual ~Port() = default;

    virtual int configure(const SerdrvConfig& config) = 0;
    // Next byte, SERDRV_NO_DATA when nothing arrives within timeoutMs (0: do not wait),
    // SERDRV_DEVICE_FAILED when the device failed or hung up.
    virtual int getByte(int timeoutMs) = 0;
    // Up to count bytes, waiting up to timeoutMs for the first; -1 when the device failed.
    virtual int getData(uint8_t* buffer, int count, int timeoutMs) = 0;
    // Bytes sent; -1 when the device failed before anything was sent.
    virtual int putData(const uint8_t* buffer, int count, int timeoutMs) = 0;

    virtual int rxReadyCount() = 0;
    virtual int txBufCount() = 0;
    virtual int rxFlush() = 0;
    virtual int txFlush() = 0;
    virtual int txDrain() = 0;

    virtual int setDTR(bool on) = 0;
    virtual int setRTS(bool on) = 0;
    virtual int sigCTS() = 0;
    virtual int sigDSR() = 0;
    virtual int sigCD() = 0;
    virtual int sigRing() = 0;
    virtual int sigBreak() = 0;
    virtual int sigFrameErr() = 0;
    virtual int sigOverrun() = 0;
    virtual int sigParityErr() = 0;
    virtual int rxOverflow() = 0;
    virtual int sendBreak(int milliseconds) = 0;
};

using AddName = SerAddPortNameFn;
using AddInfo = SerAddPortInfoFn;

// The operating system's ports (posix/ or win/).
std::unique_ptr<Port> openSystemPort(const SerdrvConfig& config, int& code);
void listSystemPorts(AddName addName, AddInfo addInfo, void* ctx, bool (*skip)(const char* name));

// Simulated devices (sim/). openSimPort returns nullptr with handled = false when no simulated
// device has that name, so the system is asked instead.
std::unique_ptr<Port> openSimPort(const std::string& name, int& code, bool& handled);
void listSimPorts(AddName addName, AddInfo addInfo, void* ctx);
bool simDeviceExists(const char* name);
void setSimNotification(SerDeviceNotificationFn callback, void* ctx);

// Network instruments (tcp/): "tcp://HOST:PORT", HOST a name, an IPv4 address or [IPv6].
bool isTcpPortName(const std::string& name);
bool parseTcpPortName(const std::string& name, std::string& host, std::string& port);
std::unique_ptr<Port> openTcpPort(const std::string& name, int& code);

// Natural order: "ttyS2" before "ttyS10".
bool naturalLess(const std::string& a, const std::string& b);

} // namespace serdrv

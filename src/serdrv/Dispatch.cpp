// The exported Ser* functions: a table of open handles, each served by a simulated device, a
// network connection (tcp://) or the system's back-end.

#include "Backend.h"
#include "serdrv.h"

#include <cctype>
#include <mutex>
#include <string>
#include <vector>

namespace serdrv {
namespace {

struct Slot {
    std::shared_ptr<Port> port;
    std::string name;
    int timeoutRx = 0;
    int timeoutTx = 0;
};

std::mutex tableMutex;
std::vector<Slot> table;

std::shared_ptr<Port> portOf(int32_t handle) {
    std::lock_guard lock(tableMutex);
    if (handle < 0 || static_cast<size_t>(handle) >= table.size())
        return nullptr;
    return table[static_cast<size_t>(handle)].port;
}

int timeoutOf(int32_t handle, bool rx) {
    std::lock_guard lock(tableMutex);
    if (handle < 0 || static_cast<size_t>(handle) >= table.size() ||
        !table[static_cast<size_t>(handle)].port)
        return -1;
    const Slot& s = table[static_cast<size_t>(handle)];
    return rx ? s.timeoutRx : s.timeoutTx;
}

int setTimeout(int32_t handle, int32_t ms, bool rx) {
    if (ms < 0)
        return -1;
    std::lock_guard lock(tableMutex);
    if (handle < 0 || static_cast<size_t>(handle) >= table.size() ||
        !table[static_cast<size_t>(handle)].port)
        return -1;
    Slot& s = table[static_cast<size_t>(handle)];
    (rx ? s.timeoutRx : s.timeoutTx) = ms;
    return 0;
}

template <typename F> int32_t withPort(int32_t handle, F f) {
    auto p = portOf(handle);
    return p ? f(*p) : -1;
}

bool nameIsOpen(const std::string& name) {
    for (const auto& s : table)
        if (s.port && s.name == name)
            return true;
    return false;
}

} // namespace

bool naturalLess(const std::string& a, const std::string& b) {
    size_t i = 0, j = 0;
    while (i < a.size() && j < b.size()) {
        const auto ca = static_cast<unsigned char>(a[i]);
        const auto cb = static_cast<unsigned char>(b[j]);
        if (std::isdigit(ca) && std::isdigit(cb)) {
            size_t ei = i, ej = j;
            while (ei < a.size() && std::isdigit(static_cast<unsigned char>(a[ei])))
                ++ei;
            while (ej < b.size() && std::isdigit(static_cast<unsigned char>(b[ej])))
                ++ej;
            // Compare the numbers without converting them: strip leading zeros, then by length.
            size_t za = i, zb = j;
            while (za + 1 < ei && a[za] == '0')
                ++za;
            while (zb + 1 < ej && b[zb] == '0')
                ++zb;
            if (ei - za != ej - zb)
                return ei - za < ej - zb;
            const int c = a.compare(za, ei - za, b, zb, ej - zb);
            if (c != 0)
                return c < 0;
            i = ei;
            j = ej;
            continue;
        }
        if (ca != cb)
            return ca < cb;
        ++i;
        ++j;
    }
    return a.size() - i < b.size() - j;
}

} // namespace serdrv

using namespace serdrv;

extern "C" {

int32_t SerGetLibVer(void) {
    return SERDRV_ABI_VERSION;
}
const char* SerGetName(void) {
    return "serdrv";
}

int32_t SerOpenPort(SerdrvConfig* config) {
    if (!config || !config->portName || !*config->portName)
        return SERDRV_ERR_NOT_VALID;
    const std::string name = config->portName;
    {
        std::lock_guard lock(tableMutex);
        if (nameIsOpen(name))
            return SERDRV_ERR_ALREADY_OPEN;
    }
    int code = 0;
    bool handled = false;
    std::unique_ptr<Port> port = openSimPort(name, code, handled);
    if (!handled)
        port = isTcpPortName(name) ? openTcpPort(name, code) : openSystemPort(*config, code);
    if (!port)
        return code != 0 ? code : SERDRV_ERR_NOT_VALID;

    std::lock_guard lock(tableMutex);
    if (nameIsOpen(name)) // another thread won the race for the same name
        return SERDRV_ERR_ALREADY_OPEN;
    size_t index = 0;
    while (index < table.size() && table[index].port)
        ++index;
    if (index == table.size())
        table.emplace_back();
    table[index] = Slot{std::move(port), name, 0, 0};
    config->port = static_cast<int32_t>(index) + 1;
    return 0;
}

int32_t SerConfigure(const SerdrvConfig* config) {
    if (!config)
        return SERDRV_ERR_CONFIGURE;
    auto p = portOf(config->port - 1);
    return p ? p->configure(*config) : SERDRV_ERR_CONFIGURE;
}

int32_t SerClosePort(int32_t handle) {
    std::shared_ptr<Port> p;
    {
        std::lock_guard lock(tableMutex);
        if (handle < 0 || static_cast<size_t>(handle) >= table.size() ||
            !table[static_cast<size_t>(handle)].port)
            return -1;
        p = std::move(table[static_cast<size_t>(handle)].port);
        table[static_cast<size_t>(handle)] = Slot{};
    }
    return 0; // the device closes when the last user drops it
}

int32_t SerResetPortDriver(int32_t) {
    return 0;
} // nothing is kept between opens

int32_t SerGetByte(int32_t handle) {
    auto p = portOf(handle);
    return p ? p->getByte(timeoutOf(handle, true)) : SERDRV_DEVICE_FAILED;
}

int32_t SerGetData(int32_t handle, uint8_t* buffer, int32_t count) {
    if (count < 0 || (count > 0 && !buffer))
        return -1;
    auto p = portOf(handle);
    return p ? p->getData(buffer, count, timeoutOf(handle, true)) : -1;
}

int32_t SerPutByte(int32_t handle, int32_t byte) {
    auto p = portOf(handle);
    if (!p)
        return -1;
    const uint8_t b = static_cast<uint8_t>(byte);
    return p->putData(&b, 1, timeoutOf(handle, false)) == 1 ? 0 : -1;
}

int32_t SerPutData(int32_t handle, const uint8_t* buffer, int32_t count) {
    if (count < 0 || (count > 0 && !buffer))
        return -1;
    auto p = portOf(handle);
    return p ? p->putData(buffer, count, timeoutOf(handle, false)) : -1;
}

int32_t SerRxReadyCount(int32_t h) {
    return withPort(h, [](Port& p) { return p.rxReadyCount(); });
}
int32_t SerTxBufCount(int32_t h) {
    return withPort(h, [](Port& p) { return p.txBufCount(); });
}
int32_t SerRxFlush(int32_t h) {
    return withPort(h, [](Port& p) { return p.rxFlush(); });
}
int32_t SerTxFlush(int32_t h) {
    return withPort(h, [](Port& p) { return p.txFlush(); });
}
int32_t SerTxDrain(int32_t h) {
    return withPort(h, [](Port& p) { return p.txDrain(); });
}
int32_t SerSetDTR(int32_t h, int32_t on) {
    return withPort(h, [on](Port& p) { return p.setDTR(on != 0); });
}
int32_t SerSetRTS(int32_t h, int32_t on) {
    return withPort(h, [on](Port& p) { return p.setRTS(on != 0); });
}
int32_t SerSigCTS(int32_t h) {
    return withPort(h, [](Port& p) { return p.sigCTS(); });
}
int32_t SerSigDSR(int32_t h) {
    return withPort(h, [](Port& p) { return p.sigDSR(); });
}
int32_t SerSigCD(int32_t h) {
    return withPort(h, [](Port& p) { return p.sigCD(); });
}
int32_t SerSigRing(int32_t h) {
    return withPort(h, [](Port& p) { return p.sigRing(); });
}
int32_t SerSigBreak(int32_t h) {
    return withPort(h, [](Port& p) { return p.sigBreak(); });
}
int32_t SerSigFrameErr(int32_t h) {
    return withPort(h, [](Port& p) { return p.sigFrameErr(); });
}
int32_t SerSigOverrun(int32_t h) {
    return withPort(h, [](Port& p) { return p.sigOverrun(); });
}
int32_t SerSigParityErr(int32_t h) {
    return withPort(h, [](Port& p) { return p.sigParityErr(); });
}
int32_t SerRxOverflow(int32_t h) {
    return withPort(h, [](Port& p) { return p.rxOverflow(); });
}
int32_t SerSendBreak(int32_t h, int32_t ms) {
    if (ms < 0)
        return -1;
    return withPort(h, [ms](Port& p) { return p.sendBreak(ms); });
}

int32_t SerSetTimeoutRx(int32_t h, int32_t ms) {
    return setTimeout(h, ms, true);
}
int32_t SerSetTimeoutTx(int32_t h, int32_t ms) {
    return setTimeout(h, ms, false);
}
int32_t SerGetTimeoutRx(int32_t h) {
    return timeoutOf(h, true);
}
int32_t SerGetTimeoutTx(int32_t h) {
    return timeoutOf(h, false);
}

int32_t SerFlowTask(int32_t h) {
    return withPort(h, [](Port&) { return 0; });
}

int32_t SerGetPortList(SerAddPortNameFn addPortName, SerAddPortInfoFn addPortInfo, void* ctx) {
    listSimPorts(addPortName, addPortInfo, ctx);
    listSystemPorts(addPortName, addPortInfo, ctx, &simDeviceExists);
    return 0;
}

int32_t SerRegisterDeviceNotification(SerDeviceNotificationFn callback, void* ctx) {
    if (!callback)
        return -1;
    setSimNotification(callback, ctx);
    return 0;
}

int32_t SerUnregisterDeviceNotification(void) {
    setSimNotification(nullptr, nullptr);
    return 0;
}

} // extern "C"

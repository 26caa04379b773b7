#include "rs232/SerialPortLocal.h"

#include "rs232/Diagnostics.h"
#include "rs232/DriverLibrary.h"
#include "rs232/NativeHandleMutex.h"

#include <algorithm>
#include <chrono>
#include <climits>
#include <mutex>
#include <thread>

namespace rs232 {
namespace {

const Capabilities& caps() {
    return DriverLibrary::instance().capabilities();
}

const native::Natives& nat() {
    const DriverLibrary& library = DriverLibrary::instance();
    if (const native::Natives* n = library.natives())
        return *n;
    throw IOException("Native library " + library.name() + " is not loaded");
}

// How an operation is checked around its driver call: first the capability (when it needs
// one), then the open port (when it needs one), then the result (when -1 means a failure).
struct Operation {
    const char* name;
    bool Capabilities::*flag;
    bool needsOpen;
    const char* failure;
    const char* unsupportedName = nullptr; // when "... not supported on" says it otherwise
};

constexpr Operation kSetDTR{"setDTR", &Capabilities::setDTR, true, "setDTR failed"};
constexpr Operation kSetRTS{"setRTS", &Capabilities::setRTS, true, "setRTS failed", "setRts"};
constexpr Operation kSigCTS{"sigCTS", nullptr, true, "sigCTS failed"};
constexpr Operation kSigDSR{"sigDSR", nullptr, true, "sigDSR failed"};
constexpr Operation kSigCD{"sigCD", &Capabilities::sigCD, true, "sigCD failed"};
constexpr Operation kSigRing{"sigRing", &Capabilities::sigRing, true, nullptr};
constexpr Operation kSigBreak{"sigBreak", &Capabilities::sigBreak, true, nullptr};
constexpr Operation kSigFrameErr{"sigFrameErr", &Capabilities::sigFrameErr, true,
                                 "sigFrameErr failed"};
constexpr Operation kSigOverrun{"sigOverrun", &Capabilities::sigOverrun, true, "sigOverrun failed"};
constexpr Operation kSigParityErr{"sigParityErr", &Capabilities::sigParityErr, true, nullptr};
constexpr Operation kRxOverflow{"rxOverflow", &Capabilities::rxOverflow, true, "rxOverflow failed"};
constexpr Operation kSendBreak{"sendBreak", &Capabilities::sendBreak, true, "sendBreak failed"};
constexpr Operation kTxBufCount{"txBufCount", &Capabilities::txBufCount, true, "txBufCount failed"};
constexpr Operation kRxReadyCount{"rxReadyCount", &Capabilities::rxReadyCount, false,
                                  "rxReadyCount failed"};
constexpr Operation kRxFlush{"rxFlush", nullptr, false, "rxFlush failed"};
constexpr Operation kTxFlush{"txFlush", nullptr, false, "txFlush failed"};
constexpr Operation kTxDrain{"txDrain", nullptr, false, "txDrain failed"};
constexpr Operation kSetTimeoutRx{"setTimeoutRx", nullptr, false, "setTimeoutRx failed"};
constexpr Operation kSetTimeoutTx{"setTimeoutTx", nullptr, false, "setTimeoutTx failed"};

// The driver's result for the port's handle, after the checks of op.
template <typename Call> int checked(const Operation& op, int handle, Call call) {
    if (op.flag && !(caps().*op.flag))
        throw IOException(std::string(op.unsupportedName ? op.unsupportedName : op.name) +
                          " not supported on " + SerialPortLocal::getOsName());
    if (op.needsOpen && handle < 0)
        throw IOException(std::string(op.name) + ": Port not open");
    const int r = call(nat(), handle);
    if (op.failure && r == -1)
        throw IOException(op.failure);
    return r;
}

using HandleNative = int32_t (*native::Natives::*)(int32_t);

int checked(const Operation& op, int handle, HandleNative native) {
    return checked(op, handle,
                   [native](const native::Natives& n, int32_t h) { return (n.*native)(h); });
}

std::string openFailureText(const std::string& portName, int code) {
    switch (code) {
    case 1000:
        return "Port is already open";
    case 1002:
        return "Port is in use";
    case 1003:
        return "Port not valid";
    case 1004:
        return "2: No such device";
    case 1006:
        return "Permission denied";
    case 1007:
        return "Device busy";
    case 1008:
        return "19: No such device";
    case 1009:
        return portName + " is the system console";
    case 1010:
        return "Host not found";
    case 1011:
        return "Connection refused";
    case 1012:
        return "Connection timed out";
    case 1013:
        return "Network unreachable";
    default:
        return std::to_string(code);
    }
}

// What a device kept other than asked, named from the configuration that was asked for.
std::string refusedText(const SerialConfig& asked, int bits) {
    std::string parts;
    auto add = [&parts](const std::string& part) { parts += (parts.empty() ? "" : ", ") + part; };
    if (bits & SERDRV_REFUSED_BIT_RATE)
        add(std::to_string(asked.getBitRateNumber(asked.getBitRate())) + " bit/s");
    if (bits & SERDRV_REFUSED_DATA_BITS)
        add(std::to_string(5 + asked.getDataBits()) + " data bits");
    if (bits & SERDRV_REFUSED_PARITY)
        add(std::string("parity ") + SerialConfig::parityNames[asked.getParity()]);
    if (bits & SERDRV_REFUSED_STOP_BITS)
        add(std::to_string(1 + asked.getStopBits()) + " stop bits");
    if (bits & SERDRV_REFUSED_HANDSHAKE)
        add("hardware handshake");
    return "the device did not take " + parts;
}

std::string configureFailureText(const SerialConfig& asked, int code) {
    const int bits = code - SERDRV_ERR_REFUSED;
    if (bits > 0 && bits < 32)
        return refusedText(asked, bits);
    return std::to_string(code);
}

// Port names are taken without blanks at either end, as a name typed or pasted may have them.
std::string trimmedName(const std::string& s) {
    size_t b = 0, e = s.size();
    while (b < e && static_cast<unsigned char>(s[b]) <= ' ')
        ++b;
    while (e > b && static_cast<unsigned char>(s[e - 1]) <= ' ')
        --e;
    return s.substr(b, e - b);
}

// The record as the driver takes it; the strings stay owned by config.
SerdrvConfig toNative(const SerialConfig& config) {
    SerdrvConfig c{};
    c.port = config.getPort();
    c.portName = config.getPortName().c_str();
    c.baseName = config.getBaseName().c_str();
    c.txLen = config.getTxLen();
    c.rxLen = config.getRxLen();
    c.bitRate = config.getBitRate();
    c.parity = config.getParity();
    c.dataBits = config.getDataBits();
    c.stopBits = config.getStopBits();
    c.handshake = config.getHandshake();
    c.hardFlow = config.getHardFlow() ? 1 : 0;
    c.disableActiveLink = config.getDisableActiveLink() ? 1 : 0;
    return c;
}

} // namespace

// ---------------------------------------------------------------- construction and lifecycle

SerialPortLocal::SerialPortLocal(const SerialConfig& c) : config(c) {
    DriverLibrary::instance().refreshOsName();
    isReady = true;
    openPort();
}

SerialPortLocal::~SerialPortLocal() {
    stopFlowControl();
    try {
        close();
    } catch (const std::exception&) {
        // a port that fails to close while being discarded has nothing more to tell
    }
}

void SerialPortLocal::openPort() {
    const std::string os = getOsName();
    if (os == "EPOC") {
        ssTask = std::make_unique<SerialServerTask>(config.getPortNameString());
        ssTask->start();
    }
    if (os != "Windows 95")
        config.setHardFlow(false);
    if (const std::string name = config.getPortNameString(); trimmedName(name) != name)
        config.setPortName(trimmedName(name));
    const native::Natives* n = DriverLibrary::instance().natives();
    if (!n)
        throw IOException(config.getPortNameString() + ": SerOpenPort failed: native library " +
                          getLibraryName() + " not loaded");
    SerdrvConfig c = toNative(config);
    int rc;
    {
        std::lock_guard lock(NativeHandleMutex::getInstance());
        rc = n->openPort(&c);
    }
    if (rc != 0) {
        std::string text = config.getPortNameString() + ": SerOpenPort failed: " +
                           openFailureText(config.getPortNameString(), rc);
        const bool absent = rc == SERDRV_ERR_NO_SUCH_FILE || rc == SERDRV_ERR_NO_DEVICE ||
                            (rc >= SERDRV_ERR_HOST_NOT_FOUND && rc <= SERDRV_ERR_UNREACHABLE);
        if (absent)
            throw PortNotFound(text);
        throw IOException(text);
    }
    open_ = true;
    wrSinceTxBufEmpty = rdSinceRxBufCheck = false;
    config.setPortNum(c.port);
    port = c.port - 1;
    try {
        configure(config);
        if (os == "Mac OS") {
            setTimeoutRx(2000);
            setTimeoutTx(2000);
        } else {
            setTimeoutRx(0);
            if (caps().setTimeoutTx) {
                const long long cps = config.getBitRateNumber(config.getBitRate()) / 10;
                const long long usPerChar = 1000000 / cps;
                const long long t = config.getTxLen() * usPerChar / 1000 * 100;
                setTimeoutTx(static_cast<int>(std::clamp(t, 0LL, static_cast<long long>(INT_MAX))));
            }
        }
    } catch (...) {
        try {
            close();
        } catch (const std::exception&) {
            // the configuration failure is the one to report
        }
        throw;
    }
}

void SerialPortLocal::close() {
    wrSinceTxBufEmpty = rdSinceRxBufCheck = false;
    stopFlowControl();
    if (ssTask) {
        ssTask->stop();
        ssTask.reset();
    }
    if (!open_)
        return;
    open_ = false;
    int rc;
    {
        std::lock_guard lock(NativeHandleMutex::getInstance());
        rc = nat().closePort(port);
    }
    port = -1;
    if (rc != 0)
        throw IOException("ClosePort failed");
}

void SerialPortLocal::stopFlowControl() {
    if (flowControl) {
        flowControl->abort();
        flowControl.reset();
    }
}

void SerialPortLocal::configure() {
    configure(config);
}

void SerialPortLocal::configure(const SerialConfig& c) {
    if (!open_)
        throw IOException("configure: Port is not open");
    stopFlowControl();
    SerialConfig applied = c;
    applied.setPortNum(port + 1);
    const Capabilities& cp = caps();
    if (!cp.noIndexBitRate && !applied.validBitRateIndex()) {
        const int index = SerialConfig::getBitRateIndex(applied.getBitRate());
        if (index < 0)
            throw IOException("Unsupported Serial Port Bit Rate");
        applied.setBitRate(index);
    }
    if (!cp.parityMarkSpace && applied.getParity() > SerialConfig::PY_EVEN)
        throw IOException("Unsupported Mark/Space parity");
    const SerdrvConfig native = toNative(applied);
    int rc;
    {
        std::lock_guard lock(NativeHandleMutex::getInstance());
        rc = nat().configure(&native);
    }
    if (rc != 0)
        throw IOException("Configure failed: " + configureFailureText(applied, rc));
    if (&c != &config) {
        config = c;
        config.setPortNum(port + 1);
    }
    if (getOsName() == "Windows 95" && config.getHardFlow() &&
        (config.getHandshake() == SerialConfig::HS_CTSRTS ||
         config.getHandshake() == SerialConfig::HS_DSRDTR)) {
        flowControl = std::make_unique<FlowControlTask>(this, port);
        flowControl->start();
        diagnostic("FlowControlTask created");
    }
}

void SerialPortLocal::reset() {
    if (!open_)
        throw IOException("reset: Port is not open");
    const int tx = getTimeoutTx();
    close();
    SerdrvConfig c = toNative(config);
    int rc;
    {
        std::lock_guard lock(NativeHandleMutex::getInstance());
        rc = nat().openPort(&c);
    }
    if (rc != 0)
        throw IOException("reset: SerOpenPort failed: " + std::to_string(rc));
    open_ = true;
    config.setPortNum(c.port);
    port = c.port - 1;
    setTimeoutTx(tx);
    configure();
}

void SerialPortLocal::resetPortDriver() {
    if (open_)
        throw IOException("resetPortDriver: Port must be closed");
    if (const int rc = nat().resetPortDriver(port); rc != 0)
        throw IOException("Reset port driver failed: " + std::to_string(rc));
}

// ---------------------------------------------------------------- data transfer

int SerialPortLocal::getByte() {
    const native::Natives& n = nat();
    rdSinceRxBufCheck = true;
    int r;
    const int t = caps().callerTimeout ? n.getTimeoutRx(port) : 0;
    if (t <= 0) {
        r = n.getByte(port);
    } else {
        const auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(t);
        while (n.rxReadyCount(port) == 0) {
            if (std::chrono::steady_clock::now() > deadline)
                return -1;
            std::this_thread::yield();
        }
        r = n.getByte(port); // also when the count failed: the driver then reports the failure
    }
    if (r < -1)
        throw PortDisconnected("getByte failed");
    return r;
}

int SerialPortLocal::getData(std::span<std::uint8_t> buffer) {
    return getData(buffer, 0, static_cast<int>(buffer.size()));
}

int SerialPortLocal::getData(std::span<std::uint8_t> buffer, int offset, int count) {
    if (offset < 0 || count < 0 || static_cast<size_t>(offset) > buffer.size())
        throw IOException("getData: count out of bounds");
    count = std::min(count, static_cast<int>(buffer.size()) - offset);
    const native::Natives& n = nat();
    rdSinceRxBufCheck = true;
    const int t = caps().callerTimeout ? n.getTimeoutRx(port) : 0;
    if (t > 0) {
        const auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(t);
        int ready;
        while ((ready = n.rxReadyCount(port)) >= 0 && ready < count) {
            if (std::chrono::steady_clock::now() > deadline)
                return 0;
            std::this_thread::yield();
        }
    }
    int r;
    if (offset == 0) {
        r = n.getData(port, buffer.data(), count);
    } else {
        std::vector<std::uint8_t> tmp(static_cast<size_t>(count));
        r = n.getData(port, tmp.data(), count);
        if (r > 0)
            std::copy_n(tmp.begin(), r, buffer.begin() + offset);
    }
    if (r == -1)
        throw PortDisconnected("getData: failed");
    return r;
}

int SerialPortLocal::readAvailable(std::span<std::uint8_t> buffer, int timeoutMs) {
    const native::Natives& n = nat();
    rdSinceRxBufCheck = true;
    // A device that failed refuses the wait too; the read below tells that it is gone.
    if (timeoutMs != waitingTimeoutRx_ && n.setTimeoutRx(port, std::max(0, timeoutMs)) != -1)
        waitingTimeoutRx_ = timeoutMs;
    const int count = static_cast<int>(std::min<std::size_t>(buffer.size(), INT_MAX));
    const int r = n.getData(port, buffer.data(), count);
    if (r < 0)
        throw PortDisconnected("getByte failed");
    return r;
}

void SerialPortLocal::putByte(std::uint8_t b) {
    wrSinceTxBufEmpty = true;
    if (const int rc = nat().putByte(port, b); rc != 0)
        throw IOException("PutByte failed: " + std::to_string(rc));
}

void SerialPortLocal::putDataChecked(const std::uint8_t* data, int count, const char* prefix) {
    wrSinceTxBufEmpty = true;
    const int sent = std::max(0, nat().putData(port, data, count));
    if (sent != count)
        throw IOException(std::string(prefix) + std::to_string(sent) + " of " +
                          std::to_string(count) + " bytes");
}

void SerialPortLocal::putData(std::span<const std::uint8_t> data) {
    putDataChecked(data.data(), static_cast<int>(data.size()), "PutData1: Sent only ");
}

void SerialPortLocal::putData(std::span<const std::uint8_t> data, int count) {
    if (count < 0 || static_cast<size_t>(count) > data.size())
        throw IOException("putData: count out of bounds");
    putDataChecked(data.data(), count, "PutData2: Sent only ");
}

void SerialPortLocal::putData(std::span<const std::uint8_t> data, int offset, int count) {
    if (offset < 0 || count < 0 || static_cast<size_t>(offset) + count > data.size())
        throw IOException("putData3: count out of bounds");
    putDataChecked(data.data() + offset, count, "putData3: Sent only ");
}

void SerialPortLocal::putString(const std::string& text) {
    putDataChecked(reinterpret_cast<const std::uint8_t*>(text.data()),
                   static_cast<int>(text.size()), "PutString: sent only ");
}

// ---------------------------------------------------------------- optional operations

void SerialPortLocal::setDTR(bool on) {
    checked(kSetDTR, port,
            [on](const native::Natives& n, int32_t h) { return n.setDTR(h, on ? 1 : 0); });
}
void SerialPortLocal::setRTS(bool on) {
    checked(kSetRTS, port,
            [on](const native::Natives& n, int32_t h) { return n.setRTS(h, on ? 1 : 0); });
}
bool SerialPortLocal::sigCTS() {
    return checked(kSigCTS, port, &native::Natives::sigCTS) == 1;
}
bool SerialPortLocal::sigDSR() {
    return checked(kSigDSR, port, &native::Natives::sigDSR) == 1;
}
bool SerialPortLocal::sigCD() {
    return checked(kSigCD, port, &native::Natives::sigCD) == 1;
}
bool SerialPortLocal::sigRing() {
    return checked(kSigRing, port, &native::Natives::sigRing) == 1;
}
bool SerialPortLocal::sigBreak() {
    return checked(kSigBreak, port, &native::Natives::sigBreak) == 1;
}
bool SerialPortLocal::sigFrameErr() {
    return checked(kSigFrameErr, port, &native::Natives::sigFrameErr) == 1;
}
bool SerialPortLocal::sigOverrun() {
    return checked(kSigOverrun, port, &native::Natives::sigOverrun) == 1;
}
bool SerialPortLocal::sigParityErr() {
    return checked(kSigParityErr, port, &native::Natives::sigParityErr) == 1;
}
bool SerialPortLocal::rxOverflow() {
    return checked(kRxOverflow, port, &native::Natives::rxOverflow) == 1;
}
void SerialPortLocal::sendBreak(int milliseconds) {
    checked(kSendBreak, port, [milliseconds](const native::Natives& n, int32_t h) {
        return n.sendBreak(h, milliseconds);
    });
}
int SerialPortLocal::txBufCount() {
    return checked(kTxBufCount, port, &native::Natives::txBufCount);
}
int SerialPortLocal::rxReadyCount() {
    return checked(kRxReadyCount, port, &native::Natives::rxReadyCount);
}
void SerialPortLocal::rxFlush() {
    checked(kRxFlush, port, &native::Natives::rxFlush);
}
void SerialPortLocal::txFlush() {
    checked(kTxFlush, port, &native::Natives::txFlush);
}
void SerialPortLocal::txDrain() {
    checked(kTxDrain, port, &native::Natives::txDrain);
}
void SerialPortLocal::setTimeoutRx(int milliseconds) {
    waitingTimeoutRx_ = -1; // readAvailable sets its own again
    checked(kSetTimeoutRx, port, [milliseconds](const native::Natives& n, int32_t h) {
        return n.setTimeoutRx(h, milliseconds);
    });
}
void SerialPortLocal::setTimeoutTx(int milliseconds) {
    checked(kSetTimeoutTx, port, [milliseconds](const native::Natives& n, int32_t h) {
        return n.setTimeoutTx(h, milliseconds);
    });
}

int SerialPortLocal::getTimeoutRx() {
    return nat().getTimeoutRx(port);
}
int SerialPortLocal::getTimeoutTx() {
    return nat().getTimeoutTx(port);
}
int SerialPortLocal::getLibVer() {
    return nat().getLibVer();
}

bool SerialPortLocal::isSupported(const std::string& feature) const {
    return caps().byName(feature).value_or(false);
}

// ---------------------------------------------------------------- process-wide

bool SerialPortLocal::isLibraryLoaded() {
    return DriverLibrary::instance().loaded();
}
const std::string& SerialPortLocal::getLibraryName() {
    return DriverLibrary::instance().name();
}
std::string SerialPortLocal::getOsName() {
    return DriverLibrary::instance().osName();
}
std::string SerialPortLocal::getOsArch() {
    return DriverLibrary::instance().osArch();
}
int SerialPortLocal::getMaxBitRate() {
    return DriverLibrary::instance().maxBitRate();
}
bool SerialPortLocal::isOsFamilyWindows() {
    return DriverLibrary::instance().osFamilyWindows();
}
void SerialPortLocal::reinitialisePlatform() {
    DriverLibrary::instance().reinitialisePlatform();
}

} // namespace rs232

#include "rs232/SerialPortLocal.h"

#include "props/Props.h"
#include "rs232/Diagnostics.h"
#include "rs232/Native.h"
#include "rs232/NativeHandleMutex.h"
#include "rs232/Platform.h"

#include <algorithm>
#include <chrono>
#include <climits>
#include <cstdlib>
#include <mutex>
#include <thread>

namespace rs232 {
namespace {

struct Capabilities {
    bool sigBreak = false, sendBreak = true, sigFrameErr = false, sigParityErr = false,
         sigOverrun = false, rxOverflow = false, rxReadyCount = false, txBufCount = false,
         setTimeoutTx = false, getTimeoutTx = false, sigRing = false, setRTS = false,
         setDTR = false, sigCD = false, sigCTS = false, sigDSR = false, unplugPort = false,
         getPortList = false, getStatusAPM = false, instanceLock = false, parityMarkSpace = false,
         driverInfo = false, noIndexBitRate = false, setPowerMode = false, getResumeState = false;
    // Receive timeouts measured by the layer itself (the driver has none).
    bool callerTimeout = true;
};

struct State {
    std::mutex mutex; // platform, library
    bool loadTried = false;
    std::string osName, osArch, vendor, jdkVer;
    std::string serdrvLib;
    bool serdrvLibLoaded = false;
    bool osFamilyWindows = false;
    int maxBitRate = 115200;
    Capabilities caps;
    void* library = nullptr;
    native::Natives natives{};
    void* serverTask = nullptr;

    std::recursive_mutex listMutex; // port lists; the driver calls back while it is held
    std::vector<std::string> portList;
    std::vector<std::string> svPortList;
    std::vector<PortDriverInfo> portListInfo;
    int portListMode = 0;
    DeviceNotificationCallback* notification = nullptr;
};

State& state() {
    static State s;
    return s;
}

bool isOneOf(const std::string& s, std::initializer_list<const char*> names) {
    return std::any_of(names.begin(), names.end(), [&](const char* n) { return s == n; });
}

bool equalsIgnoreCase(const std::string& a, const std::string& b) {
    return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) {
               return std::tolower(static_cast<unsigned char>(x)) ==
                      std::tolower(static_cast<unsigned char>(y));
           });
}

bool isWindowsLibraryName(const std::string& os) {
    return isOneOf(os, {"Windows", "Windows 95", "Windows 98", "Windows Me", "Windows NT",
                        "Windows XP", "Windows 2000", "Windows 2003", "Windows 2008",
                        "Windows Vista", "Windows Server 2008", "Windows Server 2008 R2",
                        "Windows Server 2012", "Windows Server 2012 R2", "Windows 7",
                        "Windows NT (unknown)", "Windows 8", "Windows 8.1", "Windows 10"});
}

bool isModernWindows(const std::string& os) {
    return isOneOf(os, {"Windows", "Windows 10", "Windows 8.1", "Windows 8", "Windows 7",
                        "Windows NT (unknown)", "Windows Server 2008", "Windows Server 2008 R2",
                        "Windows Server 2012", "Windows Vista", "Windows 2003", "Windows 2000",
                        "Windows XP"});
}

bool isWindowsFamily(const std::string& os) {
    std::string lower = os;
    std::transform(lower.begin(), lower.end(), lower.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    return isWindowsLibraryName(os) || isOneOf(os, {"Windows CE", "WindowsCE", "OS/2"}) ||
           lower.find("netware") != std::string::npos;
}

// Capability flags, maximum bit rate and library name for the platform in s.osName/osArch.
void recognisePlatform(State& s) {
    s.caps = Capabilities{};
    s.maxBitRate = 115200;
    s.osFamilyWindows = false;
    s.serdrvLib.clear();
    Capabilities& c = s.caps;
    if (isWindowsFamily(s.osName)) {
        c.sigBreak = c.sigFrameErr = c.sigParityErr = c.sigOverrun = c.rxOverflow = true;
        c.rxReadyCount = c.txBufCount = c.setTimeoutTx = c.getTimeoutTx = c.sigRing = true;
        c.setRTS = c.setDTR = c.sigCD = c.sigCTS = c.sigDSR = c.unplugPort = true;
        c.getPortList = c.getStatusAPM = c.instanceLock = c.parityMarkSpace = true;
        c.driverInfo = isModernWindows(s.osName);
        c.noIndexBitRate = s.osName != "OS/2";
        c.callerTimeout = false;
    } else if (s.osName == "Linux") {
        // What the termios driver really does: modem lines, error counters, ready counts,
        // listing with driver data, mark/space parity, rates in bit/s, its own timeouts.
        c.sigBreak = c.sigFrameErr = c.sigParityErr = c.sigOverrun = c.rxOverflow = true;
        c.rxReadyCount = c.txBufCount = c.setTimeoutTx = c.getTimeoutTx = c.sigRing = true;
        c.setRTS = c.setDTR = c.sigCD = c.sigCTS = c.sigDSR = c.unplugPort = true;
        c.getPortList = c.parityMarkSpace = c.driverInfo = c.noIndexBitRate = true;
        c.callerTimeout = false;
        s.maxBitRate = 921600;
    }
    if (isModernWindows(s.osName))
        s.maxBitRate = 921600;

    if (isWindowsLibraryName(s.osName)) {
        s.serdrvLib = (s.jdkVer == "1.0.2" || s.jdkVer == "102") ? "serdrvWinNm" : "serdrvWin";
        s.osFamilyWindows = true;
    } else if (s.osName == "Linux") {
        if (isOneOf(s.osArch, {"amd64", "x86_64"}))
            s.serdrvLib = "serdrvLux64";
        else if (isOneOf(s.osArch, {"x86", "i386", "i486", "i586", "i686"}))
            s.serdrvLib = "serdrvLux86";
    }
}

void readPlatformProperties(State& s) {
    s.osName = driverOsName();
    s.osArch = driverOsArch();
    s.vendor = props::get("runtime.vendor", "Tallyra");
    s.jdkVer = props::get("runtime.version", props::kVersion);
}

template <typename T> bool resolve(void* lib, const char* symbol, T& out) {
    out = reinterpret_cast<T>(native::findSymbol(lib, symbol));
    return out != nullptr;
}

// Resolves every entry point and checks the ABI version; the error text on failure.
std::string bind(State& s) {
    native::Natives n{};
    void* l = s.library;
    const bool all =
        resolve(l, "SerGetLibVer", n.getLibVer) && resolve(l, "SerOpenPort", n.openPort) &&
        resolve(l, "SerConfigure", n.configure) && resolve(l, "SerClosePort", n.closePort) &&
        resolve(l, "SerResetPortDriver", n.resetPortDriver) &&
        resolve(l, "SerGetByte", n.getByte) && resolve(l, "SerGetData", n.getData) &&
        resolve(l, "SerPutByte", n.putByte) && resolve(l, "SerPutData", n.putData) &&
        resolve(l, "SerRxReadyCount", n.rxReadyCount) &&
        resolve(l, "SerTxBufCount", n.txBufCount) && resolve(l, "SerRxFlush", n.rxFlush) &&
        resolve(l, "SerTxFlush", n.txFlush) && resolve(l, "SerTxDrain", n.txDrain) &&
        resolve(l, "SerSetDTR", n.setDTR) && resolve(l, "SerSetRTS", n.setRTS) &&
        resolve(l, "SerSigCTS", n.sigCTS) && resolve(l, "SerSigDSR", n.sigDSR) &&
        resolve(l, "SerSigCD", n.sigCD) && resolve(l, "SerSigRing", n.sigRing) &&
        resolve(l, "SerSigBreak", n.sigBreak) && resolve(l, "SerSigFrameErr", n.sigFrameErr) &&
        resolve(l, "SerSigOverrun", n.sigOverrun) &&
        resolve(l, "SerSigParityErr", n.sigParityErr) &&
        resolve(l, "SerRxOverflow", n.rxOverflow) && resolve(l, "SerSendBreak", n.sendBreak) &&
        resolve(l, "SerSetTimeoutRx", n.setTimeoutRx) &&
        resolve(l, "SerSetTimeoutTx", n.setTimeoutTx) &&
        resolve(l, "SerGetTimeoutRx", n.getTimeoutRx) &&
        resolve(l, "SerGetTimeoutTx", n.getTimeoutTx) && resolve(l, "SerFlowTask", n.flowTask) &&
        resolve(l, "SerGetPortList", n.getPortList) &&
        resolve(l, "SerRegisterDeviceNotification", n.registerDeviceNotification) &&
        resolve(l, "SerUnregisterDeviceNotification", n.unregisterDeviceNotification);
    if (!all)
        return "entry points of the serial driver missing";
    if (const int v = n.getLibVer(); v != SERDRV_ABI_VERSION)
        return "serial driver ABI version " + std::to_string(v) + ", expected " +
               std::to_string(SERDRV_ABI_VERSION);
    s.natives = n;
    s.serverTask = native::findSymbol(l, "SerServerTask");
    return {};
}

bool tryLoad(State& s, void* lib, std::string& error) {
    if (!lib)
        return false;
    s.library = lib;
    error = bind(s);
    if (error.empty())
        return true;
    s.library = nullptr;
    return false;
}

// Chooses and loads the driver library, once per process.
State& loaded() {
    State& s = state();
    std::lock_guard lock(s.mutex);
    if (s.loadTried)
        return s;
    s.loadTried = true;
    readPlatformProperties(s);
    diagnostic(std::string("rs232 serial library ") + props::kVersion + " build " +
               std::to_string(SerialPortLocal::buildNum));
    diagnostic("os.name=\"" + s.osName + "\"  os.arch=\"" + s.osArch + "\"");
    recognisePlatform(s);
    if (s.serdrvLib.empty()) {
        diagnostic("osName=" + s.osName + " osArch=" + s.osArch);
        diagnostic("Platform not supported, check VM properties os.name & os.arch");
        std::exit(-1);
    }
    std::string error;
    if (tryLoad(s, native::openLibrary(s.serdrvLib, error), error)) {
        s.serdrvLibLoaded = true;
        diagnostic("SerialPort class loaded: " + s.serdrvLib);
        return s;
    }
    if (s.osName == "Windows 7") {
        diagnostic(error + ": Native library load failed " + s.serdrvLib + " trying user's folder");
        const std::string path = props::get("user.home", "") + "\\" + s.serdrvLib + ".dll";
        if (tryLoad(s, native::openLibraryFile(path, error), error)) {
            s.serdrvLibLoaded = true;
            diagnostic("SerialPort class loaded users: " + s.serdrvLib);
            return s;
        }
    }
    diagnostic(error + ": Check that native library " + s.serdrvLib + " is in proper directory");
    return s;
}

const Capabilities& caps() {
    return loaded().caps;
}

const native::Natives& nat() {
    const native::Natives* n = native::natives();
    if (!n)
        throw IOException("Native library " + state().serdrvLib + " is not loaded");
    return *n;
}

std::string openFailureText(int code) {
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

void notificationTrampoline(int arrived, const char* portName, void*) {
    diagnostic("rs232.deviceNotification");
    State& s = state();
    DeviceNotificationCallback* cb;
    {
        std::lock_guard lock(s.listMutex);
        cb = s.notification;
    }
    if (cb)
        cb->deviceNotification(arrived != 0, portName ? portName : "");
}

void addNameCallback(const char* name, void*) {
    if (name)
        SerialPortLocal::addPortName(name);
}

void addInfoCallback(const char* name, const char* mfgr, const char* desc, void*) {
    if (name)
        SerialPortLocal::addPortInfo(name, mfgr ? mfgr : "", desc ? desc : "");
}

} // namespace

namespace native {
const Natives* natives() {
    State& s = loaded();
    return s.serdrvLibLoaded ? &s.natives : nullptr;
}
void* serverTaskSymbol() {
    return loaded().serverTask;
}
} // namespace native

// ---------------------------------------------------------------- construction and lifecycle

SerialPortLocal::SerialPortLocal(const SerialConfig& c) : config(c) {
    loaded();
    isReady = true;
    {
        State& s = state();
        std::lock_guard lock(s.mutex);
        s.osName = driverOsName();
    }
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
    const native::Natives* n = native::natives();
    if (!n)
        throw IOException(config.getPortNameString() + ": SerOpenPort failed: native library " +
                          getLibraryName() + " not loaded");
    SerdrvConfig c = toNative(config);
    int rc;
    {
        std::lock_guard lock(NativeHandleMutex::getInstance());
        rc = n->openPort(&c);
    }
    if (rc != 0)
        throw IOException(config.getPortNameString() +
                          ": SerOpenPort failed: " + openFailureText(rc));
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
        throw IOException("Configure failed: " + std::to_string(rc));
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
        throw IOException("getByte failed");
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
        throw IOException("getData: failed");
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

void SerialPortLocal::requireSupported(bool flag, const char* what) const {
    if (!flag)
        throw IOException(std::string(what) + " not supported on " + getOsName());
}

void SerialPortLocal::requireOpen(const char* what) const {
    if (port < 0)
        throw IOException(std::string(what) + ": Port not open");
}

bool SerialPortLocal::signal(bool flag, const char* op, int32_t (*call)(int32_t),
                             const char* failure) {
    requireSupported(flag, op);
    requireOpen(op);
    const int r = call(port);
    if (failure && r == -1)
        throw IOException(failure);
    return r == 1;
}

void SerialPortLocal::setDTR(bool on) {
    requireSupported(caps().setDTR, "setDTR");
    requireOpen("setDTR");
    if (nat().setDTR(port, on ? 1 : 0) == -1)
        throw IOException("setDTR failed");
}

void SerialPortLocal::setRTS(bool on) {
    requireSupported(caps().setRTS, "setRts");
    requireOpen("setRTS");
    if (nat().setRTS(port, on ? 1 : 0) == -1)
        throw IOException("setRTS failed");
}

bool SerialPortLocal::sigCTS() {
    return signal(true, "sigCTS", nat().sigCTS, "sigCTS failed");
}
bool SerialPortLocal::sigDSR() {
    return signal(true, "sigDSR", nat().sigDSR, "sigDSR failed");
}
bool SerialPortLocal::sigCD() {
    return signal(caps().sigCD, "sigCD", nat().sigCD, "sigCD failed");
}
bool SerialPortLocal::sigRing() {
    return signal(caps().sigRing, "sigRing", nat().sigRing, nullptr);
}
bool SerialPortLocal::sigBreak() {
    return signal(caps().sigBreak, "sigBreak", nat().sigBreak, nullptr);
}
bool SerialPortLocal::sigFrameErr() {
    return signal(caps().sigFrameErr, "sigFrameErr", nat().sigFrameErr, "sigFrameErr failed");
}
bool SerialPortLocal::sigOverrun() {
    return signal(caps().sigOverrun, "sigOverrun", nat().sigOverrun, "sigOverrun failed");
}
bool SerialPortLocal::sigParityErr() {
    return signal(caps().sigParityErr, "sigParityErr", nat().sigParityErr, nullptr);
}
bool SerialPortLocal::rxOverflow() {
    return signal(caps().rxOverflow, "rxOverflow", nat().rxOverflow, "rxOverflow failed");
}

void SerialPortLocal::sendBreak(int milliseconds) {
    requireSupported(caps().sendBreak, "sendBreak");
    requireOpen("sendBreak");
    if (nat().sendBreak(port, milliseconds) == -1)
        throw IOException("sendBreak failed");
}

int SerialPortLocal::txBufCount() {
    requireSupported(caps().txBufCount, "txBufCount");
    requireOpen("txBufCount");
    const int r = nat().txBufCount(port);
    if (r == -1)
        throw IOException("txBufCount failed");
    return r;
}

int SerialPortLocal::rxReadyCount() {
    requireSupported(caps().rxReadyCount, "rxReadyCount");
    const int r = nat().rxReadyCount(port);
    if (r == -1)
        throw IOException("rxReadyCount failed");
    return r;
}

int SerialPortLocal::callChecked(bool, const char*, int (*call)(int32_t), const char* failure) {
    const int r = call(port);
    if (r == -1)
        throw IOException(failure);
    return r;
}

void SerialPortLocal::rxFlush() {
    callChecked(true, "rxFlush", nat().rxFlush, "rxFlush failed");
}
void SerialPortLocal::txFlush() {
    callChecked(true, "txFlush", nat().txFlush, "txFlush failed");
}
void SerialPortLocal::txDrain() {
    callChecked(true, "txDrain", nat().txDrain, "txDrain failed");
}

void SerialPortLocal::setTimeoutRx(int milliseconds) {
    if (nat().setTimeoutRx(port, milliseconds) == -1)
        throw IOException("setTimeoutRx failed");
}

void SerialPortLocal::setTimeoutTx(int milliseconds) {
    if (nat().setTimeoutTx(port, milliseconds) == -1)
        throw IOException("setTimeoutTx failed");
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

bool SerialPortLocal::isSupported(const std::string& f) const {
    const Capabilities& c = caps();
    const std::pair<const char*, bool> table[] = {{"sigBreak", c.sigBreak},
                                                  {"sendBreak", c.sendBreak},
                                                  {"sigFrameErr", c.sigFrameErr},
                                                  {"sigOverrun", c.sigOverrun},
                                                  {"sigParityErr", c.sigParityErr},
                                                  {"rxOverflow", c.rxOverflow},
                                                  {"sigRing", c.sigRing},
                                                  {"sigCTS", c.sigCTS},
                                                  {"sigDSR", c.sigDSR},
                                                  {"sigCD", c.sigCD},
                                                  {"setRTS", c.setRTS},
                                                  {"setDTR", c.setDTR},
                                                  {"rxReadyCount", c.rxReadyCount},
                                                  {"txBufCount", c.txBufCount},
                                                  {"setTimeoutTx", c.setTimeoutTx},
                                                  {"noIndexBitRate", c.noIndexBitRate},
                                                  {"getPortList", c.getPortList},
                                                  {"setPowerMode", c.setPowerMode},
                                                  {"getStatusAPM", c.getStatusAPM},
                                                  {"InstanceLock", c.instanceLock},
                                                  {"ParityMarkSpace", c.parityMarkSpace},
                                                  {"supDriverInfo", c.driverInfo},
                                                  {"UnplugPort", c.unplugPort}};
    for (const auto& [n, v] : table)
        if (f == n)
            return v;
    return false;
}

void SerialPortLocal::deviceNotification(bool arrived, const std::string& portName) {
    notificationTrampoline(arrived ? 1 : 0, portName.c_str(), nullptr);
}

// ---------------------------------------------------------------- process-wide

bool SerialPortLocal::isLibraryLoaded() {
    return loaded().serdrvLibLoaded;
}

const std::string& SerialPortLocal::getLibraryName() {
    return loaded().serdrvLib;
}

std::string SerialPortLocal::getOsName() {
    State& s = loaded();
    std::lock_guard lock(s.mutex);
    return s.osName;
}

std::string SerialPortLocal::getOsArch() {
    State& s = loaded();
    std::lock_guard lock(s.mutex);
    return s.osArch;
}

int SerialPortLocal::getMaxBitRate() {
    return loaded().maxBitRate;
}
bool SerialPortLocal::isOsFamilyWindows() {
    return loaded().osFamilyWindows;
}

void SerialPortLocal::reinitialisePlatform() {
    State& s = loaded();
    std::lock_guard lock(s.mutex);
    const std::string library = s.serdrvLib;
    readPlatformProperties(s);
    recognisePlatform(s);
    s.serdrvLib = library; // the library stays the one loaded
}

void SerialPortLocal::addPortName(const std::string& portName) {
    State& s = state();
    std::lock_guard lock(s.listMutex);
    for (const auto& n : s.portList)
        if (equalsIgnoreCase(n, portName))
            return;
    s.portList.push_back(portName);
}

void SerialPortLocal::addPortInfo(const std::string& portName, const std::string& manufacturer,
                                  const std::string& description) {
    State& s = state();
    std::lock_guard lock(s.listMutex);
    for (const auto& info : s.portListInfo)
        if (equalsIgnoreCase(info.getPortName(), portName))
            return;
    s.portListInfo.emplace_back(portName, manufacturer, description);
}

namespace {

std::string trimBlanks(const std::string& s) {
    size_t b = 0, e = s.size();
    while (b < e && static_cast<unsigned char>(s[b]) <= ' ')
        ++b;
    while (e > b && static_cast<unsigned char>(s[e - 1]) <= ' ')
        --e;
    return s.substr(b, e - b);
}

// COM ports by number first (COM2 before COM10), then the names without the COM prefix.
std::vector<std::string> windowsOrder(const std::vector<std::string>& names) {
    std::vector<unsigned long long> numbers;
    for (const auto& n : names) {
        std::string upper = n;
        std::transform(upper.begin(), upper.end(), upper.begin(),
                       [](unsigned char c) { return static_cast<char>(std::toupper(c)); });
        if (upper.size() > 3 && upper.compare(0, 3, "COM") == 0 &&
            std::all_of(upper.begin() + 3, upper.end(),
                        [](unsigned char c) { return std::isdigit(c); }) &&
            upper.size() - 3 <= 18)
            numbers.push_back(std::stoull(upper.substr(3)));
    }
    std::sort(numbers.begin(), numbers.end());
    std::vector<std::string> result;
    for (auto v : numbers)
        result.push_back("COM" + std::to_string(v));
    for (const auto& n : names)
        if (n.compare(0, 3, "COM") != 0)
            result.push_back(n);
    return result;
}

} // namespace

std::vector<std::string> SerialPortLocal::getPortList() {
    State& s = loaded();
    const Capabilities c = caps();
    std::lock_guard lock(s.listMutex);
    const std::string configured = trimBlanks(props::get("SERIAL_PORT_LIST", ""));
    if (configured.size() > 4) {
        size_t start = 0;
        while (start <= configured.size()) {
            const size_t end = configured.find_first_of(";:", start);
            const std::string piece = trimBlanks(configured.substr(
                start, end == std::string::npos ? std::string::npos : end - start));
            if (!piece.empty())
                addPortName(piece);
            if (end == std::string::npos)
                break;
            start = end + 1;
        }
        return s.portList;
    }
    if (c.getPortList && s.serdrvLibLoaded) {
        s.portList.clear();
        s.portList.reserve(10);
        s.natives.getPortList(&addNameCallback, &addInfoCallback, nullptr);
        if (s.osFamilyWindows) {
            s.svPortList = s.portList;
            return windowsOrder(s.svPortList);
        }
        return s.portList;
    }
    if (!s.portList.empty()) {
        diagnostic("getPortList: using list created with addPortName");
        return s.portList;
    }
    diagnostic("getPortList: port discovery not currently supported on this platform.");
    diagnostic("Options:");
    diagnostic("A) addPortName can be used to build a list of device names ");
    diagnostic("B) set the property SERIAL_PORT_LIST, for example -DSERIAL_PORT_LIST=COM1;COM2");
    diagnostic("   or -DSERIAL_PORT_LIST=/dev/ttyS0:/dev/ttyUSB0");
    return {};
}

std::vector<PortDriverInfo> SerialPortLocal::getDriverInfoList() {
    State& s = loaded();
    if (!caps().driverInfo)
        throw IOException("Not supported on this platform");
    std::lock_guard lock(s.listMutex);
    if (s.portList.empty())
        throw IOException("Must call SerialPortLocal.getPortList method first");
    return s.portListInfo;
}

void SerialPortLocal::clearPortListInfo() {
    State& s = state();
    std::lock_guard lock(s.listMutex);
    s.portListInfo.clear();
}

int SerialPortLocal::getPortListMode() {
    State& s = state();
    std::lock_guard lock(s.listMutex);
    return s.portListMode;
}

void SerialPortLocal::setPortListMode(int mode) {
    State& s = state();
    std::lock_guard lock(s.listMutex);
    s.portListMode = mode;
}

void SerialPortLocal::registerDeviceNotification(DeviceNotificationCallback* callback) {
    State& s = loaded();
    {
        std::lock_guard lock(s.listMutex);
        s.notification = callback;
    }
    if (!s.serdrvLibLoaded)
        return;
    if (callback)
        s.natives.registerDeviceNotification(&notificationTrampoline, nullptr);
    else
        s.natives.unregisterDeviceNotification();
}

} // namespace rs232

#include "rs232/DriverLibrary.h"

#include "props/Props.h"
#include "rs232/Diagnostics.h"
#include "rs232/Platform.h"
#include "rs232/PlatformNotSupported.h"
#include "rs232/SerialPortLocal.h"

#include <algorithm>
#include <cctype>
#include <initializer_list>

namespace rs232 {
namespace {

bool isOneOf(const std::string& s, std::initializer_list<const char*> names) {
    return std::any_of(names.begin(), names.end(), [&](const char* n) { return s == n; });
}

// The OS names that choose the Windows library.
bool isWindowsLibraryName(const std::string& os) {
    return isOneOf(os, {"Windows", "Windows 95", "Windows 98", "Windows Me", "Windows NT",
                        "Windows XP", "Windows 2000", "Windows 2003", "Windows 2008",
                        "Windows Vista", "Windows Server 2008", "Windows Server 2008 R2",
                        "Windows Server 2012", "Windows Server 2012 R2", "Windows 7",
                        "Windows NT (unknown)", "Windows 8", "Windows 8.1", "Windows 10"});
}

// The Windows versions with driver records and the higher maximum bit rate.
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

// Which platforms have which optional operation. On a platform that is not recognised every
// flag keeps the value it starts with (see Capabilities). Rows without a feature name are not
// asked for through isSupported.
enum class OnWindows { No, Yes, ModernOnly, NotOs2 };

struct CapabilityRow {
    const char* feature;
    bool Capabilities::*flag;
    OnWindows windows; // the Windows family
    bool onLinux;      // what the termios driver really does
};

constexpr CapabilityRow kCapabilityTable[] = {
    {"sigBreak", &Capabilities::sigBreak, OnWindows::Yes, true},
    {"sendBreak", &Capabilities::sendBreak, OnWindows::Yes, true},
    {"sigFrameErr", &Capabilities::sigFrameErr, OnWindows::Yes, true},
    {"sigOverrun", &Capabilities::sigOverrun, OnWindows::Yes, true},
    {"sigParityErr", &Capabilities::sigParityErr, OnWindows::Yes, true},
    {"rxOverflow", &Capabilities::rxOverflow, OnWindows::Yes, true},
    {"sigRing", &Capabilities::sigRing, OnWindows::Yes, true},
    {"sigCTS", &Capabilities::sigCTS, OnWindows::Yes, true},
    {"sigDSR", &Capabilities::sigDSR, OnWindows::Yes, true},
    {"sigCD", &Capabilities::sigCD, OnWindows::Yes, true},
    {"setRTS", &Capabilities::setRTS, OnWindows::Yes, true},
    {"setDTR", &Capabilities::setDTR, OnWindows::Yes, true},
    {"rxReadyCount", &Capabilities::rxReadyCount, OnWindows::Yes, true},
    {"txBufCount", &Capabilities::txBufCount, OnWindows::Yes, true},
    {"setTimeoutTx", &Capabilities::setTimeoutTx, OnWindows::Yes, true},
    {"noIndexBitRate", &Capabilities::noIndexBitRate, OnWindows::NotOs2, true},
    {"getPortList", &Capabilities::getPortList, OnWindows::Yes, true},
    {"setPowerMode", &Capabilities::setPowerMode, OnWindows::No, false},
    {"getStatusAPM", &Capabilities::getStatusAPM, OnWindows::Yes, false},
    {"InstanceLock", &Capabilities::instanceLock, OnWindows::Yes, false},
    {"ParityMarkSpace", &Capabilities::parityMarkSpace, OnWindows::Yes, true},
    {"supDriverInfo", &Capabilities::driverInfo, OnWindows::ModernOnly, true},
    {"UnplugPort", &Capabilities::unplugPort, OnWindows::Yes, true},
    {nullptr, &Capabilities::getTimeoutTx, OnWindows::Yes, true},
    {nullptr, &Capabilities::getResumeState, OnWindows::No, false},
    {nullptr, &Capabilities::callerTimeout, OnWindows::No, false},
};

bool onWindows(OnWindows rule, const std::string& os) {
    switch (rule) {
    case OnWindows::Yes:
        return true;
    case OnWindows::ModernOnly:
        return isModernWindows(os);
    case OnWindows::NotOs2:
        return os != "OS/2";
    case OnWindows::No:
        break;
    }
    return false;
}

std::string libraryNameFor(const PlatformInfo& p) {
    if (isWindowsLibraryName(p.osName))
        return (p.jdkVer == "1.0.2" || p.jdkVer == "102") ? "serdrvWinNm" : "serdrvWin";
    if (p.osName == "Linux") {
        if (isOneOf(p.osArch, {"amd64", "x86_64"}))
            return "serdrvLux64";
        if (isOneOf(p.osArch, {"x86", "i386", "i486", "i586", "i686"}))
            return "serdrvLux86";
    }
    return {};
}

template <typename T> bool resolve(void* lib, const char* symbol, T& out) {
    out = reinterpret_cast<T>(native::findSymbol(lib, symbol));
    return out != nullptr;
}

// Reads the platform properties and recognises the platform.
PlatformInfo recognisePlatform() {
    PlatformInfo p;
    p.osName = driverOsName();
    p.osArch = driverOsArch();
    p.vendor = props::get("runtime.vendor", "Tallyra");
    p.jdkVer = props::get("runtime.version", props::kVersion);
    const bool windows = isWindowsFamily(p.osName);
    const bool onLinux = p.osName == "Linux";
    if (windows || onLinux)
        for (const CapabilityRow& row : kCapabilityTable)
            p.caps.*row.flag = windows ? onWindows(row.windows, p.osName) : row.onLinux;
    if (onLinux || isModernWindows(p.osName))
        p.maxBitRate = 921600;
    p.osFamilyWindows = isWindowsLibraryName(p.osName);
    p.libraryName = libraryNameFor(p);
    return p;
}

} // namespace

std::optional<bool> Capabilities::byName(const std::string& feature) const {
    for (const CapabilityRow& row : kCapabilityTable)
        if (row.feature && feature == row.feature)
            return this->*row.flag;
    return std::nullopt;
}

DriverLibrary& DriverLibrary::instance() {
    static DriverLibrary library;
    static const bool supported = [] {
        library.load();
        return !library.platform_.libraryName.empty();
    }();
    if (!supported)
        throw PlatformNotSupported(library.osName(), library.osArch());
    return library;
}

std::string DriverLibrary::osName() const {
    std::lock_guard lock(mutex_);
    return platform_.osName;
}

std::string DriverLibrary::osArch() const {
    std::lock_guard lock(mutex_);
    return platform_.osArch;
}

void DriverLibrary::refreshOsName() {
    std::string os = driverOsName();
    std::lock_guard lock(mutex_);
    platform_.osName = std::move(os);
}

void DriverLibrary::reinitialisePlatform() {
    PlatformInfo p = recognisePlatform();
    std::lock_guard lock(mutex_);
    p.libraryName = platform_.libraryName; // the library stays the one loaded
    platform_ = std::move(p);
}

// Resolves every entry point and checks the ABI version; the error text on failure.
std::string DriverLibrary::bind(void* l) {
    native::Natives n{};
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
    natives_ = n;
    serverTask_ = native::findSymbol(l, "SerServerTask");
    return {};
}

bool DriverLibrary::tryLoad(void* library, std::string& error) {
    if (!library)
        return false;
    error = bind(library);
    return error.empty();
}

// The banner, the platform, then the library: by name, and on Windows 7 from the user's folder.
void DriverLibrary::load() {
    platform_ = recognisePlatform();
    const PlatformInfo& p = platform_;
    diagnostic(std::string("rs232 serial library ") + props::kVersion + " build " +
               std::to_string(SerialPortLocal::buildNum));
    diagnostic("os.name=\"" + p.osName + "\"  os.arch=\"" + p.osArch + "\"");
    if (p.libraryName.empty()) {
        diagnostic("osName=" + p.osName + " osArch=" + p.osArch);
        diagnostic("Platform not supported, check VM properties os.name & os.arch");
        return;
    }
    std::string error;
    if (tryLoad(native::openLibrary(p.libraryName, error), error)) {
        loaded_ = true;
        diagnostic("SerialPort class loaded: " + p.libraryName);
        return;
    }
    if (p.osName == "Windows 7") {
        diagnostic(error + ": Native library load failed " + p.libraryName +
                   " trying user's folder");
        const std::string path = props::get("user.home", "") + "\\" + p.libraryName + ".dll";
        const std::filesystem::path file(reinterpret_cast<const char8_t*>(path.c_str()));
        if (tryLoad(native::openLibraryFile(file, error), error)) {
            loaded_ = true;
            diagnostic("SerialPort class loaded users: " + p.libraryName);
            return;
        }
    }
    diagnostic(error + ": Check that native library " + p.libraryName + " is in proper directory");
}

namespace native {

const Natives* natives() {
    return DriverLibrary::instance().natives();
}

void* serverTaskSymbol() {
    return DriverLibrary::instance().serverTask();
}

} // namespace native

} // namespace rs232

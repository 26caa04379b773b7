#pragma once

// The native driver library of this process: which platform we run on, what the driver can do
// there, and the library chosen for it, loaded and bound once, on first use.

#include "rs232/Native.h"

#include <mutex>
#include <optional>
#include <string>

namespace rs232 {

// What the driver can do on the platform, one flag per optional operation.
struct Capabilities {
    bool sigBreak = false, sendBreak = true, sigFrameErr = false, sigParityErr = false,
         sigOverrun = false, rxOverflow = false, rxReadyCount = false, txBufCount = false,
         setTimeoutTx = false, getTimeoutTx = false, sigRing = false, setRTS = false,
         setDTR = false, sigCD = false, sigCTS = false, sigDSR = false, unplugPort = false,
         getPortList = false, getStatusAPM = false, instanceLock = false, parityMarkSpace = false,
         driverInfo = false, noIndexBitRate = false, setPowerMode = false, getResumeState = false;
    // Receive timeouts measured by the layer itself (the driver has none).
    bool callerTimeout = true;

    // The flag isSupported answers for a feature name; nothing for an unknown name.
    std::optional<bool> byName(const std::string& feature) const;
};

// The platform as the serial library sees it, recognised from "SERDRV_OSNAME"/"SERDRV_OSARCH".
struct PlatformInfo {
    std::string osName, osArch, vendor, jdkVer;
    Capabilities caps;
    int maxBitRate = 115200;
    bool osFamilyWindows = false;
    std::string libraryName; // empty: no library for this platform
};

class DriverLibrary {
public:
    // The process's library, chosen and loaded on the first call. Throws PlatformNotSupported,
    // on that call and every later one, when no library exists for this platform.
    static DriverLibrary& instance();

    bool loaded() const { return loaded_; }
    const std::string& name() const { return platform_.libraryName; }
    // The bound entry points, or nullptr when the library could not be loaded.
    const native::Natives* natives() const { return loaded_ ? &natives_ : nullptr; }
    void* serverTask() const { return serverTask_; }

    std::string osName() const;
    std::string osArch() const;
    // Takes "SERDRV_OSNAME" (else "os.name") again, as every new port object does.
    void refreshOsName();
    // Changed only by reinitialisePlatform, so read without the lock.
    int maxBitRate() const { return platform_.maxBitRate; }
    bool osFamilyWindows() const { return platform_.osFamilyWindows; }
    const Capabilities& capabilities() const { return platform_.caps; }

    // Recognises the platform anew (for tests), keeping the library that is loaded.
    void reinitialisePlatform();

private:
    DriverLibrary() = default;
    void load();
    std::string bind(void* library);
    bool tryLoad(void* library, std::string& error);

    mutable std::mutex mutex_; // the platform fields, which tests may change
    PlatformInfo platform_;
    bool loaded_ = false;
    native::Natives natives_{};
    void* serverTask_ = nullptr;
};

} // namespace rs232

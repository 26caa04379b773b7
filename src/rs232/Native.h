#pragma once

// The driver library's entry points, resolved when the library is loaded.

#include "serdrv.h"

#include <filesystem>
#include <string>

namespace rs232::native {

struct Natives {
    decltype(&SerGetLibVer) getLibVer;
    decltype(&SerOpenPort) openPort;
    decltype(&SerConfigure) configure;
    decltype(&SerClosePort) closePort;
    decltype(&SerResetPortDriver) resetPortDriver;
    decltype(&SerGetByte) getByte;
    decltype(&SerGetData) getData;
    decltype(&SerPutByte) putByte;
    decltype(&SerPutData) putData;
    decltype(&SerRxReadyCount) rxReadyCount;
    decltype(&SerTxBufCount) txBufCount;
    decltype(&SerRxFlush) rxFlush;
    decltype(&SerTxFlush) txFlush;
    decltype(&SerTxDrain) txDrain;
    decltype(&SerSetDTR) setDTR;
    decltype(&SerSetRTS) setRTS;
    decltype(&SerSigCTS) sigCTS;
    decltype(&SerSigDSR) sigDSR;
    decltype(&SerSigCD) sigCD;
    decltype(&SerSigRing) sigRing;
    decltype(&SerSigBreak) sigBreak;
    decltype(&SerSigFrameErr) sigFrameErr;
    decltype(&SerSigOverrun) sigOverrun;
    decltype(&SerSigParityErr) sigParityErr;
    decltype(&SerRxOverflow) rxOverflow;
    decltype(&SerSendBreak) sendBreak;
    decltype(&SerSetTimeoutRx) setTimeoutRx;
    decltype(&SerSetTimeoutTx) setTimeoutTx;
    decltype(&SerGetTimeoutRx) getTimeoutRx;
    decltype(&SerGetTimeoutTx) getTimeoutTx;
    decltype(&SerFlowTask) flowTask;
    decltype(&SerGetPortList) getPortList;
    decltype(&SerRegisterDeviceNotification) registerDeviceNotification;
    decltype(&SerUnregisterDeviceNotification) unregisterDeviceNotification;
};

// The loaded entry points, or nullptr while no library is loaded.
const Natives* natives();

// The optional "SerServerTask" entry point of the loaded library, or nullptr.
void* serverTaskSymbol();

// Looks for the library in the executable's folder, then in ../lib/tallyra beside it, then on
// the normal search path; nullptr with error set on failure.
void* openLibrary(const std::string& name, std::string& error);

// Per-OS (posix/ or win/). The running program's folder (empty when unknown); loading one file
// (a bare file name: from the normal search path), nullptr with error set on failure; a symbol
// of a loaded library; the platform's file name for a library name ("libserdrvLux64.so",
// "serdrvWin.dll").
std::filesystem::path executableFolder();
void* openLibraryFile(const std::filesystem::path& path, std::string& error);
void* findSymbol(void* library, const char* symbol);
std::string libraryFileName(const std::string& name);

} // namespace rs232::native

#include "props/SystemInfo.h"

#include <cstdlib>
#include <string>
#include <windows.h>

namespace props::detail {

namespace {
using RtlGetVersionFn = LONG(WINAPI*)(OSVERSIONINFOW*);
}

std::string osName() {
    // GetVersionEx lies about the version to unmanifested programs; RtlGetVersion does not.
    OSVERSIONINFOW info{};
    info.dwOSVersionInfoSize = sizeof info;
    if (HMODULE ntdll = GetModuleHandleW(L"ntdll.dll")) {
        auto fn = reinterpret_cast<RtlGetVersionFn>(
            reinterpret_cast<void*>(GetProcAddress(ntdll, "RtlGetVersion")));
        if (fn && fn(&info) == 0) {
            if (info.dwMajorVersion == 10)
                return "Windows 10";
            if (info.dwMajorVersion == 6 && info.dwMinorVersion == 3)
                return "Windows 8.1";
            if (info.dwMajorVersion == 6 && info.dwMinorVersion == 2)
                return "Windows 8";
            if (info.dwMajorVersion == 6 && info.dwMinorVersion == 1)
                return "Windows 7";
        }
    }
    return "Windows";
}

std::string osArch() {
    SYSTEM_INFO si{};
    GetNativeSystemInfo(&si);
    switch (si.wProcessorArchitecture) {
    case PROCESSOR_ARCHITECTURE_AMD64:
        return "amd64";
    case PROCESSOR_ARCHITECTURE_ARM64:
        return "aarch64";
    default:
        return "x86";
    }
}

std::string userHome() {
    if (const char* h = std::getenv("USERPROFILE"); h && *h)
        return h;
    return "C:\\";
}

std::string currentDirectory() {
    char buf[MAX_PATH];
    DWORD n = GetCurrentDirectoryA(MAX_PATH, buf);
    return n ? std::string(buf, n) : std::string(".");
}

} // namespace props::detail

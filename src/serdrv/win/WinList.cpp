// Port listing through SetupAPI: every present device of the Ports class with a COM port name,
// with its driver description and manufacturer. No device is opened.

#include "Backend.h"

#include <algorithm>
#include <string>
#include <vector>
// clang-format off
#include <windows.h>
#include <initguid.h>
#include <devguid.h>
#include <setupapi.h>
// clang-format on

namespace serdrv {
namespace {

std::string narrow(const std::wstring& w) {
    if (w.empty())
        return {};
    const int n = WideCharToMultiByte(CP_UTF8, 0, w.data(), static_cast<int>(w.size()), nullptr, 0,
                                      nullptr, nullptr);
    std::string s(static_cast<size_t>(n), '\0');
    WideCharToMultiByte(CP_UTF8, 0, w.data(), static_cast<int>(w.size()), s.data(), n, nullptr,
                        nullptr);
    return s;
}

std::wstring property(HDEVINFO set, SP_DEVINFO_DATA& info, DWORD which) {
    wchar_t buf[512] = {};
    DWORD type = 0;
    if (!SetupDiGetDeviceRegistryPropertyW(set, &info, which, &type, reinterpret_cast<BYTE*>(buf),
                                           sizeof buf - sizeof(wchar_t), nullptr) ||
        type != REG_SZ)
        return {};
    return buf;
}

std::wstring portName(HDEVINFO set, SP_DEVINFO_DATA& info) {
    HKEY key = SetupDiOpenDevRegKey(set, &info, DICS_FLAG_GLOBAL, 0, DIREG_DEV, KEY_READ);
    if (key == INVALID_HANDLE_VALUE)
        return {};
    wchar_t buf[256] = {};
    DWORD size = sizeof buf - sizeof(wchar_t);
    DWORD type = 0;
    const LONG rc =
        RegQueryValueExW(key, L"PortName", nullptr, &type, reinterpret_cast<BYTE*>(buf), &size);
    RegCloseKey(key);
    return rc == ERROR_SUCCESS && type == REG_SZ ? std::wstring(buf) : std::wstring();
}

struct Found {
    std::string name, manufacturer, description;
};

} // namespace

void listSystemPorts(AddName addName, AddInfo addInfo, void* ctx, bool (*skip)(const char*)) {
    HDEVINFO set = SetupDiGetClassDevsW(&GUID_DEVCLASS_PORTS, nullptr, nullptr, DIGCF_PRESENT);
    if (set == INVALID_HANDLE_VALUE)
        return;
    std::vector<Found> found;
    SP_DEVINFO_DATA info{};
    info.cbSize = sizeof info;
    for (DWORD i = 0; SetupDiEnumDeviceInfo(set, i, &info); ++i) {
        const std::string name = narrow(portName(set, info));
        if (name.rfind("COM", 0) != 0)
            continue; // printer ports share the class
        found.push_back({name, narrow(property(set, info, SPDRP_MFG)),
                         narrow(property(set, info, SPDRP_DEVICEDESC))});
    }
    SetupDiDestroyDeviceInfoList(set);
    std::sort(found.begin(), found.end(),
              [](const Found& a, const Found& b) { return naturalLess(a.name, b.name); });
    for (const Found& f : found) {
        if (skip && skip(f.name.c_str()))
            continue;
        if (addName)
            addName(f.name.c_str(), ctx);
        if (addInfo)
            addInfo(f.name.c_str(), f.manufacturer.c_str(), f.description.c_str(), ctx);
    }
}

} // namespace serdrv

// The process-wide port lists of the serial library (names, driver records) and the receiver of
// device arrival and removal notices.

#include "rs232/SerialPortLocal.h"

#include "props/Props.h"
#include "rs232/Diagnostics.h"
#include "rs232/DriverLibrary.h"

#include <algorithm>
#include <cctype>
#include <mutex>

namespace rs232 {
namespace {

struct Lists {
    std::recursive_mutex mutex; // the driver calls back while it is held
    std::vector<std::string> portList;
    std::vector<std::string> svPortList;
    std::vector<PortDriverInfo> portListInfo;
    int portListMode = 0;
    DeviceNotificationCallback* notification = nullptr;
};

Lists& lists() {
    static Lists l;
    return l;
}

bool equalsIgnoreCase(const std::string& a, const std::string& b) {
    return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) {
               return std::tolower(static_cast<unsigned char>(x)) ==
                      std::tolower(static_cast<unsigned char>(y));
           });
}

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

void notificationTrampoline(int arrived, const char* portName, void*) {
    diagnostic("rs232.deviceNotification");
    Lists& l = lists();
    DeviceNotificationCallback* cb;
    {
        std::lock_guard lock(l.mutex);
        cb = l.notification;
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

void SerialPortLocal::addPortName(const std::string& portName) {
    Lists& l = lists();
    std::lock_guard lock(l.mutex);
    for (const auto& n : l.portList)
        if (equalsIgnoreCase(n, portName))
            return;
    l.portList.push_back(portName);
}

void SerialPortLocal::addPortInfo(const std::string& portName, const std::string& manufacturer,
                                  const std::string& description) {
    Lists& l = lists();
    std::lock_guard lock(l.mutex);
    for (const auto& info : l.portListInfo)
        if (equalsIgnoreCase(info.getPortName(), portName))
            return;
    l.portListInfo.emplace_back(portName, manufacturer, description);
}

std::vector<std::string> SerialPortLocal::getPortList() {
    const DriverLibrary& library = DriverLibrary::instance();
    Lists& l = lists();
    std::lock_guard lock(l.mutex);
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
        return l.portList;
    }
    if (const native::Natives* n = library.natives(); n && library.capabilities().getPortList) {
        l.portList.clear();
        l.portList.reserve(10);
        n->getPortList(&addNameCallback, &addInfoCallback, nullptr);
        if (library.osFamilyWindows()) {
            l.svPortList = l.portList;
            return windowsOrder(l.svPortList);
        }
        return l.portList;
    }
    if (!l.portList.empty()) {
        diagnostic("getPortList: using list created with addPortName");
        return l.portList;
    }
    diagnostic("getPortList: port discovery not currently supported on this platform.");
    diagnostic("Options:");
    diagnostic("A) addPortName can be used to build a list of device names ");
    diagnostic("B) set the property SERIAL_PORT_LIST, for example -DSERIAL_PORT_LIST=COM1;COM2");
    diagnostic("   or -DSERIAL_PORT_LIST=/dev/ttyS0:/dev/ttyUSB0");
    return {};
}

std::vector<PortDriverInfo> SerialPortLocal::getDriverInfoList() {
    if (!DriverLibrary::instance().capabilities().driverInfo)
        throw IOException("Not supported on this platform");
    Lists& l = lists();
    std::lock_guard lock(l.mutex);
    if (l.portList.empty())
        throw IOException("Must call SerialPortLocal.getPortList method first");
    return l.portListInfo;
}

std::optional<PortDriverInfo> SerialPortLocal::rereadPortInfo(const std::string& portName) {
    const DriverLibrary& library = DriverLibrary::instance();
    const native::Natives* n = library.natives();
    if (!n || !library.capabilities().getPortList)
        return std::nullopt;
    struct Found {
        const std::string& name;
        std::optional<PortDriverInfo> info;
    } found{portName, std::nullopt};
    n->getPortList(
        nullptr,
        [](const char* name, const char* mfgr, const char* desc, void* ctx) {
            auto* f = static_cast<Found*>(ctx);
            if (name && !f->info && equalsIgnoreCase(name, f->name))
                f->info.emplace(name, mfgr ? mfgr : "", desc ? desc : "");
        },
        &found);
    if (!found.info)
        return std::nullopt;
    Lists& l = lists();
    std::lock_guard lock(l.mutex);
    const auto held =
        std::find_if(l.portListInfo.begin(), l.portListInfo.end(), [&](const PortDriverInfo& i) {
            return equalsIgnoreCase(i.getPortName(), portName);
        });
    if (held != l.portListInfo.end())
        *held = *found.info;
    else
        l.portListInfo.push_back(*found.info);
    return found.info;
}

void SerialPortLocal::clearPortListInfo() {
    Lists& l = lists();
    std::lock_guard lock(l.mutex);
    l.portListInfo.clear();
}

int SerialPortLocal::getPortListMode() {
    Lists& l = lists();
    std::lock_guard lock(l.mutex);
    return l.portListMode;
}

void SerialPortLocal::setPortListMode(int mode) {
    Lists& l = lists();
    std::lock_guard lock(l.mutex);
    l.portListMode = mode;
}

void SerialPortLocal::registerDeviceNotification(DeviceNotificationCallback* callback) {
    const native::Natives* n = DriverLibrary::instance().natives();
    {
        Lists& l = lists();
        std::lock_guard lock(l.mutex);
        l.notification = callback;
    }
    if (!n)
        return;
    if (callback)
        n->registerDeviceNotification(&notificationTrampoline, nullptr);
    else
        n->unregisterDeviceNotification();
}

void SerialPortLocal::deviceNotification(bool arrived, const std::string& portName) {
    notificationTrampoline(arrived ? 1 : 0, portName.c_str(), nullptr);
}

} // namespace rs232

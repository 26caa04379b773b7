// Port listing from sysfs, without opening any device (an 8250 probe could hit the console).
// The system consoles are left out.

#include "Backend.h"
#include "Consoles.h"

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <string>
#include <system_error>
#include <vector>

namespace fs = std::filesystem;

namespace serdrv {
namespace {

std::string readAttribute(const fs::path& file) {
    std::ifstream in(file);
    std::string text;
    if (!in || !std::getline(in, text))
        return {};
    while (!text.empty() && (text.back() == '\r' || text.back() == ' ' || text.back() == '\t'))
        text.pop_back();
    return text;
}

struct Found {
    std::string name;
    std::string manufacturer;
    std::string description;
};

// The USB device above a tty's device node, if any: the first ancestor with an idVendor.
fs::path usbDeviceOf(const fs::path& device) {
    std::error_code ec;
    fs::path p = fs::canonical(device, ec);
    if (ec)
        return {};
    for (int depth = 0; depth < 6 && p.has_relative_path(); ++depth) {
        if (fs::exists(p / "idVendor", ec))
            return p;
        p = p.parent_path();
    }
    return {};
}

// The driver of the device behind a tty. Newer kernels put serial_core's own "port" and "ctrl"
// devices (bus serial-base) between the tty and the device of the real driver: skip them.
std::string driverName(const fs::path& device) {
    std::error_code ec;
    fs::path d = fs::canonical(device, ec);
    if (ec)
        return {};
    std::string name;
    for (int depth = 0; depth < 4 && d.has_relative_path(); ++depth) {
        const fs::path drv = fs::canonical(d / "driver", ec);
        if (ec)
            break;
        name = drv.filename().string();
        if (drv.parent_path().parent_path().filename() != "serial-base")
            break;
        d = d.parent_path();
    }
    return name;
}

std::vector<Found> scan() {
    const fs::path classTty = sysfsRoot() / "class" / "tty";
    const std::vector<std::string> consoles = systemConsoles();
    std::vector<Found> found;
    std::error_code ec;
    for (fs::directory_iterator it(classTty, ec), end; !ec && it != end; it.increment(ec)) {
        const fs::path entry = it->path();
        if (std::find(consoles.begin(), consoles.end(), entry.filename().string()) !=
            consoles.end())
            continue;
        std::error_code e2;
        const fs::path driverLink = entry / "device" / "driver";
        if (!fs::exists(driverLink, e2))
            continue; // virtual consoles, ptmx, pseudo-terminals
        // serial_core ports whose UART was not found report type 0 (no device behind them).
        if (fs::exists(entry / "type", e2) && readAttribute(entry / "type") == "0")
            continue;
        const std::string driver = driverName(entry / "device");
        Found f{"/dev/" + entry.filename().string(), {}, {}};
        const fs::path usb = usbDeviceOf(entry / "device");
        if (!usb.empty()) {
            f.description = readAttribute(usb / "product");
            f.manufacturer = readAttribute(usb / "manufacturer");
            if (f.description.empty())
                f.description = "USB serial adapter " + readAttribute(usb / "idVendor") + ":" +
                                readAttribute(usb / "idProduct");
        }
        if (f.description.empty())
            f.description = "Serial port (" + (driver.empty() ? std::string("tty") : driver) + ")";
        if (f.manufacturer.empty())
            f.manufacturer = usb.empty() ? "(Standard port types)" : "unknown";
        found.push_back(std::move(f));
    }
    std::sort(found.begin(), found.end(),
              [](const Found& a, const Found& b) { return naturalLess(a.name, b.name); });
    return found;
}

} // namespace

void listSystemPorts(AddName addName, AddInfo addInfo, void* ctx, bool (*skip)(const char*)) {
    for (const Found& f : scan()) {
        if (skip && skip(f.name.c_str()))
            continue; // a simulated device of that name stands in for it
        if (addName)
            addName(f.name.c_str(), ctx);
        if (addInfo)
            addInfo(f.name.c_str(), f.manufacturer.c_str(), f.description.c_str(), ctx);
    }
}

} // namespace serdrv

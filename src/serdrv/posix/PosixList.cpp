// Port listing from sysfs, without opening any device (an 8250 probe could hit the console).
// The root of sysfs may be moved with SERDRV_SYSFS_ROOT, so that tests can walk a tree they built.

#include "Backend.h"

#include <algorithm>
#include <cstdlib>
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

std::vector<Found> scan() {
    const char* root = std::getenv("SERDRV_SYSFS_ROOT");
    const fs::path classTty = fs::path(root && *root ? root : "/sys") / "class" / "tty";
    std::vector<Found> found;
    std::error_code ec;
    for (fs::directory_iterator it(classTty, ec), end; !ec && it != end; it.increment(ec)) {
        const fs::path entry = it->path();
        std::error_code e2;
        const fs::path driverLink = entry / "device" / "driver";
        if (!fs::exists(driverLink, e2))
            continue; // virtual consoles, ptmx, pseudo-terminals
        // serial_core ports whose UART was not found report type 0 (no device behind them).
        if (fs::exists(entry / "type", e2) && readAttribute(entry / "type") == "0")
            continue;
        const std::string driver = fs::canonical(driverLink, e2).filename().string();
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

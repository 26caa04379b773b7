#include "Consoles.h"

#include <algorithm>
#include <cstdlib>
#include <fstream>
#include <system_error>

namespace fs = std::filesystem;

namespace serdrv {

fs::path sysfsRoot() {
    const char* root = std::getenv("SERDRV_SYSFS_ROOT");
    return root && *root ? fs::path(root) : fs::path("/sys");
}

std::vector<std::string> systemConsoles() {
    std::ifstream in(sysfsRoot() / "class" / "tty" / "console" / "active");
    std::vector<std::string> names;
    std::string name;
    while (in >> name) // several consoles are separated by blanks
        names.push_back(name);
    return names;
}

bool isSystemConsole(const std::string& path) {
    std::error_code ec;
    fs::path device = fs::canonical(path, ec);
    if (ec)
        device = fs::path(path).lexically_normal(); // not there: the open says so
    const fs::path relative = device.lexically_relative("/dev");
    if (relative.empty() || *relative.begin() == "..")
        return false;
    const std::string name = relative.generic_string();
    if (name == "console")
        return true;
    const std::vector<std::string> consoles = systemConsoles();
    return std::find(consoles.begin(), consoles.end(), name) != consoles.end();
}

} // namespace serdrv

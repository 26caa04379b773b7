#pragma once

// The system consoles, as the kernel names them in /sys/class/tty/console/active: the kernel
// writes its messages there and a login may run on them, so they are neither listed nor opened.
// The root of sysfs may be moved with SERDRV_SYSFS_ROOT, so that tests can use a tree they built.

#include <filesystem>
#include <string>
#include <vector>

namespace serdrv {

std::filesystem::path sysfsRoot();

// Names relative to /dev ("ttyS0", "tty0"), as the kernel lists them.
std::vector<std::string> systemConsoles();

// True when the device at path (a link is followed) is a system console or /dev/console.
bool isSystemConsole(const std::string& path);

} // namespace serdrv

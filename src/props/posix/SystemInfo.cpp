#include "props/SystemInfo.h"

#include <cstdlib>
#include <pwd.h>
#include <string>
#include <sys/utsname.h>
#include <unistd.h>

namespace props::detail {

std::string osName() {
    utsname u{};
    if (uname(&u) == 0)
        return u.sysname; // "Linux"
    return "Linux";
}

std::string osArch() {
    utsname u{};
    if (uname(&u) != 0)
        return "unknown";
    std::string m = u.machine;
    if (m == "x86_64")
        return "amd64";
    if (m == "i386" || m == "i486" || m == "i586" || m == "i686")
        return "x86";
    return m; // "aarch64", ...
}

std::string userHome() {
    if (const char* h = std::getenv("HOME"); h && *h)
        return h;
    if (passwd* pw = getpwuid(getuid()); pw && pw->pw_dir)
        return pw->pw_dir;
    return "/";
}

std::string currentDirectory() {
    char buf[4096];
    if (getcwd(buf, sizeof buf))
        return buf;
    return ".";
}

} // namespace props::detail

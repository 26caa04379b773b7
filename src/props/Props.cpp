#include "props/Props.h"

#include "props/SystemInfo.h"

#include <cstdlib>
#include <mutex>

namespace props {
namespace {

std::mutex& mapMutex() {
    static std::mutex m;
    return m;
}

std::map<std::string, std::string>& theMap() {
    static std::map<std::string, std::string> m;
    return m;
}

} // namespace

std::optional<std::string> get(const std::string& key) {
    std::lock_guard lock(mapMutex());
    auto it = theMap().find(key);
    if (it == theMap().end())
        return std::nullopt;
    return it->second;
}

std::string get(const std::string& key, const std::string& fallback) {
    return get(key).value_or(fallback);
}

void set(const std::string& key, const std::string& value) {
    std::lock_guard lock(mapMutex());
    theMap()[key] = value;
}

void remove(const std::string& key) {
    std::lock_guard lock(mapMutex());
    theMap().erase(key);
}

std::map<std::string, std::string> snapshot() {
    std::lock_guard lock(mapMutex());
    return theMap();
}

void initFromSystem() {
    set("os.name", detail::osName());
    set("os.arch", detail::osArch());
    set("user.home", detail::userHome());
    set("user.dir", detail::currentDirectory());
    for (const auto& key : environmentKeys()) {
        if (const char* v = std::getenv(key.c_str()))
            set(key, v);
    }
    if (const char* v = std::getenv(kPrefsFileEnvironment))
        set(kPrefsFileProperty, v);
}

std::vector<std::string> applyCommandLine(const std::vector<std::string>& args) {
    std::vector<std::string> rest;
    for (const auto& a : args) {
        if (a.size() > 2 && a.compare(0, 2, "-D") == 0) {
            auto eq = a.find('=');
            if (eq == std::string::npos)
                set(a.substr(2), "");
            else if (eq > 2)
                set(a.substr(2, eq - 2), a.substr(eq + 1));
            else
                rest.push_back(a);
            continue;
        }
        rest.push_back(a);
    }
    return rest;
}

void publishProgramProperties() {
    set("VERSION", kVersion);
    set("RELEASEDATE", kReleaseDate);
    if (!get("SERDRV_OSNAME"))
        set("SERDRV_OSNAME", get("os.name", detail::osName()));
    if (!get("SERDRV_OSARCH"))
        set("SERDRV_OSARCH", get("os.arch", detail::osArch()));
}

} // namespace props

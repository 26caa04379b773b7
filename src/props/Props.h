#pragma once

// Process-wide, thread-safe property map ("os.name", "VERSION", "SERIAL_PORT_LIST", ...).
// Starts from the operating system and the environment; -DKEY=VALUE on the command line wins.

#include <map>
#include <optional>
#include <string>
#include <vector>

namespace props {

inline constexpr const char* kVersion = "2018.1.0.3";
inline constexpr const char* kReleaseDate = "20180208";

// Environment variables that give the property of the same name.
inline const std::vector<std::string>& environmentKeys() {
    static const std::vector<std::string> keys{"SERIAL_PORT_LIST", "SERDRV_OSNAME", "SERDRV_OSARCH",
                                               "TALLYRA_UPDATE_URL"};
    return keys;
}

inline constexpr const char* kPrefsFileProperty = "serwedge.prefs.FilePreferencesFactory.file";
inline constexpr const char* kPrefsFileEnvironment = "TALLYRA_PREFS_FILE";

std::optional<std::string> get(const std::string& key);
std::string get(const std::string& key, const std::string& fallback);
void set(const std::string& key, const std::string& value);
void remove(const std::string& key);
std::map<std::string, std::string> snapshot();

// Fills "os.name", "os.arch", "user.home", "user.dir" from the system, then the environment
// variables above. Idempotent: keys already set are overwritten with the system's values.
void initFromSystem();

// Applies every "-DKEY=VALUE" argument and returns the other arguments in order.
// "-DKEY" without "=" sets the empty text.
std::vector<std::string> applyCommandLine(const std::vector<std::string>& args);

// Publishes "VERSION", "RELEASEDATE" and the real platform as "SERDRV_OSNAME"/"SERDRV_OSARCH",
// unless those two were given explicitly (environment or command line).
void publishProgramProperties();

} // namespace props

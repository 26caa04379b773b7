#pragma once

#include <stdexcept>
#include <string>

namespace rs232 {

// No driver library exists for the platform the process runs on. The library has printed its
// diagnostics; the program decides how to end (the programs end with status -1).
class PlatformNotSupported : public std::runtime_error {
public:
    PlatformNotSupported(const std::string& osName, const std::string& osArch)
        : std::runtime_error("Platform not supported: os.name=\"" + osName + "\" os.arch=\"" +
                             osArch + "\"") {}
};

} // namespace rs232

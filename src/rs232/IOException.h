#pragma once

#include <stdexcept>
#include <string>

namespace rs232 {

// A failure of the port or of the driver, with the library's fixed English text.
class IOException : public std::runtime_error {
public:
    explicit IOException(const std::string& message) : std::runtime_error(message) {}
};

} // namespace rs232

#pragma once

#include <stdexcept>
#include <string>

namespace rs232 {

// A failure of the port or of the driver, with the library's fixed English text.
class IOException : public std::runtime_error {
public:
    explicit IOException(const std::string& message) : std::runtime_error(message) {}
};

// Opening found no device under the name (or no host answering for a network port): it may
// be unplugged, or not yet back.
class PortNotFound : public IOException {
public:
    using IOException::IOException;
};

// A read found the device gone: unplugged, hung up, or its connection closed. The port stays
// unusable; only closing it and opening the name again can bring the instrument back.
class PortDisconnected : public IOException {
public:
    using IOException::IOException;
};

} // namespace rs232

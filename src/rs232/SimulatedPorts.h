#pragma once

#include <cstdint>
#include <string>

namespace rs232 {

// The driver library's simulated devices, reached through the library the port layer loaded
// (programs do not link the driver library, so that a missing one is a clear error).
struct SimulatedPorts {
    int32_t (*create)(const char*) = nullptr;
    int32_t (*destroy)(const char*) = nullptr;
    int32_t (*push)(const char*, const uint8_t*, int32_t) = nullptr;
    int32_t (*pending)(const char*) = nullptr;
    void (*enableDemo)() = nullptr;
};

// Null when the driver library is not loaded or lacks simulated devices; error says why.
const SimulatedPorts* simulatedPorts(std::string& error);

} // namespace rs232

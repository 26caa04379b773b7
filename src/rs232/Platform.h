#pragma once

// Process properties the serial library reads.

#include <string>

namespace rs232 {

// "os.name" (the property map is filled from the system first if nobody has done it yet).
std::string systemOsName();
// "SERDRV_OSNAME" if set, else "os.name"; "SERDRV_OSARCH" if set, else "os.arch".
std::string driverOsName();
std::string driverOsArch();

} // namespace rs232

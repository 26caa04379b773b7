#pragma once

#include <string>

namespace rs232 {

// What the driver reports about one port: its name, the driver's manufacturer and description.
class PortDriverInfo {
public:
    PortDriverInfo(std::string portName, std::string manufacture, std::string description)
        : name(std::move(portName)), manufacture(std::move(manufacture)),
          description(std::move(description)) {}

    const std::string& getPortName() const { return name; }
    const std::string& getDriverMfgr() const { return manufacture; }
    const std::string& getDriverDesc() const { return description; }

private:
    std::string name;
    std::string manufacture;
    std::string description;
};

} // namespace rs232

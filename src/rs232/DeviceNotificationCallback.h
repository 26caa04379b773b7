#pragma once

#include <string>

namespace rs232 {

// Receiver of device arrival (arrived = true) and removal notices.
class DeviceNotificationCallback {
public:
    virtual ~DeviceNotificationCallback() = default;
    virtual void deviceNotification(bool arrived, const std::string& portName) = 0;
};

} // namespace rs232

#pragma once

// The port server thread that the "EPOC" platform needs before a port is opened. It runs the
// driver's server step (SerServerTask, when the driver exports it) until stopped.

#include <atomic>
#include <string>
#include <thread>

namespace rs232 {

class SerialServerTask {
public:
    explicit SerialServerTask(std::string portName);
    ~SerialServerTask();

    void start();
    void stop();
    const std::string& getPortName() const { return portName; }

private:
    std::string portName;
    std::atomic<bool> stopRequest{false};
    std::thread thread_;
};

} // namespace rs232

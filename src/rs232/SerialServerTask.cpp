#include "rs232/SerialServerTask.h"

#include "rs232/Native.h"

namespace rs232 {

SerialServerTask::SerialServerTask(std::string name) : portName(std::move(name)) {}

SerialServerTask::~SerialServerTask() {
    stop();
    if (thread_.joinable())
        thread_.join();
}

void SerialServerTask::start() {
    if (thread_.joinable())
        return;
    thread_ = std::thread([this] {
        using Step = int32_t (*)(const char*);
        const auto step = reinterpret_cast<Step>(native::serverTaskSymbol());
        while (step && !stopRequest) {
            if (step(portName.c_str()) != 0)
                break;
            std::this_thread::yield();
        }
    });
}

void SerialServerTask::stop() {
    stopRequest = true;
}

} // namespace rs232

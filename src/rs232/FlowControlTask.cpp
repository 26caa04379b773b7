#include "rs232/FlowControlTask.h"

#include "rs232/Native.h"

#include <stdexcept>

namespace rs232 {

FlowControlTask::FlowControlTask(SerialPortLocal* port, int num) : sp(port), portNum(num) {}

FlowControlTask::~FlowControlTask() {
    abort();
    if (thread_.joinable() && thread_.get_id() != std::this_thread::get_id())
        thread_.join();
}

void FlowControlTask::start() {
    if (!thread_.joinable())
        thread_ = std::thread([this] { run(); });
}

void FlowControlTask::abort() {
    abortRequest = true;
}

void FlowControlTask::setFlowPriority(int priority, int maxPriority) {
    if (priority < 1 || priority > 10)
        throw std::invalid_argument("Invalid flow priority: " + std::to_string(priority));
    priority_ = priority > maxPriority ? maxPriority : priority;
}

void FlowControlTask::run() {
    // std::thread has no portable priority; the value is kept for the driver's benefit.
    setFlowPriority(priority_ + 1 > 10 ? 10 : priority_ + 1);
    const native::Natives* n = native::natives();
    while (!abortRequest && n) {
        n->flowTask(portNum);
        std::this_thread::yield();
    }
}

} // namespace rs232

#pragma once

// Software-assisted hardware handshake: a thread that calls the driver's flow step over and over
// until aborted. Started only for Windows 95 with hard flow and a CTS/RTS or DSR/DTR handshake.

#include <atomic>
#include <thread>

namespace rs232 {

class SerialPortLocal;

class FlowControlTask {
public:
    FlowControlTask(SerialPortLocal* sp, int portNum);
    ~FlowControlTask(); // aborts and waits for the thread

    void start();
    void abort();
    // Accepts 1..10; a value above maxPriority is lowered to it. The effective value is kept.
    void setFlowPriority(int priority, int maxPriority = 10);
    int getFlowPriority() const { return priority_; }
    bool isRunning() const { return thread_.joinable() && !abortRequest; }

private:
    void run();

    [[maybe_unused]] SerialPortLocal* sp; // the port served; the driver step needs only portNum
    int portNum;
    std::atomic<bool> abortRequest{false};
    std::atomic<int> priority_{5};
    std::thread thread_;
};

} // namespace rs232

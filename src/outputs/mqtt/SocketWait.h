#pragma once

// Waiting for the broker's socket or for a wake-up from another thread (per-OS: posix/).

namespace serwedge::outputs {

class SocketWait {
public:
    struct Result {
        bool readable = false; // or closed, or failed: a read tells which
        bool writable = false;
        bool woken = false; // by wake()
    };

    SocketWait();
    ~SocketWait();
    SocketWait(const SocketWait&) = delete;
    SocketWait& operator=(const SocketWait&) = delete;

    // Waits up to timeoutMs (-1: no limit) for the socket (none when negative) to become
    // readable, or writable when wantWrite, or for wake().
    Result wait(int socket, bool wantWrite, int timeoutMs);
    // Ends the current or the next wait at once; any thread.
    void wake();

private:
    int fds_[2] = {-1, -1};
};

} // namespace serwedge::outputs

#include "mqtt/SocketWait.h"

#include <cerrno>
#include <fcntl.h>
#include <poll.h>
#include <unistd.h>

namespace serwedge::outputs {

SocketWait::SocketWait() {
    if (::pipe2(fds_, O_CLOEXEC | O_NONBLOCK) != 0)
        fds_[0] = fds_[1] = -1;
}

SocketWait::~SocketWait() {
    for (int fd : fds_) {
        if (fd >= 0)
            ::close(fd);
    }
}

SocketWait::Result SocketWait::wait(int socket, bool wantWrite, int timeoutMs) {
    pollfd p[2] = {{fds_[0], POLLIN, 0},
                   {socket, static_cast<short>(POLLIN | (wantWrite ? POLLOUT : 0)), 0}};
    const nfds_t n = socket >= 0 ? 2 : 1;
    int r;
    do {
        r = ::poll(p, n, timeoutMs);
    } while (r < 0 && errno == EINTR);
    Result result;
    if (r <= 0)
        return result;
    if (p[0].revents & POLLIN) {
        result.woken = true;
        char drain[64];
        while (::read(fds_[0], drain, sizeof drain) > 0) {
        }
    }
    if (n == 2) {
        result.readable = (p[1].revents & (POLLIN | POLLHUP | POLLERR | POLLNVAL)) != 0;
        result.writable = (p[1].revents & POLLOUT) != 0;
    }
    return result;
}

void SocketWait::wake() {
    const char b = 1;
    // A full pipe already holds a wake-up.
    [[maybe_unused]] const ssize_t n = ::write(fds_[1], &b, 1);
}

} // namespace serwedge::outputs

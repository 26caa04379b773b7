#include "outputs/AppendFile.h"

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace serwedge::outputs {

namespace {

std::string describe(int err) {
    return std::strerror(err);
}

} // namespace

bool AppendFile::open(const std::string& path, bool& endsInsideLine, std::string& error) {
    close();
    const int fd = ::open(path.c_str(), O_WRONLY | O_APPEND | O_CREAT | O_CLOEXEC, 0644);
    if (fd < 0) {
        error = describe(errno);
        return false;
    }
    struct stat st {};
    if (::fstat(fd, &st) != 0) {
        error = describe(errno);
        ::close(fd);
        return false;
    }
    if (S_ISDIR(st.st_mode)) {
        error = describe(EISDIR);
        ::close(fd);
        return false;
    }
    endsInsideLine = false;
    size_ = S_ISREG(st.st_mode) ? static_cast<std::uint64_t>(st.st_size) : 0;
    if (size_ > 0) {
        // Opened for writing only: look at the last byte through a second descriptor.
        const int rd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
        char last = '\n';
        if (rd >= 0) {
            if (::pread(rd, &last, 1, static_cast<off_t>(size_ - 1)) != 1)
                last = '\n';
            ::close(rd);
        }
        endsInsideLine = last != '\n';
    }
    handle_ = fd;
    return true;
}

bool AppendFile::write(const char* data, std::size_t size, std::string& error) {
    const int fd = static_cast<int>(handle_);
    std::size_t done = 0;
    while (done < size) {
        const ssize_t n = ::write(fd, data + done, size - done);
        if (n > 0) {
            done += static_cast<std::size_t>(n);
            continue;
        }
        if (n < 0 && errno == EINTR)
            continue;
        const int err = n < 0 ? errno : ENOSPC;
        // Nothing half-written stays behind: the next attempt writes the whole text again.
        if (done > 0 && ::ftruncate(fd, static_cast<off_t>(size_)) != 0)
            size_ += done; // could not cut it off: the writer starts on a new line
        error = describe(err);
        return false;
    }
    size_ += done;
    return true;
}

bool AppendFile::sync(std::string& error) {
    if (::fdatasync(static_cast<int>(handle_)) == 0)
        return true;
    // Files that cannot be synced (special files, some network mounts) are written all the same.
    if (errno == EINVAL || errno == EROFS || errno == ENOTSUP)
        return true;
    error = describe(errno);
    return false;
}

void AppendFile::close() {
    if (handle_ >= 0)
        ::close(static_cast<int>(handle_));
    handle_ = -1;
    size_ = 0;
}

bool AppendFile::isOpen() const {
    return handle_ >= 0;
}

} // namespace serwedge::outputs

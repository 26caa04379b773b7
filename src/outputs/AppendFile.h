#pragma once

// A file that only grows, written straight to the operating system (no buffer in the process),
// so that a killed process loses nothing that was written. Per-OS in posix/ and win/.

#include <cstddef>
#include <cstdint>
#include <string>

namespace serwedge::outputs {

class AppendFile {
public:
    AppendFile() = default;
    ~AppendFile() { close(); }
    AppendFile(const AppendFile&) = delete;
    AppendFile& operator=(const AppendFile&) = delete;

    // Opens (creating it when missing) the file at path, UTF-8. False with error set when it
    // cannot. endsInsideLine tells whether the file's last byte is not a line feed (a line
    // left unfinished by a failure), so that the writer can start on a new line.
    bool open(const std::string& path, bool& endsInsideLine, std::string& error);
    // Writes all of data or nothing: a write that fails half-way is cut back off the file.
    bool write(const char* data, std::size_t size, std::string& error);
    // Asks the operating system to put what was written on the disk.
    bool sync(std::string& error);
    void close();
    bool isOpen() const;

private:
    std::intptr_t handle_ = -1;
    std::uint64_t size_ = 0;
};

} // namespace serwedge::outputs

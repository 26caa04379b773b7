#include "outputs/AppendFile.h"

#include <windows.h>

#include <algorithm>
#include <string>

namespace serwedge::outputs {

namespace {

std::wstring widen(const std::string& s) {
    if (s.empty())
        return {};
    const int n = MultiByteToWideChar(CP_UTF8, 0, s.data(), static_cast<int>(s.size()), nullptr, 0);
    std::wstring w(static_cast<size_t>(n), L'\0');
    MultiByteToWideChar(CP_UTF8, 0, s.data(), static_cast<int>(s.size()), w.data(), n);
    return w;
}

std::string describe(DWORD err) {
    char* text = nullptr;
    const DWORD n = FormatMessageA(FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM |
                                       FORMAT_MESSAGE_IGNORE_INSERTS,
                                   nullptr, err, 0, reinterpret_cast<LPSTR>(&text), 0, nullptr);
    std::string s = n > 0 && text ? std::string(text, n) : "error " + std::to_string(err);
    if (text)
        LocalFree(text);
    while (!s.empty() && (s.back() == '\n' || s.back() == '\r' || s.back() == ' '))
        s.pop_back();
    return s;
}

HANDLE h(std::intptr_t handle) {
    return reinterpret_cast<HANDLE>(handle);
}

} // namespace

bool AppendFile::open(const std::string& path, bool& endsInsideLine, std::string& error) {
    close();
    HANDLE f = CreateFileW(widen(path).c_str(), GENERIC_READ | FILE_APPEND_DATA,
                           FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                           OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (f == INVALID_HANDLE_VALUE) {
        error = describe(GetLastError());
        return false;
    }
    LARGE_INTEGER size{};
    if (!GetFileSizeEx(f, &size)) {
        error = describe(GetLastError());
        CloseHandle(f);
        return false;
    }
    size_ = static_cast<std::uint64_t>(size.QuadPart);
    endsInsideLine = false;
    if (size_ > 0) {
        OVERLAPPED at{};
        at.Offset = static_cast<DWORD>((size_ - 1) & 0xFFFFFFFFu);
        at.OffsetHigh = static_cast<DWORD>((size_ - 1) >> 32);
        char last = '\n';
        DWORD read = 0;
        if (ReadFile(f, &last, 1, &read, &at) && read == 1)
            endsInsideLine = last != '\n';
    }
    handle_ = reinterpret_cast<std::intptr_t>(f);
    return true;
}

bool AppendFile::write(const char* data, std::size_t size, std::string& error) {
    std::size_t done = 0;
    while (done < size) {
        const DWORD chunk = static_cast<DWORD>(std::min<std::size_t>(size - done, 1u << 30));
        DWORD written = 0;
        if (!WriteFile(h(handle_), data + done, chunk, &written, nullptr) || written == 0) {
            const DWORD err = GetLastError();
            if (done > 0) {
                // Cut the half-written text off again.
                LARGE_INTEGER at{};
                at.QuadPart = static_cast<LONGLONG>(size_);
                if (!SetFilePointerEx(h(handle_), at, nullptr, FILE_BEGIN) ||
                    !SetEndOfFile(h(handle_)))
                    size_ += done;
            }
            error = describe(err == 0 ? ERROR_DISK_FULL : err);
            return false;
        }
        done += written;
    }
    size_ += done;
    return true;
}

bool AppendFile::sync(std::string& error) {
    if (FlushFileBuffers(h(handle_)))
        return true;
    error = describe(GetLastError());
    return false;
}

void AppendFile::close() {
    if (handle_ != -1)
        CloseHandle(h(handle_));
    handle_ = -1;
    size_ = 0;
}

bool AppendFile::isOpen() const {
    return handle_ != -1;
}

} // namespace serwedge::outputs

// Loading the driver library with LoadLibrary.

#include "rs232/Native.h"

#include <string>
#include <windows.h>

namespace fs = std::filesystem;

namespace rs232::native {
namespace {

std::string lastErrorText() {
    const DWORD code = GetLastError();
    char* text = nullptr;
    const DWORD n = FormatMessageA(FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM |
                                       FORMAT_MESSAGE_IGNORE_INSERTS,
                                   nullptr, code, 0, reinterpret_cast<LPSTR>(&text), 0, nullptr);
    std::string s = n && text ? std::string(text, n) : "error " + std::to_string(code);
    if (text)
        LocalFree(text);
    while (!s.empty() && (s.back() == '\n' || s.back() == '\r' || s.back() == ' '))
        s.pop_back();
    return s;
}

} // namespace

fs::path executableFolder() {
    std::wstring buf(MAX_PATH, L'\0');
    for (;;) {
        const DWORD n = GetModuleFileNameW(nullptr, buf.data(), static_cast<DWORD>(buf.size()));
        if (n == 0)
            return {};
        if (n < buf.size()) {
            buf.resize(n);
            return fs::path(buf).parent_path();
        }
        buf.resize(buf.size() * 2);
    }
}

std::string libraryFileName(const std::string& name) {
    return name + ".dll";
}

void* openLibraryFile(const fs::path& path, std::string& error) {
    HMODULE lib = LoadLibraryW(path.wstring().c_str());
    if (!lib)
        error = lastErrorText();
    return reinterpret_cast<void*>(lib);
}

void* findSymbol(void* library, const char* symbol) {
    return reinterpret_cast<void*>(GetProcAddress(static_cast<HMODULE>(library), symbol));
}

} // namespace rs232::native

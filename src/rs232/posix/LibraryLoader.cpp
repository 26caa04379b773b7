// Loading the driver library with dlopen.

#include "rs232/Native.h"

#include <dlfcn.h>
#include <system_error>

namespace fs = std::filesystem;

namespace rs232::native {

fs::path executableFolder() {
    std::error_code ec;
    const fs::path exe = fs::read_symlink("/proc/self/exe", ec);
    return ec ? fs::path() : exe.parent_path();
}

std::string libraryFileName(const std::string& name) {
    return "lib" + name + ".so";
}

void* openLibraryFile(const fs::path& path, std::string& error) {
    void* lib = dlopen(path.c_str(), RTLD_NOW | RTLD_LOCAL);
    if (!lib) {
        const char* e = dlerror();
        error = e ? e : "cannot load " + path.string();
    }
    return lib;
}

void* findSymbol(void* library, const char* symbol) {
    return dlsym(library, symbol);
}

} // namespace rs232::native

// Loading the driver library with dlopen.

#include "rs232/Native.h"

#include <dlfcn.h>
#include <filesystem>
#include <system_error>

namespace fs = std::filesystem;

namespace rs232::native {
namespace {

fs::path executableFolder() {
    std::error_code ec;
    const fs::path exe = fs::read_symlink("/proc/self/exe", ec);
    return ec ? fs::path() : exe.parent_path();
}

} // namespace

std::string libraryFileName(const std::string& name) {
    return "lib" + name + ".so";
}

void* openLibraryFile(const std::string& path, std::string& error) {
    void* lib = dlopen(path.c_str(), RTLD_NOW | RTLD_LOCAL);
    if (!lib) {
        const char* e = dlerror();
        error = e ? e : "cannot load " + path;
    }
    return lib;
}

void* openLibrary(const std::string& name, std::string& error) {
    const std::string file = libraryFileName(name);
    if (const fs::path dir = executableFolder(); !dir.empty()) {
        for (const fs::path& candidate : {dir / file, dir / ".." / "lib" / "tallyra" / file}) {
            std::error_code ec;
            if (fs::exists(candidate, ec))
                if (void* lib = openLibraryFile(candidate.string(), error))
                    return lib;
        }
    }
    return openLibraryFile(file, error); // the normal search path
}

void* findSymbol(void* library, const char* symbol) {
    return dlsym(library, symbol);
}

} // namespace rs232::native

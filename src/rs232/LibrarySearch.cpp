// Where the driver library is looked for, on every OS: beside the program, in the installed
// layout's library folder, then wherever the system looks.

#include "rs232/Native.h"

#include <system_error>

namespace fs = std::filesystem;

namespace rs232::native {

void* openLibrary(const std::string& name, std::string& error) {
    const fs::path file = libraryFileName(name);
    if (const fs::path dir = executableFolder(); !dir.empty()) {
        for (const fs::path& candidate : {dir / file, dir / ".." / "lib" / "tallyra" / file}) {
            std::error_code ec;
            if (fs::exists(candidate, ec))
                if (void* lib = openLibraryFile(candidate, error))
                    return lib;
        }
    }
    return openLibraryFile(file, error); // the normal search path
}

} // namespace rs232::native

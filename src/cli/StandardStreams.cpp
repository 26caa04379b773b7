#include "cli/StandardStreams.h"

#include <cerrno>
#include <cstdio>
#include <cstring>

namespace tallyra::cli {

bool readStandardInput(QByteArray& bytes, std::string& error) {
    char buffer[65536];
    for (;;) {
        const std::size_t n = std::fread(buffer, 1, sizeof buffer, stdin);
        bytes.append(buffer, static_cast<qsizetype>(n));
        if (n == sizeof buffer)
            continue;
        if (std::ferror(stdin)) {
            error = std::strerror(errno);
            return false;
        }
        return true;
    }
}

} // namespace tallyra::cli

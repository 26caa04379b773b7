// Windows opens the standard streams in text mode, which turns CR LF into LF and ends input at
// a Ctrl+Z byte: binary mode keeps the bytes as they are.

#include "cli/StandardStreams.h"

#include <cstdio>
#include <fcntl.h>
#include <io.h>

namespace tallyra::cli {

void useBinaryStandardStreams() {
    _setmode(_fileno(stdin), _O_BINARY);
    _setmode(_fileno(stdout), _O_BINARY);
    _setmode(_fileno(stderr), _O_BINARY);
}

} // namespace tallyra::cli

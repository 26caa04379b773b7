// POSIX streams have no text mode: nothing to switch.

#include "cli/StandardStreams.h"

namespace tallyra::cli {

void useBinaryStandardStreams() {}

} // namespace tallyra::cli

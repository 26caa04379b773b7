#pragma once

// The standard streams of tallyra-cli carry bytes as they are: replayed input keeps every CR,
// and output lines end in LF on every system. Per operating system (chosen by CMake).

namespace tallyra::cli {

// Switches standard input, output and error to binary mode where the system has a text mode.
void useBinaryStandardStreams();

} // namespace tallyra::cli

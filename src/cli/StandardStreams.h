#pragma once

// The standard streams of tallyra-cli carry bytes as they are: replayed input keeps every CR,
// and output lines end in LF on every system. Binary mode per operating system (chosen by
// CMake).

#include <memory>

class QIODevice;

namespace tallyra::cli {

// Switches standard input, output and error to binary mode where the system has a text mode.
void useBinaryStandardStreams();

// Standard input as an open sequential device, read through the C library up to its end. (A
// QFile on stdin takes the end of a pipe for a read error on Windows.) A read error gives -1
// with the system's reason as the error string.
std::unique_ptr<QIODevice> standardInput();

} // namespace tallyra::cli

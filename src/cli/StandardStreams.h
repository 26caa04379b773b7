#pragma once

// The standard streams of tallyra-cli carry bytes as they are: replayed input keeps every CR,
// and output lines end in LF on every system. Per operating system (chosen by CMake).

#include <QByteArray>

#include <string>

namespace tallyra::cli {

// Switches standard input, output and error to binary mode where the system has a text mode.
void useBinaryStandardStreams();

// Everything on standard input up to its end; false with the reason in `error` on a read error.
bool readStandardInput(QByteArray& bytes, std::string& error);

} // namespace tallyra::cli

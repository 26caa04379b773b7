#pragma once

// The serial library's diagnostics (load banner, listing hints). By default each message is one
// line on standard output; a program that keeps standard output for data redirects them.

#include <functional>
#include <string>

namespace rs232 {

using DiagnosticSink = std::function<void(const std::string& line)>;

// Replaces the sink; an empty function restores the default. Thread-safe.
void setDiagnosticSink(DiagnosticSink sink);
void diagnostic(const std::string& line);

} // namespace rs232

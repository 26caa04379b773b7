#include "rs232/Diagnostics.h"
#include "rs232/Platform.h"

#include "props/Props.h"

#include <cstdio>
#include <mutex>

namespace rs232 {
namespace {

std::mutex sinkMutex;
DiagnosticSink currentSink;

std::string propertyOr(const char* key, const char* fallback) {
    if (!props::get("os.name"))
        props::initFromSystem();
    if (auto v = props::get(key))
        return *v;
    return props::get(fallback, "");
}

} // namespace

void setDiagnosticSink(DiagnosticSink sink) {
    std::lock_guard lock(sinkMutex);
    currentSink = std::move(sink);
}

void diagnostic(const std::string& line) {
    std::lock_guard lock(sinkMutex);
    if (currentSink) {
        currentSink(line);
        return;
    }
    std::fputs(line.c_str(), stdout);
    std::fputc('\n', stdout);
    std::fflush(stdout);
}

std::string systemOsName() {
    return propertyOr("os.name", "os.name");
}
std::string driverOsName() {
    return propertyOr("SERDRV_OSNAME", "os.name");
}
std::string driverOsArch() {
    return propertyOr("SERDRV_OSARCH", "os.arch");
}

} // namespace rs232

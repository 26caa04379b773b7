#pragma once

#include <atomic>

namespace serwedge {

// Set once the main window starts closing; background threads read it before they report, and
// the field checks show nothing from then on.
extern std::atomic<bool> isClosing;

} // namespace serwedge

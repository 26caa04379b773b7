#include "platform/KeyInjector.h"

#include "keys/KeyCodes.h"

namespace platform {

void KeyInjector::pressDeadKeySpace() {
    press(serwedge::config::KeyCodes::SPACE);
}

void KeyInjector::releaseDeadKeySpace() {
    release(serwedge::config::KeyCodes::SPACE);
}

} // namespace platform

#include "worker/KeyInjectorChoice.h"

namespace serwedge::worker {

std::unique_ptr<platform::KeyInjector> createPortalKeyInjector(const KeyInjectorHooks&) {
    throw platform::KeyInjectorError("Windows has no desktop portal");
}

} // namespace serwedge::worker

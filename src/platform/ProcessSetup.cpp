// Nothing to prepare on this platform.

#include "platform/ProcessSetup.h"

namespace platform {

void prepareProcess() {}

} // namespace platform

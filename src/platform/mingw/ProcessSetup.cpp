// Qt's regular expressions keep the stack of their JIT-compiled patterns in a thread_local
// object. With the MinGW runtime the storage of thread_local objects can be released before
// their destructors run, so a thread that has matched a JIT-compiled pattern (the reading
// worker) crashes when it ends. The pattern interpreter keeps no such state: Qt is told not
// to compile patterns, before the first one is used.

#include "platform/ProcessSetup.h"

#include <cstdlib>

namespace platform {

void prepareProcess() {
    _putenv_s("QT_ENABLE_REGEXP_JIT", "0");
}

} // namespace platform

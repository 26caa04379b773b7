#include "rs232/NativeHandleMutex.h"

namespace rs232 {

NativeHandleMutex& NativeHandleMutex::getInstance() {
    static NativeHandleMutex instance; // created on first use; the runtime locks its creation
    return instance;
}

} // namespace rs232

#include "rs232/SimulatedPorts.h"

#include "rs232/Native.h"
#include "rs232/SerialPortLocal.h"

namespace rs232 {

const SimulatedPorts* simulatedPorts(std::string& error) {
    static SimulatedPorts api;
    static bool resolved = false;
    if (resolved)
        return &api;
    if (!rs232::SerialPortLocal::isLibraryLoaded()) {
        error = "the serial driver library " + rs232::SerialPortLocal::getLibraryName() +
                " could not be loaded";
        return nullptr;
    }
    // Opening the loaded library again yields the same, already loaded, library.
    void* lib = rs232::native::openLibrary(rs232::SerialPortLocal::getLibraryName(), error);
    if (!lib)
        return nullptr;
    auto sym = [lib](const char* name) { return rs232::native::findSymbol(lib, name); };
    api.create = reinterpret_cast<decltype(api.create)>(sym("serdrv_sim_create"));
    api.destroy = reinterpret_cast<decltype(api.destroy)>(sym("serdrv_sim_destroy"));
    api.push = reinterpret_cast<decltype(api.push)>(sym("serdrv_sim_push"));
    api.pending = reinterpret_cast<decltype(api.pending)>(sym("serdrv_sim_pending"));
    api.enableDemo = reinterpret_cast<decltype(api.enableDemo)>(sym("serdrv_sim_enable_demo"));
    if (!api.create || !api.destroy || !api.push || !api.pending || !api.enableDemo) {
        error = "the serial driver library has no simulated devices";
        return nullptr;
    }
    resolved = true;
    return &api;
}

} // namespace rs232

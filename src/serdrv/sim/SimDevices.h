// The registry of simulated devices shared by the port objects and the control API: the
// devices, the one lock that guards them, and the demo balance.
#pragma once

#include "Backend.h"
#include "LineCheck.h"
#include "serdrv_sim.h"

#include <chrono>
#include <condition_variable>
#include <cstdint>
#include <deque>
#include <map>
#include <memory>
#include <mutex>
#include <optional>
#include <string>
#include <utility>
#include <vector>

namespace serdrv::sim {

using Clock = std::chrono::steady_clock;

enum Mark : uint8_t { kParity = 1, kFraming = 2, kOverrun = 4 };

struct Device {
    std::string name;
    bool present = true; // false once destroyed
    bool unplugged = false;
    // Counts the unplugs: a handle opened before the last one is dead for good.
    unsigned plugging = 0;
    bool open = false;
    std::deque<std::pair<uint8_t, uint8_t>> rx; // byte and its marks
    uint8_t nextMarks = 0;
    bool parityPending = false, framingPending = false, overrunPending = false;
    bool dsr = false, cts = false, cd = false, ri = false;
    bool dtr = false, rts = false;
    bool loopback = false;
    int failCode = 0, failCount = 0;
    std::vector<uint8_t> written;
    SerdrvConfig config{};
    // Line settings the device keeps whatever it is asked, when set.
    std::optional<LineSettings> held;
    // Demo balance: the next line is due at this time.
    bool demo = false;
    Clock::time_point nextLine{};
    long demoValue = 1234; // hundredths of a gram
    unsigned demoSeed = 12345;
};

// One lock for every simulated device keeps the control API simple and race-free.
extern std::mutex simMutex;
extern std::condition_variable simArrived;
extern std::map<std::string, std::shared_ptr<Device>> devices;
extern std::vector<std::string> creationOrder;
extern SerDeviceNotificationFn notifyFn;
extern void* notifyCtx;
// Set once the environment was looked at, or the demo was switched on by the control API.
extern bool environmentChecked;

inline constexpr const char* kDemoName = "DEMO";

std::shared_ptr<Device> findLocked(const char* name);
// Notifications are delivered outside the lock so that the receiver may call back in.
void notify(bool arrived, const std::string& name);
std::shared_ptr<Device> createLocked(const std::string& name, bool& created);
void enableDemoLocked(bool& created);
// SERDRV_SIMULATED_PORTS turns the demo device on, once per process.
void checkEnvironmentLocked();
// Appends the demo lines that have come due: a value that drifts and settles like a balance.
void produceDemoLocked(Device& d);

template <typename F> int32_t control(const char* name, F f) {
    std::lock_guard lock(simMutex);
    auto d = findLocked(name);
    if (!d)
        return -1;
    return f(*d);
}

} // namespace serdrv::sim

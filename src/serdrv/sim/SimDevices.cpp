// The registry of simulated devices and the demo balance.

#include "SimDevices.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>

namespace serdrv::sim {

std::mutex simMutex;
std::condition_variable simArrived;
std::map<std::string, std::shared_ptr<Device>> devices;
std::vector<std::string> creationOrder;
SerDeviceNotificationFn notifyFn = nullptr;
void* notifyCtx = nullptr;
bool environmentChecked = false;

namespace {
constexpr auto kDemoPeriod = std::chrono::milliseconds(250);
} // namespace

std::shared_ptr<Device> findLocked(const char* name) {
    if (!name)
        return nullptr;
    auto it = devices.find(name);
    return it == devices.end() ? nullptr : it->second;
}

void notify(bool arrived, const std::string& name) {
    SerDeviceNotificationFn fn;
    void* ctx;
    {
        std::lock_guard lock(simMutex);
        fn = notifyFn;
        ctx = notifyCtx;
    }
    if (fn)
        fn(arrived ? 1 : 0, name.c_str(), ctx);
}

std::shared_ptr<Device> createLocked(const std::string& name, bool& created) {
    created = false;
    if (auto d = findLocked(name.c_str()))
        return d;
    auto d = std::make_shared<Device>();
    d->name = name;
    devices[name] = d;
    creationOrder.push_back(name);
    created = true;
    return d;
}

void enableDemoLocked(bool& created) {
    auto d = createLocked(kDemoName, created);
    if (created) {
        d->demo = true;
        d->nextLine = Clock::now();
        d->dsr = d->cts = true; // a balance that is switched on answers on both lines
    }
}

void checkEnvironmentLocked() {
    if (environmentChecked)
        return;
    environmentChecked = true;
    if (std::getenv("SERDRV_SIMULATED_PORTS")) {
        bool created = false;
        enableDemoLocked(created);
    }
}

void produceDemoLocked(Device& d) {
    if (!d.demo || d.unplugged)
        return;
    const auto now = Clock::now();
    int lines = 0;
    while (d.nextLine <= now && lines < 8) {
        d.demoSeed = d.demoSeed * 1103515245u + 12345u;
        const long step = static_cast<long>((d.demoSeed >> 16) % 201) - 100;
        d.demoValue = std::clamp(d.demoValue + step, 0L, 99999999L);
        char text[32];
        // Lines end with CR, as the default preset expects.
        std::snprintf(text, sizeof text, "ST,+%06ld.%02ld  g\r", d.demoValue / 100,
                      d.demoValue % 100);
        for (const char* c = text; *c; ++c)
            d.rx.emplace_back(static_cast<uint8_t>(*c), 0);
        d.nextLine += kDemoPeriod;
        ++lines;
    }
    if (d.nextLine <= now)
        d.nextLine = now + kDemoPeriod; // the reader was away: skip what it missed
}

} // namespace serdrv::sim

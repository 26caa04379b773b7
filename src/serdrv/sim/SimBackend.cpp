// Simulated serial devices: test instruments and the demo balance.

#include "SimDevices.h"

#include <algorithm>
#include <cstring>

namespace serdrv {
namespace {

using namespace sim;

// The line of a simulated device: it takes what it is asked unless it holds settings of its own.
class HeldLine final : public LineDevice {
public:
    explicit HeldLine(const Device& d) : dev_(d) {}
    bool apply(const LineSettings& s) override {
        asked_ = s;
        return true;
    }
    bool read(LineSettings& out) override {
        out = dev_.held.value_or(asked_);
        return true;
    }

private:
    const Device& dev_;
    LineSettings asked_;
};

class SimPort final : public Port {
public:
    explicit SimPort(std::shared_ptr<Device> d) : dev_(std::move(d)), plugging_(dev_->plugging) {}
    ~SimPort() override {
        std::lock_guard lock(simMutex);
        if (plugging_ == dev_->plugging)
            dev_->open = false;
    }

    int configure(const SerdrvConfig& c) override {
        std::lock_guard lock(simMutex);
        if (!usable())
            return SERDRV_ERR_CONFIGURE;
        LineSettings wanted;
        if (const int code = wantedSettings(c, wanted); code != 0)
            return code;
        HeldLine line(*dev_);
        if (const int code = applyAndVerify(line, wanted, false); code != 0)
            return code;
        dev_->config = c;
        dev_->config.portName = nullptr;
        dev_->config.baseName = nullptr;
        return 0;
    }

    int getByte(int timeoutMs) override {
        std::unique_lock lock(simMutex);
        if (!waitForData(lock, timeoutMs))
            return usable() ? SERDRV_NO_DATA : SERDRV_DEVICE_FAILED;
        return takeLocked();
    }

    int getData(uint8_t* buffer, int count, int timeoutMs) override {
        std::unique_lock lock(simMutex);
        if (count == 0)
            return usable() ? 0 : -1;
        if (!waitForData(lock, timeoutMs))
            return usable() ? 0 : -1;
        // A byte with a parity or framing error ends the batch, so that the indication the
        // reader asks for next belongs to the last byte it got.
        int n = 0;
        while (n < count && !dev_->rx.empty()) {
            uint8_t marks = 0;
            const int b = takeLocked(&marks);
            if (b >= 0)
                buffer[n++] = static_cast<uint8_t>(b);
            if (marks & (kParity | kFraming))
                break;
        }
        return n;
    }

    int putData(const uint8_t* buffer, int count, int) override {
        std::lock_guard lock(simMutex);
        if (!usable())
            return -1;
        dev_->written.insert(dev_->written.end(), buffer, buffer + count);
        return count;
    }

    int rxReadyCount() override {
        std::lock_guard lock(simMutex);
        if (!usable())
            return -1;
        produceDemoLocked(*dev_);
        return static_cast<int>(dev_->rx.size());
    }
    int txBufCount() override {
        return query([](Device&) { return 0; });
    }
    int rxFlush() override {
        return query([](Device& d) {
            d.rx.clear();
            return 0;
        });
    }
    int txFlush() override {
        return query([](Device&) { return 0; });
    }
    int txDrain() override {
        return query([](Device&) { return 0; });
    }

    int setDTR(bool on) override {
        return query([on](Device& d) {
            d.dtr = on;
            return 0;
        });
    }
    int setRTS(bool on) override {
        return query([on](Device& d) {
            d.rts = on;
            return 0;
        });
    }
    int sigCTS() override {
        return query([](Device& d) { return (d.loopback ? d.rts : d.cts) ? 1 : 0; });
    }
    int sigDSR() override {
        return query([](Device& d) { return (d.loopback ? d.dtr : d.dsr) ? 1 : 0; });
    }
    int sigCD() override {
        return query([](Device& d) { return d.cd ? 1 : 0; });
    }
    int sigRing() override {
        return query([](Device& d) { return d.ri ? 1 : 0; });
    }
    int sigBreak() override {
        return query([](Device&) { return 0; });
    }
    int sigFrameErr() override {
        return query([](Device& d) { return std::exchange(d.framingPending, false) ? 1 : 0; });
    }
    int sigOverrun() override {
        return query([](Device& d) { return std::exchange(d.overrunPending, false) ? 1 : 0; });
    }
    int sigParityErr() override {
        return query([](Device& d) { return std::exchange(d.parityPending, false) ? 1 : 0; });
    }
    int rxOverflow() override {
        return query([](Device&) { return 0; });
    }
    int sendBreak(int) override {
        return query([](Device&) { return 0; });
    }

private:
    bool usable() const { return dev_->present && !dev_->unplugged && plugging_ == dev_->plugging; }

    template <typename F> int query(F f) {
        std::lock_guard lock(simMutex);
        return usable() ? f(*dev_) : -1;
    }

    // True when a byte is ready, waiting up to timeoutMs for one (0: no waiting).
    bool waitForData(std::unique_lock<std::mutex>& lock, int timeoutMs) {
        if (!usable())
            return false;
        produceDemoLocked(*dev_);
        if (!dev_->rx.empty())
            return true;
        if (timeoutMs <= 0)
            return false;
        const auto deadline = Clock::now() + std::chrono::milliseconds(timeoutMs);
        while (usable() && dev_->rx.empty()) {
            auto until = deadline;
            if (dev_->demo && dev_->nextLine < until)
                until = dev_->nextLine;
            if (simArrived.wait_until(lock, until) == std::cv_status::timeout &&
                Clock::now() >= deadline) {
                produceDemoLocked(*dev_);
                break;
            }
            produceDemoLocked(*dev_);
        }
        return usable() && !dev_->rx.empty();
    }

    // Removes the next byte; a byte lost to an overrun raises the indication and is skipped.
    // marksOut, when given, receives the error marks of the byte returned.
    int takeLocked(uint8_t* marksOut = nullptr) {
        while (!dev_->rx.empty()) {
            const auto [byte, marks] = dev_->rx.front();
            dev_->rx.pop_front();
            if (marks & kOverrun) {
                dev_->overrunPending = true;
                continue;
            }
            if (marks & kParity)
                dev_->parityPending = true;
            if (marks & kFraming)
                dev_->framingPending = true;
            if (marksOut)
                *marksOut = marks;
            return byte;
        }
        return SERDRV_NO_DATA;
    }

    std::shared_ptr<Device> dev_;
    const unsigned plugging_; // the device's unplug count when this handle was opened
};

} // namespace

std::unique_ptr<Port> openSimPort(const std::string& name, int& code, bool& handled) {
    std::lock_guard lock(simMutex);
    checkEnvironmentLocked();
    auto d = findLocked(name.c_str());
    handled = d != nullptr;
    if (!d)
        return nullptr;
    if (d->unplugged) {
        code = SERDRV_ERR_NO_SUCH_FILE;
        return nullptr;
    }
    if (d->failCount > 0) {
        --d->failCount;
        code = d->failCode;
        return nullptr;
    }
    if (d->open) {
        code = SERDRV_ERR_IN_USE;
        return nullptr;
    }
    d->open = true;
    // The demo balance sends at its pace from the opening on, not what came due while closed.
    if (d->demo)
        d->nextLine = Clock::now();
    return std::make_unique<SimPort>(d);
}

void listSimPorts(AddName addName, AddInfo addInfo, void* ctx) {
    std::vector<std::pair<std::string, bool>> present;
    {
        std::lock_guard lock(simMutex);
        checkEnvironmentLocked();
        for (const auto& n : creationOrder) {
            auto d = findLocked(n.c_str());
            if (d && !d->unplugged)
                present.emplace_back(n, d->demo);
        }
    }
    std::sort(present.begin(), present.end(),
              [](const auto& a, const auto& b) { return naturalLess(a.first, b.first); });
    for (const auto& [n, demo] : present) {
        if (addName)
            addName(n.c_str(), ctx);
        if (addInfo)
            addInfo(n.c_str(), "Tallyra", demo ? "Demo balance" : "Simulated serial port", ctx);
    }
}

bool simDeviceExists(const char* name) {
    std::lock_guard lock(simMutex);
    return findLocked(name) != nullptr;
}

void setSimNotification(SerDeviceNotificationFn callback, void* ctx) {
    std::lock_guard lock(simMutex);
    notifyFn = callback;
    notifyCtx = ctx;
}

} // namespace serdrv

using namespace serdrv;

extern "C" {

int32_t serdrv_sim_create(const char* name) {
    if (!name || !*name)
        return -1;
    bool created = false;
    {
        std::lock_guard lock(simMutex);
        createLocked(name, created);
    }
    if (created)
        notify(true, name);
    return 0;
}

int32_t serdrv_sim_destroy(const char* name) {
    std::string gone;
    {
        std::lock_guard lock(simMutex);
        auto d = findLocked(name);
        if (!d)
            return -1;
        d->present = false;
        devices.erase(d->name);
        std::erase(creationOrder, d->name);
        gone = d->name;
    }
    simArrived.notify_all();
    notify(false, gone);
    return 0;
}

void serdrv_sim_destroy_all(void) {
    std::vector<std::string> names;
    {
        std::lock_guard lock(simMutex);
        names = creationOrder;
    }
    for (const auto& n : names)
        serdrv_sim_destroy(n.c_str());
}

int32_t serdrv_sim_exists(const char* name) {
    return simDeviceExists(name) ? 1 : 0;
}

int32_t serdrv_sim_push(const char* name, const uint8_t* data, int32_t count) {
    if (count < 0 || (count > 0 && !data))
        return -1;
    const int32_t r = control(name, [&](Device& d) {
        if (d.unplugged)
            return 0; // sent into a cable that leads nowhere
        for (int32_t i = 0; i < count; ++i) {
            d.rx.emplace_back(data[i], d.nextMarks);
            d.nextMarks = 0;
        }
        return 0;
    });
    simArrived.notify_all();
    return r;
}

int32_t serdrv_sim_mark_parity_error(const char* name) {
    return control(name, [](Device& d) { return (d.nextMarks |= kParity), 0; });
}
int32_t serdrv_sim_mark_framing_error(const char* name) {
    return control(name, [](Device& d) { return (d.nextMarks |= kFraming), 0; });
}
int32_t serdrv_sim_mark_overrun(const char* name) {
    return control(name, [](Device& d) { return (d.nextMarks |= kOverrun), 0; });
}

int32_t serdrv_sim_set_line(const char* name, int32_t line, int32_t on) {
    return control(name, [=](Device& d) {
        switch (line) {
        case SERDRV_SIM_DSR:
            d.dsr = on != 0;
            return 0;
        case SERDRV_SIM_CTS:
            d.cts = on != 0;
            return 0;
        case SERDRV_SIM_CD:
            d.cd = on != 0;
            return 0;
        case SERDRV_SIM_RI:
            d.ri = on != 0;
            return 0;
        default:
            return -1;
        }
    });
}

int32_t serdrv_sim_get_line(const char* name, int32_t line) {
    return control(name, [=](Device& d) {
        switch (line) {
        case SERDRV_SIM_DSR:
            return (d.loopback ? d.dtr : d.dsr) ? 1 : 0;
        case SERDRV_SIM_CTS:
            return (d.loopback ? d.rts : d.cts) ? 1 : 0;
        case SERDRV_SIM_CD:
            return d.cd ? 1 : 0;
        case SERDRV_SIM_RI:
            return d.ri ? 1 : 0;
        case SERDRV_SIM_DTR:
            return d.dtr ? 1 : 0;
        case SERDRV_SIM_RTS:
            return d.rts ? 1 : 0;
        default:
            return -1;
        }
    });
}

int32_t serdrv_sim_set_loopback(const char* name, int32_t on) {
    return control(name, [on](Device& d) { return (d.loopback = on != 0), 0; });
}

int32_t serdrv_sim_fail_next_opens(const char* name, int32_t code, int32_t count) {
    return control(name, [=](Device& d) {
        d.failCode = code;
        d.failCount = count < 0 ? 0 : count;
        return 0;
    });
}

int32_t serdrv_sim_unplug(const char* name) {
    int32_t r = control(name, [](Device& d) {
        if (!d.unplugged) {
            // Like a USB adapter pulled out: open handles die, the name goes, nothing that was
            // waiting to be read survives.
            d.unplugged = true;
            ++d.plugging;
            d.open = false;
            d.rx.clear();
            d.parityPending = d.framingPending = d.overrunPending = false;
        }
        return 0;
    });
    simArrived.notify_all();
    if (r == 0)
        notify(false, name);
    return r;
}

int32_t serdrv_sim_replug(const char* name) {
    int32_t r = control(name, [](Device& d) { return (d.unplugged = false), 0; });
    if (r == 0)
        notify(true, name);
    return r;
}

int32_t serdrv_sim_read_written(const char* name, uint8_t* buffer, int32_t capacity) {
    if (capacity < 0 || (capacity > 0 && !buffer))
        return -1;
    return control(name, [=](Device& d) {
        const auto n = std::min<size_t>(d.written.size(), static_cast<size_t>(capacity));
        std::copy_n(d.written.begin(), n, buffer);
        d.written.erase(d.written.begin(), d.written.begin() + static_cast<long>(n));
        return static_cast<int32_t>(n);
    });
}

int32_t serdrv_sim_pending(const char* name) {
    return control(name, [](Device& d) { return static_cast<int32_t>(d.rx.size()); });
}

int32_t serdrv_sim_is_open(const char* name) {
    return control(name, [](Device& d) { return d.open ? 1 : 0; });
}

int32_t serdrv_sim_hold_settings(const char* name, const SerdrvConfig* held) {
    std::optional<LineSettings> settings;
    if (held) {
        LineSettings s;
        if (wantedSettings(*held, s) != 0)
            return -1;
        settings = s;
    }
    return control(name, [&](Device& d) { return (d.held = settings), 0; });
}

int32_t serdrv_sim_get_config(const char* name, SerdrvConfig* out) {
    if (!out)
        return -1;
    return control(name, [out](Device& d) { return (*out = d.config), 0; });
}

void serdrv_sim_enable_demo(void) {
    bool created = false;
    {
        std::lock_guard lock(simMutex);
        environmentChecked = true;
        enableDemoLocked(created);
    }
    if (created)
        notify(true, kDemoName);
}

} // extern "C"

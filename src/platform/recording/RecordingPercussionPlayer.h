#pragma once

#include "platform/PercussionPlayer.h"

#include <chrono>
#include <condition_variable>
#include <cstddef>
#include <mutex>
#include <vector>

namespace platform {

// Records every note event with the time it arrived, for tests.
class RecordingPercussionPlayer : public PercussionPlayer {
public:
    using Clock = std::chrono::steady_clock;

    struct Event {
        bool on = false; // note on, else note off
        int channel = 0;
        int note = 0;
        int velocity = 0;
        Clock::time_point time;
    };

    void noteOn(int channel, int note, int velocity) override;
    void noteOff(int channel, int note, int velocity) override;
    void close() override;

    std::vector<Event> events() const;
    bool closed() const;
    // Waits until at least count events are recorded; false when the timeout passes first.
    bool waitForEvents(std::size_t count, std::chrono::milliseconds timeout) const;

private:
    void record(bool on, int channel, int note, int velocity);

    mutable std::mutex mutex_;
    mutable std::condition_variable changed_;
    std::vector<Event> events_;
    bool closed_ = false;
};

} // namespace platform

#include "platform/recording/RecordingPercussionPlayer.h"

namespace platform {

void RecordingPercussionPlayer::noteOn(int channel, int note, int velocity) {
    record(true, channel, note, velocity);
}

void RecordingPercussionPlayer::noteOff(int channel, int note, int velocity) {
    record(false, channel, note, velocity);
}

void RecordingPercussionPlayer::record(bool on, int channel, int note, int velocity) {
    std::lock_guard lock(mutex_);
    if (closed_) {
        return;
    }
    events_.push_back(Event{on, channel, note, velocity, Clock::now()});
    changed_.notify_all();
}

void RecordingPercussionPlayer::close() {
    std::lock_guard lock(mutex_);
    closed_ = true;
    changed_.notify_all();
}

std::vector<RecordingPercussionPlayer::Event> RecordingPercussionPlayer::events() const {
    std::lock_guard lock(mutex_);
    return events_;
}

bool RecordingPercussionPlayer::closed() const {
    std::lock_guard lock(mutex_);
    return closed_;
}

bool RecordingPercussionPlayer::waitForEvents(std::size_t count,
                                              std::chrono::milliseconds timeout) const {
    std::unique_lock lock(mutex_);
    return changed_.wait_for(lock, timeout, [&] { return events_.size() >= count; });
}

} // namespace platform

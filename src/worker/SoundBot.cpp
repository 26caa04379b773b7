#include "worker/SoundBot.h"

#include <string>

namespace serwedge::worker {

namespace {

constexpr int kNoteOn = 0x90;
constexpr int kNoteOff = 0x80;

int checkedNote(int note) {
    if (note < 0 || note > 127) {
        throw platform::PercussionError("The percussion note " + std::to_string(note) +
                                        " is outside the MIDI range 0..127");
    }
    return note;
}

} // namespace

SoundBot::SoundBot(int note, std::unique_ptr<platform::PercussionPlayer> player)
    : sequence_{Event{0, kNoteOn | kChannel, checkedNote(note), kVelocity},
                Event{1, kNoteOff | kChannel, note, kVelocity}},
      player_(player ? std::move(player) : platform::createPercussionPlayer()) {
    sequencer_ = std::thread([this] { run(); });
}

SoundBot::~SoundBot() {
    close();
}

std::unique_ptr<SoundBot> SoundBot::forSound(config::ConfigHelper::Sound sound,
                                             const PlayerFactory& openPlayer) {
    if (sound == config::ConfigHelper::Sound::NONE) {
        return nullptr;
    }
    auto player = openPlayer ? openPlayer() : platform::createPercussionPlayer();
    return std::make_unique<SoundBot>(sound.getPercussionNumber(), std::move(player));
}

void SoundBot::beep() {
    std::lock_guard lock(mutex_);
    if (closing_) {
        return;
    }
    startRequested_ = true;
    wake_.notify_one();
}

void SoundBot::close() {
    {
        std::lock_guard lock(mutex_);
        if (closed_) {
            return;
        }
        closed_ = true;
        closing_ = true;
        wake_.notify_one();
    }
    if (sequencer_.joinable()) {
        sequencer_.join();
    }
    player_->close();
}

void SoundBot::send(const Event& event) {
    const int channel = event.status & 0x0F;
    if ((event.status & 0xF0) == kNoteOn) {
        player_->noteOn(channel, event.note, event.velocity);
    } else {
        player_->noteOff(channel, event.note, event.velocity);
    }
}

void SoundBot::run() {
    using Clock = std::chrono::steady_clock;
    std::unique_lock lock(mutex_);
    bool noteSounding = false;
    const auto interrupted = [this] { return startRequested_ || closing_; };
    for (;;) {
        wake_.wait(lock, interrupted);
        if (closing_) {
            break;
        }
        startRequested_ = false;
        if (noteSounding) {
            // Rewinding while the note sounds: end it before it starts again.
            lock.unlock();
            send(sequence_[1]);
            lock.lock();
            noteSounding = false;
        }
        const auto start = Clock::now();
        for (const Event& event : sequence_) {
            const auto due = start + event.tick * kTickLength;
            if (wake_.wait_until(lock, due, interrupted)) {
                break;
            }
            lock.unlock();
            send(event);
            lock.lock();
            noteSounding = (event.status & 0xF0) == kNoteOn;
        }
    }
    lock.unlock();
    if (noteSounding) {
        send(sequence_[1]);
    }
}

} // namespace serwedge::worker

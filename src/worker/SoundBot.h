#pragma once

#include "config/ConfigHelper.h"
#include "platform/PercussionPlayer.h"

#include <array>
#include <chrono>
#include <condition_variable>
#include <cstdint>
#include <functional>
#include <memory>
#include <mutex>
#include <thread>

namespace serwedge::worker {

// Confirms each received value with a short percussion note. The note is a one-track sequence
// of two events, note on at tick 0 and note off at tick 1, played by a small sequencer thread of
// the bot's own: beep() rewinds to tick 0 and starts, and returns at once.
class SoundBot {
public:
    static constexpr int kChannel = platform::PercussionPlayer::kPercussionChannel;
    static constexpr int kVelocity = 127;
    static constexpr int kTicksPerQuarterNote = 4;
    static constexpr int kQuarterNotesPerMinute = 120;
    // 60 s / (120 quarter notes * 4 ticks) = 125 ms per tick.
    static constexpr std::chrono::microseconds kTickLength{
        60'000'000 / (kQuarterNotesPerMinute * kTicksPerQuarterNote)};

    struct Event {
        std::int64_t tick;
        int status; // 0x90 note on or 0x80 note off, channel in the low nibble
        int note;
        int velocity;
    };

    // Builds the sequence for the percussion note (0..127) and opens the player; without a
    // player the platform's synthesizer is opened. Throws platform::PercussionError when the
    // note is out of range or no synthesizer can be opened.
    explicit SoundBot(int note, std::unique_ptr<platform::PercussionPlayer> player = nullptr);
    ~SoundBot();

    using PlayerFactory = std::function<std::unique_ptr<platform::PercussionPlayer>()>;
    // The bot for the configured sound, or none for NONE, in which case no synthesizer is
    // opened. Throws platform::PercussionError when the synthesizer cannot be opened.
    static std::unique_ptr<SoundBot> forSound(config::ConfigHelper::Sound sound,
                                              const PlayerFactory& openPlayer = {});
    SoundBot(const SoundBot&) = delete;
    SoundBot& operator=(const SoundBot&) = delete;

    // Plays the sequence from tick 0; a beep while the note still sounds cuts it short and
    // starts again. Does nothing after close().
    void beep();
    // Stops the sequencer thread, ends a sounding note and closes the player. Idempotent.
    void close();

    const std::array<Event, 2>& sequence() const { return sequence_; }

private:
    void run();
    void send(const Event& event);

    std::array<Event, 2> sequence_;
    std::unique_ptr<platform::PercussionPlayer> player_;

    std::mutex mutex_;
    std::condition_variable wake_;
    bool startRequested_ = false;
    bool closing_ = false;
    bool closed_ = false;
    std::thread sequencer_;
};

} // namespace serwedge::worker

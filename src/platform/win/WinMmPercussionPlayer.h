#pragma once

#include "platform/PercussionPlayer.h"

#include <mutex>

namespace platform {

// The Windows MIDI mapper (the system's default synthesizer) through WinMM midiOut.
class WinMmPercussionPlayer : public PercussionPlayer {
public:
    // Throws PercussionError when no MIDI output can be opened.
    WinMmPercussionPlayer();
    ~WinMmPercussionPlayer() override;

    void noteOn(int channel, int note, int velocity) override;
    void noteOff(int channel, int note, int velocity) override;
    void close() override;

private:
    void send(int status, int channel, int note, int velocity);

    std::mutex mutex_;
    void* handle_ = nullptr; // HMIDIOUT, kept opaque so that the header needs no windows.h
};

} // namespace platform

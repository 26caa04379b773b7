#pragma once

#include <memory>
#include <stdexcept>
#include <string>

namespace platform {

// Raised when a sound output cannot be set up (no synthesizer, no soundfont, no audio device).
// The message says what is missing, in English, for the error dialog and the log.
class PercussionError : public std::runtime_error {
public:
    explicit PercussionError(const std::string& message) : std::runtime_error(message) {}
};

// Plays MIDI note events on a synthesizer. Channels are MIDI channel indices 0..15; the General
// MIDI percussion channel is index 9. Calls may come from any one thread at a time.
class PercussionPlayer {
public:
    static constexpr int kPercussionChannel = 9;

    virtual ~PercussionPlayer() = default;
    PercussionPlayer() = default;
    PercussionPlayer(const PercussionPlayer&) = delete;
    PercussionPlayer& operator=(const PercussionPlayer&) = delete;

    // Status 0x90 | channel, data bytes note and velocity (each 0..127).
    virtual void noteOn(int channel, int note, int velocity) = 0;
    // Status 0x80 | channel, data bytes note and velocity (each 0..127).
    virtual void noteOff(int channel, int note, int velocity) = 0;
    // Releases the output device; later note events are ignored. Safe to call twice.
    virtual void close() = 0;
};

// The platform's real synthesizer: FluidSynth with the system's General MIDI soundfont and its
// default audio driver on Linux, the MIDI mapper (WinMM) on Windows.
// Throws PercussionError when the output cannot be opened.
std::unique_ptr<PercussionPlayer> createPercussionPlayer();

// Clamps a MIDI data byte or channel into its range; shared by the back-ends.
constexpr int clampMidi(int value, int max) {
    return value < 0 ? 0 : (value > max ? max : value);
}

} // namespace platform

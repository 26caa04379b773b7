#include "platform/win/WinMmPercussionPlayer.h"

#include <windows.h>

#include <mmsystem.h>

#include <string>

namespace platform {

namespace {

std::string midiErrorText(MMRESULT code) {
    char text[MAXERRORLENGTH] = {};
    if (midiOutGetErrorTextA(code, text, sizeof text) == MMSYSERR_NOERROR && text[0] != '\0') {
        return text;
    }
    return "error " + std::to_string(code);
}

} // namespace

WinMmPercussionPlayer::WinMmPercussionPlayer() {
    if (midiOutGetNumDevs() == 0) {
        throw PercussionError("No MIDI output device is installed");
    }
    HMIDIOUT out = nullptr;
    const MMRESULT result = midiOutOpen(&out, MIDI_MAPPER, 0, 0, CALLBACK_NULL);
    if (result != MMSYSERR_NOERROR) {
        throw PercussionError("The MIDI output could not be opened: " + midiErrorText(result));
    }
    handle_ = out;
}

WinMmPercussionPlayer::~WinMmPercussionPlayer() {
    close();
}

void WinMmPercussionPlayer::noteOn(int channel, int note, int velocity) {
    send(0x90, channel, note, velocity);
}

void WinMmPercussionPlayer::noteOff(int channel, int note, int velocity) {
    send(0x80, channel, note, velocity);
}

void WinMmPercussionPlayer::send(int status, int channel, int note, int velocity) {
    std::lock_guard lock(mutex_);
    if (!handle_) {
        return;
    }
    const DWORD message = static_cast<DWORD>(status | clampMidi(channel, 15)) |
                          (static_cast<DWORD>(clampMidi(note, 127)) << 8) |
                          (static_cast<DWORD>(clampMidi(velocity, 127)) << 16);
    midiOutShortMsg(static_cast<HMIDIOUT>(handle_), message);
}

void WinMmPercussionPlayer::close() {
    std::lock_guard lock(mutex_);
    if (handle_) {
        auto out = static_cast<HMIDIOUT>(handle_);
        midiOutReset(out);
        midiOutClose(out);
        handle_ = nullptr;
    }
}

std::unique_ptr<PercussionPlayer> createPercussionPlayer() {
    return std::make_unique<WinMmPercussionPlayer>();
}

} // namespace platform

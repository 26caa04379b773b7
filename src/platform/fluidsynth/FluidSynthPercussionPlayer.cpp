#include "platform/fluidsynth/FluidSynthPercussionPlayer.h"

#include <fluidsynth.h>

#include <filesystem>
#include <system_error>

namespace platform {

namespace {

// FluidSynth reports failures through its global log. While a player is being built the last
// error is kept so that it can go into the exception's message instead of onto the console.
std::mutex logMutex;
std::string lastLogError;

void keepLogError(int /*level*/, const char* message, void* /*data*/) {
    std::lock_guard lock(logMutex);
    lastLogError = message ? message : "";
}

void dropLogMessage(int, const char*, void*) {}

void installLogHandlers() {
    static std::once_flag once;
    std::call_once(once, [] {
        fluid_set_log_function(FLUID_PANIC, keepLogError, nullptr);
        fluid_set_log_function(FLUID_ERR, keepLogError, nullptr);
        fluid_set_log_function(FLUID_WARN, dropLogMessage, nullptr);
        fluid_set_log_function(FLUID_INFO, dropLogMessage, nullptr);
        fluid_set_log_function(FLUID_DBG, dropLogMessage, nullptr);
    });
}

std::string takeLogError() {
    std::lock_guard lock(logMutex);
    std::string message;
    message.swap(lastLogError);
    return message;
}

std::string withCause(std::string message) {
    const std::string cause = takeLogError();
    if (!cause.empty()) {
        message += " (" + cause + ")";
    }
    return message;
}

} // namespace

FluidSynthPercussionPlayer::FluidSynthPercussionPlayer(Output output, std::string soundFont) {
    installLogHandlers();
    takeLogError();

    std::error_code ec;
    if (!std::filesystem::is_regular_file(soundFont, ec)) {
        throw PercussionError("No General MIDI soundfont found at " + soundFont);
    }
    settings_ = new_fluid_settings();
    if (!settings_) {
        throw PercussionError(withCause("FluidSynth settings could not be created"));
    }
    fluid_settings_setnum(settings_, "synth.sample-rate", kSampleRate);
    synth_ = new_fluid_synth(settings_);
    if (!synth_) {
        release();
        throw PercussionError(withCause("The FluidSynth synthesizer could not be created"));
    }
    if (fluid_synth_sfload(synth_, soundFont.c_str(), 1) == FLUID_FAILED) {
        release();
        throw PercussionError(withCause("The soundfont " + soundFont + " could not be loaded"));
    }
    if (output == Output::AudioDriver) {
        driver_ = new_fluid_audio_driver(settings_, synth_);
        if (!driver_) {
            char* name = nullptr;
            std::string driverName = "default";
            if (fluid_settings_dupstr(settings_, "audio.driver", &name) == FLUID_OK && name) {
                driverName = name;
                fluid_free(name);
            }
            release();
            throw PercussionError(withCause("No audio output device could be opened with the " +
                                            driverName + " audio driver"));
        }
    }
}

FluidSynthPercussionPlayer::~FluidSynthPercussionPlayer() {
    close();
}

void FluidSynthPercussionPlayer::noteOn(int channel, int note, int velocity) {
    std::lock_guard lock(mutex_);
    if (synth_) {
        fluid_synth_noteon(synth_, clampMidi(channel, 15), clampMidi(note, 127),
                           clampMidi(velocity, 127));
    }
}

void FluidSynthPercussionPlayer::noteOff(int channel, int note, int /*velocity*/) {
    std::lock_guard lock(mutex_);
    if (synth_) {
        // A note that has already ended answers FLUID_FAILED; that is no fault.
        fluid_synth_noteoff(synth_, clampMidi(channel, 15), clampMidi(note, 127));
    }
}

void FluidSynthPercussionPlayer::close() {
    std::lock_guard lock(mutex_);
    release();
}

std::vector<float> FluidSynthPercussionPlayer::render(int frames) {
    std::lock_guard lock(mutex_);
    if (!synth_ || driver_ || frames <= 0) {
        return {};
    }
    std::vector<float> samples(static_cast<std::size_t>(frames) * 2);
    fluid_synth_write_float(synth_, frames, samples.data(), 0, 2, samples.data(), 1, 2);
    return samples;
}

void FluidSynthPercussionPlayer::release() {
    // The audio driver calls into the synthesizer from its own thread: it goes first.
    if (driver_) {
        delete_fluid_audio_driver(driver_);
        driver_ = nullptr;
    }
    if (synth_) {
        delete_fluid_synth(synth_);
        synth_ = nullptr;
    }
    if (settings_) {
        delete_fluid_settings(settings_);
        settings_ = nullptr;
    }
}

std::unique_ptr<PercussionPlayer> createPercussionPlayer() {
    return std::make_unique<FluidSynthPercussionPlayer>();
}

} // namespace platform

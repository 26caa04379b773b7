#pragma once

#include "platform/PercussionPlayer.h"

#include <mutex>
#include <string>
#include <vector>

// FluidSynth's opaque types, declared here so that users of this header need not see its API.
typedef struct _fluid_hashtable_t fluid_settings_t;
typedef struct _fluid_synth_t fluid_synth_t;
typedef struct _fluid_audio_driver_t fluid_audio_driver_t;

namespace platform {

// A FluidSynth synthesizer with a General MIDI soundfont. In the normal mode it plays through
// FluidSynth's default audio driver; in the offline mode it opens no device and the caller pulls
// the samples with render().
class FluidSynthPercussionPlayer : public PercussionPlayer {
public:
    enum class Output { AudioDriver, Offline };

    static constexpr const char* kDefaultSoundFont = "/usr/share/sounds/sf2/default-GM.sf2";
    static constexpr int kSampleRate = 44100;

    // Throws PercussionError when the soundfont cannot be loaded or the audio device cannot be
    // opened.
    explicit FluidSynthPercussionPlayer(Output output = Output::AudioDriver,
                                        std::string soundFont = kDefaultSoundFont);
    ~FluidSynthPercussionPlayer() override;

    void noteOn(int channel, int note, int velocity) override;
    void noteOff(int channel, int note, int velocity) override;
    void close() override;

    // Offline mode: synthesizes the next frames (interleaved stereo, left and right) and returns
    // them. Returns nothing once closed.
    std::vector<float> render(int frames);

private:
    void release();

    std::mutex mutex_;
    fluid_settings_t* settings_ = nullptr;
    fluid_synth_t* synth_ = nullptr;
    fluid_audio_driver_t* driver_ = nullptr;
};

} // namespace platform

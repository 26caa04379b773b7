#include "platform/fluidsynth/FluidSynthPercussionPlayer.h"
#include "platform/recording/RecordingPercussionPlayer.h"
#include "worker/SoundBot.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <filesystem>

using platform::FluidSynthPercussionPlayer;
using platform::RecordingPercussionPlayer;
using namespace std::chrono_literals;

namespace {

constexpr int kRate = FluidSynthPercussionPlayer::kSampleRate;

float peak(const std::vector<float>& samples) {
    float p = 0;
    for (float s : samples) {
        p = std::max(p, std::fabs(s));
    }
    return p;
}

int frames(std::chrono::microseconds length) {
    return static_cast<int>(static_cast<long long>(kRate) * length.count() / 1'000'000);
}

} // namespace

// Plays the bot's sequence into a recorder, then renders those events through the synthesizer
// at the same distances in sample time.
TEST(FluidSynthPlayer, renderedBeepSoundsDuringItsTickAndDecaysToSilence) {
    for (int note : {53, 56, 67, 68, 75, 81}) {
        auto owned = std::make_unique<RecordingPercussionPlayer>();
        auto* recorder = owned.get();
        serwedge::worker::SoundBot bot(note, std::move(owned));
        bot.beep();
        ASSERT_TRUE(recorder->waitForEvents(2, 2s));
        bot.close();
        const auto events = recorder->events();
        ASSERT_GE(events.size(), 2u);
        const auto length =
            std::chrono::duration_cast<std::chrono::microseconds>(events[1].time - events[0].time);

        FluidSynthPercussionPlayer synth(FluidSynthPercussionPlayer::Output::Offline);
        EXPECT_LT(peak(synth.render(frames(10ms))), 1e-6f) << "noise before the note";
        synth.noteOn(events[0].channel, events[0].note, events[0].velocity);
        const auto during = synth.render(frames(125ms));
        // Whatever the recorder measured beyond the tick is rendered too, before the note off.
        synth.render(frames(std::max(0us, length - 125ms)));
        synth.noteOff(events[1].channel, events[1].note, events[1].velocity);
        synth.render(frames(4s));
        const auto after = synth.render(frames(200ms));

        EXPECT_GT(peak(during), 0.01f) << "no sound from note " << note;
        EXPECT_LT(peak(after), 1e-4f) << "note " << note << " still sounds after it decayed";
    }
}

TEST(FluidSynthPlayer, aClosedSynthesizerIgnoresNotesAndRendersNothing) {
    FluidSynthPercussionPlayer synth(FluidSynthPercussionPlayer::Output::Offline);
    synth.close();
    synth.noteOn(9, 56, 127);
    EXPECT_TRUE(synth.render(64).empty());
    synth.close();
}

TEST(FluidSynthPlayer, missingSoundfontFailsConstructionNamingTheFile) {
    const std::string path = "/nonexistent/tallyra/none.sf2";
    try {
        FluidSynthPercussionPlayer synth(FluidSynthPercussionPlayer::Output::Offline, path);
        FAIL() << "constructed without a soundfont";
    } catch (const platform::PercussionError& e) {
        EXPECT_NE(std::string(e.what()).find(path), std::string::npos) << e.what();
    }
}

TEST(FluidSynthPlayer, fileThatIsNoSoundfontFailsConstruction) {
    const auto path = std::filesystem::temp_directory_path() / "tallyra-not-a-soundfont.sf2";
    {
        std::FILE* f = std::fopen(path.c_str(), "wb");
        ASSERT_NE(f, nullptr);
        std::fputs("RIFF junk that is no soundfont", f);
        std::fclose(f);
    }
    EXPECT_THROW(
        FluidSynthPercussionPlayer(FluidSynthPercussionPlayer::Output::Offline, path.string()),
        platform::PercussionError);
    std::filesystem::remove(path);
}

// These machines have no sound device: opening the real output must fail with a message that
// says so, not crash or hang. Where a device exists the test has nothing to check.
TEST(FluidSynthPlayer, missingAudioDeviceFailsConstructionWithAClearMessage) {
    try {
        auto player = platform::createPercussionPlayer();
        GTEST_SKIP() << "an audio device is available here";
    } catch (const platform::PercussionError& e) {
        EXPECT_NE(std::string(e.what()).find("audio"), std::string::npos) << e.what();
    }
}

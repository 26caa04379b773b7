#include "worker/SoundBot.h"
#include "platform/recording/RecordingPercussionPlayer.h"

#include <gtest/gtest.h>

#include <thread>

using platform::RecordingPercussionPlayer;
using serwedge::worker::SoundBot;
using namespace std::chrono_literals;

namespace {

constexpr int kCowbell = 56;

struct Bot {
    explicit Bot(int note = kCowbell) {
        auto owned = std::make_unique<RecordingPercussionPlayer>();
        player = owned.get();
        bot = std::make_unique<SoundBot>(note, std::move(owned));
    }
    RecordingPercussionPlayer* player;
    std::unique_ptr<SoundBot> bot;
};

std::chrono::milliseconds between(const RecordingPercussionPlayer::Event& a,
                                  const RecordingPercussionPlayer::Event& b) {
    return std::chrono::duration_cast<std::chrono::milliseconds>(b.time - a.time);
}

} // namespace

TEST(SoundBot, oneBeepPlaysNoteOnThenNoteOffAfterOneTickOnThePercussionChannel) {
    Bot b;
    b.bot->beep();
    ASSERT_TRUE(b.player->waitForEvents(2, 2s));
    std::this_thread::sleep_for(150ms);
    const auto events = b.player->events();
    ASSERT_EQ(events.size(), 2u);
    EXPECT_TRUE(events[0].on);
    EXPECT_FALSE(events[1].on);
    for (const auto& e : events) {
        EXPECT_EQ(e.channel, 9);
        EXPECT_EQ(e.note, kCowbell);
        EXPECT_EQ(e.velocity, 127);
    }
    // One tick at 4 ticks per quarter note and 120 quarter notes per minute is 125 ms, counted
    // from the sequence's start; the bounds allow for the delivery of the note on itself and for
    // a busy machine.
    EXPECT_GE(between(events[0], events[1]), 110ms);
    EXPECT_LT(between(events[0], events[1]), 400ms);
}

TEST(SoundBot, beepReturnsBeforeTheNoteEnds) {
    Bot b;
    b.bot->beep();
    for (const auto& e : b.player->events()) {
        EXPECT_TRUE(e.on) << "beep() waited for the note off";
    }
    EXPECT_TRUE(b.player->waitForEvents(2, 2s));
}

TEST(SoundBot, beepWhileTheNoteSoundsCutsItShortAndRestartsFromTickZero) {
    Bot b;
    b.bot->beep();
    ASSERT_TRUE(b.player->waitForEvents(1, 2s));
    std::this_thread::sleep_for(50ms);
    b.bot->beep();
    ASSERT_TRUE(b.player->waitForEvents(4, 2s));
    std::this_thread::sleep_for(150ms);
    const auto events = b.player->events();
    ASSERT_EQ(events.size(), 4u);
    EXPECT_TRUE(events[0].on);
    EXPECT_FALSE(events[1].on);
    EXPECT_TRUE(events[2].on);
    EXPECT_FALSE(events[3].on);
    // The first note was cut short, well before its tick had passed ...
    EXPECT_LT(between(events[0], events[1]), 105ms);
    // ... and the second one lasts a full tick from its own start.
    EXPECT_GE(between(events[2], events[3]), 110ms);
}

TEST(SoundBot, rapidBeepsLeaveNoNoteHanging) {
    Bot b;
    for (int i = 0; i < 20; ++i) {
        b.bot->beep();
        std::this_thread::sleep_for(5ms);
    }
    std::this_thread::sleep_for(300ms);
    const auto events = b.player->events();
    ASSERT_FALSE(events.empty());
    int sounding = 0;
    for (const auto& e : events) {
        sounding += e.on ? 1 : -1;
        ASSERT_GE(sounding, 0) << "note off without a note on";
        ASSERT_LE(sounding, 1) << "note on while the note still sounds";
    }
    EXPECT_EQ(sounding, 0);
}

TEST(SoundBot, closeEndsASoundingNoteClosesThePlayerAndSilencesLaterBeeps) {
    Bot b;
    b.bot->beep();
    ASSERT_TRUE(b.player->waitForEvents(1, 2s));
    b.bot->close();
    EXPECT_TRUE(b.player->closed());
    auto events = b.player->events();
    ASSERT_EQ(events.size(), 2u);
    EXPECT_FALSE(events[1].on);

    b.bot->beep();
    b.bot->close(); // a second close is harmless
    std::this_thread::sleep_for(150ms);
    EXPECT_EQ(b.player->events().size(), 2u);
}

TEST(SoundBot, closingAnIdleBotPlaysNothing) {
    Bot b;
    b.bot->close();
    EXPECT_TRUE(b.player->closed());
    EXPECT_TRUE(b.player->events().empty());
}

TEST(SoundBot, eachGeneralMidiPercussionNoteIsPlayedAsItIs) {
    for (int note : {53, 56, 67, 68, 75, 81}) {
        Bot b(note);
        b.bot->beep();
        ASSERT_TRUE(b.player->waitForEvents(1, 2s));
        EXPECT_EQ(b.player->events()[0].note, note);
    }
}

TEST(SoundBot, noteOutsideTheMidiRangeFailsConstructionWithAClearMessage) {
    for (int note : {-1, 128}) {
        try {
            SoundBot bot(note, std::make_unique<RecordingPercussionPlayer>());
            ADD_FAILURE() << "note " << note << " accepted";
        } catch (const platform::PercussionError& e) {
            EXPECT_NE(std::string(e.what()).find(std::to_string(note)), std::string::npos);
        }
    }
}

TEST(SoundBot, noBotAndNoSynthesizerForTheSoundNone) {
    using serwedge::config::ConfigHelper::Sound;
    int opened = 0;
    const auto open = [&opened] {
        ++opened;
        return std::unique_ptr<platform::PercussionPlayer>(new RecordingPercussionPlayer);
    };
    EXPECT_EQ(SoundBot::forSound(Sound::NONE, open), nullptr);
    EXPECT_EQ(opened, 0);

    auto bot = SoundBot::forSound(Sound::OPEN_TRIANGLE, open);
    ASSERT_NE(bot, nullptr);
    EXPECT_EQ(opened, 1);
    EXPECT_EQ(bot->sequence()[0].note, 81);
}

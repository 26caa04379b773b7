// One reading run without a window: outputs that cannot be opened leave the run going without
// them, and duplicates are shown without their value and neither sounded nor typed.

#include "worker/ReadingRun.h"

#include "config/Config.h"
#include "keys/KeyCodes.h"
#include "platform/recording/RecordingKeyInjector.h"
#include "platform/recording/RecordingPercussionPlayer.h"
#include "serdrv_sim.h"
#include "worker/Keybot.h"
#include "worker/WeightWorker.h"

#include "WorkerTestSupport.h"

#include <gtest/gtest.h>

using namespace serwedge::worker;
using serwedge::config::Config;
namespace H = serwedge::config::ConfigHelper;
namespace K = serwedge::config::KeyCodes;
using worker_test::pump;

namespace {

class ReadingRunTest : public ::testing::Test {
protected:
    void SetUp() override {
        serdrv_sim_destroy("RUN-A");
        serdrv_sim_create("RUN-A");
        Keybot::queue().clear();
        config.setPort(QStringLiteral("RUN-A"));
        config.setBitRate(7);
        config.setDataBits(3);
        config.setInputTerminator(13);
        config.setOutputTerminator(H::OutputTerminator(H::OutputTerminator::ENTER));
        config.setDelay(QStringLiteral("0"));
        options.injector = [this]() -> std::shared_ptr<platform::KeyInjector> {
            if (injectorFails)
                throw platform::KeyInjectorError("no keystroke facility here");
            return injector;
        };
        options.player = [this]() -> std::unique_ptr<platform::PercussionPlayer> {
            if (soundFails)
                throw platform::PercussionError("no synthesizer here");
            auto p = std::make_unique<platform::RecordingPercussionPlayer>();
            player = p.get();
            return p;
        };
    }
    void TearDown() override {
        run.shutdown();
        serdrv_sim_destroy("RUN-A");
        Keybot::queue().clear();
    }

    std::optional<ReadingRun::Failure> start() {
        return run.start(config, &view, options,
                         [this](const ReadingRun::Failure& f) { failures.push_back(f); });
    }
    void push(const QByteArray& bytes) {
        serdrv_sim_push("RUN-A", reinterpret_cast<const uint8_t*>(bytes.constData()),
                        static_cast<int32_t>(bytes.size()));
    }
    void stopAndWait() {
        run.stop();
        EXPECT_TRUE(pump([&] { return !run.isReading(); }));
    }
    std::size_t presses(int code) const {
        const auto codes = injector->pressedCodes();
        return static_cast<std::size_t>(std::count(codes.begin(), codes.end(), code));
    }

    Config config;
    ReadingRun::Options options;
    ReadingRun run;
    worker_test::RecordingView view;
    std::vector<ReadingRun::Failure> failures;
    std::shared_ptr<platform::RecordingKeyInjector> injector =
        std::make_shared<platform::RecordingKeyInjector>();
    platform::RecordingPercussionPlayer* player = nullptr;
    bool injectorFails = false;
    bool soundFails = false;
};

} // namespace

TEST_F(ReadingRunTest, soundThatCannotOpenStartsWithoutSound) {
    config.setSound(H::Sound(H::Sound::COWBELL));
    soundFails = true;
    EXPECT_FALSE(start().has_value());
    ASSERT_EQ(failures.size(), 1u);
    EXPECT_EQ(failures[0].stage, ReadingRun::Stage::SoundOutput);
    EXPECT_EQ(failures[0].message, "no synthesizer here");
    EXPECT_FALSE(failures[0].endsStart);
    EXPECT_TRUE(run.isReading());
    EXPECT_EQ(view.connected, std::vector<bool>{true});
    EXPECT_FALSE(run.hasSoundBot());
    EXPECT_TRUE(run.hasKeyBot());
    stopAndWait();
    EXPECT_EQ(view.connected, (std::vector<bool>{true, false}));
}

TEST_F(ReadingRunTest, keyboardOutputUnavailableStillReadsAndShows) {
    injectorFails = true;
    EXPECT_FALSE(start().has_value());
    ASSERT_EQ(failures.size(), 1u);
    EXPECT_EQ(failures[0].stage, ReadingRun::Stage::KeyboardOutput);
    EXPECT_EQ(failures[0].message, "no keystroke facility here");
    EXPECT_TRUE(run.isReading());
    EXPECT_FALSE(run.hasKeyBot());
    EXPECT_FALSE(run.hasKeybotThread());
    push("ST,+000001.50  g\r\n");
    ASSERT_TRUE(pump([&] { return view.lines.size() == 1; }));
    EXPECT_EQ(view.lines[0].getRawData(), "ST,+000001.50  g<13>");
    EXPECT_EQ(Keybot::queue().size(), 0u);
    stopAndWait();

    // Where typing was asked for, reading without it is not started at all.
    failures.clear();
    options.keyboardRequired = true;
    const auto failure = start();
    ASSERT_TRUE(failure.has_value());
    EXPECT_EQ(failure->stage, ReadingRun::Stage::KeyboardOutput);
    EXPECT_TRUE(failure->endsStart);
    EXPECT_EQ(failures.size(), 1u);
    EXPECT_EQ(run.worker(), nullptr);
    EXPECT_EQ(serdrv_sim_is_open("RUN-A"), 0);
}

TEST_F(ReadingRunTest, duplicatesAreShownWithoutValueAndNeitherSoundedNorTyped) {
    config.ignoreDuplicates = true;
    config.setSound(H::Sound(H::Sound::CLAVES));
    EXPECT_FALSE(start().has_value());
    EXPECT_TRUE(failures.empty());
    ASSERT_TRUE(run.hasIgnorer());
    ASSERT_TRUE(run.hasSoundBot());
    push("ST,+000002.00  g\r\nST,+000002.00  g\r\n");
    ASSERT_TRUE(pump([&] { return view.lines.size() == 2; }));
    EXPECT_EQ(view.lines[0].getProcessedData(), "2.00");
    EXPECT_EQ(view.lines[1].getProcessedData(), "");
    ASSERT_TRUE(pump([&] { return presses(K::ENTER) == 1; }));
    worker_test::pump([] { return false; }, 100);
    EXPECT_EQ(presses(K::ENTER), 1u);
    EXPECT_EQ(presses(K::DIGIT_0 + 2), 1u);
    // One note: on and off.
    ASSERT_NE(player, nullptr);
    EXPECT_TRUE(player->waitForEvents(2, std::chrono::seconds(2)));
    worker_test::pump([] { return false; }, 300);
    EXPECT_EQ(player->events().size(), 2u);
    stopAndWait();
    EXPECT_FALSE(run.hasIgnorer());
    EXPECT_FALSE(run.hasSoundBot());
}

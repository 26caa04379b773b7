#pragma once

#include "config/Config.h"
#include "worker/SoundBot.h"
#include "worker/WeightWorkerView.h"

#include <QString>

#include <functional>
#include <memory>
#include <optional>

namespace platform {
class KeyInjector;
}

namespace serwedge::worker {

class ByteSource;
class DataLine;
class Ignorer;
class Keybot;
class KeybotThread;
class RunOutputs;
class WeightWorker;

// One reading run, from Start to Stop, for the window and the command-line tool alike: the
// keystroke engine and its thread, the sound, the duplicate filter and the reading worker,
// built together in that order and dropped together. The worker reports to the run; the run
// passes every line through duplicate suppression and sound to the view (which shows it) and
// then to the keystroke engine, and hands everything else to the view unchanged.
class ReadingRun : private WeightWorkerView {
public:
    // Where a start ran into trouble.
    enum class Stage {
        KeyboardOutput, // no keystroke engine: the run goes on without typing
        CapsLock,       // Caps Lock is on: a warning, the run goes on
        SoundOutput,    // no synthesizer: the run goes on without sound
        Setting,        // a setting the worker cannot use: nothing runs
        Port,           // the port cannot be opened: nothing runs
    };
    struct Failure {
        Stage stage;
        QString message; // the cause's own text; empty for CapsLock
        bool endsStart = false;
    };
    using FailureReport = std::function<void(const Failure&)>;

    using InjectorFactory = std::function<std::shared_ptr<platform::KeyInjector>()>;
    struct Options {
        // The keystroke facility of each start; the platform's when empty.
        InjectorFactory injector;
        // The synthesizer of each start with sound; the platform's when empty.
        SoundBot::PlayerFactory player;
        // Whether values are typed at all.
        bool type = true;
        // Whether a keystroke engine that cannot be used ends the start.
        bool keyboardRequired = false;
        // Lines numbered above this are neither shown, sounded nor typed.
        std::optional<int> lastLine;
        // Where the worker reads its bytes (recorded bytes for a replay); the configured port
        // when empty.
        std::function<std::unique_ptr<ByteSource>()> source;
    };

    ReadingRun();
    ~ReadingRun() override;
    ReadingRun(const ReadingRun&) = delete;
    ReadingRun& operator=(const ReadingRun&) = delete;

    // Builds the run for the configuration, reporting to the view (which must outlive the
    // run): keystroke engine and the Caps Lock check, sound, duplicate filter, the reading worker
    // for the instrument (which opens the port), the keystroke thread; then reading starts.
    // Each failure goes to `report` when it happens, so that a window can show it at that
    // point. Returns the failure that ended the start, none when reading runs.
    std::optional<Failure> start(const config::Config& config, WeightWorkerView* view,
                                 Options options, const FailureReport& report = {});

    // One received line: duplicate suppression, sound when a value is left, the view's
    // update, the value to the keystroke engine, then the line to the journal and the broker.
    void deliver(const DataLine& line);

    // Stop: cancels the worker with interruption and drops the keystroke engine, the sound and
    // the duplicate filter; a value being typed is finished, with its terminator, on the
    // keystroke thread without waiting for it. The worker's completion then reports the end to
    // the view.
    void stop();
    // Ends the run at once (closing): stops it, waits for the worker, closes the port and ends
    // the typing at once (a value still being finished too), after releasing every key.
    void shutdown();
    // Forgets a worker whose completion has run (not from inside that completion), and ends
    // the run's journal and broker connection.
    void releaseFinishedWorker();

    // A worker exists whose completion has not run yet.
    bool isReading() const;
    WeightWorker* worker() const { return worker_.get(); }
    bool hasKeyBot() const { return keyBot_ != nullptr; }
    bool hasKeybotThread() const { return keybotThread_ != nullptr; }
    bool hasSoundBot() const { return soundBot_ != nullptr; }
    bool hasIgnorer() const { return ignorer_ != nullptr; }
    bool hasOutputs() const { return outputs_ != nullptr; }

private:
    // ---- the worker's view ----
    void logEvent(const QString& text) override;
    void logImportantEvent(const QString& text) override;
    void setConnectedInGUI(bool connected) override;
    void update(const DataLine& line) override;
    void linesDelivered() override;
    void showWarning(const QString& title, const QString& message) override;
    void showPortWaiting(const QString& text) override;

    // The keystroke engine; its failure, if any.
    std::optional<Failure> openKeyboardOutput(const config::Config& config,
                                              const FailureReport& report);
    void dropOutputs();
    // Stops the run and waits for the worker; typingAtOnce also cuts a value being typed.
    void end(bool typingAtOnce);
    Failure fail(Stage stage, const QString& message, bool endsStart, const FailureReport& report);

    WeightWorkerView* view_ = nullptr;
    Options options_;
    bool connected_ = false;
    std::shared_ptr<Keybot> keyBot_;
    std::unique_ptr<KeybotThread> keybotThread_;
    std::unique_ptr<SoundBot> soundBot_;
    std::unique_ptr<Ignorer> ignorer_;
    std::unique_ptr<WeightWorker> worker_;
    // The journal and the broker: they live until the worker's last line is delivered.
    std::unique_ptr<RunOutputs> outputs_;
};

} // namespace serwedge::worker

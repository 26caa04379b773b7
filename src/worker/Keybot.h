#pragma once

#include "config/ConfigHelper.h"
#include "platform/KeyInjector.h"
#include "worker/KeystrokeQueue.h"

#include <QString>

#include <atomic>
#include <chrono>
#include <memory>
#include <stop_token>
#include <thread>
#include <vector>

namespace serwedge::config {
class Config;
}

namespace serwedge::worker {

class WeightWorkerView;

// The keystroke engine: types each value from the program-wide queue into the focused
// application, character by character through the layout table, with an optional start key
// before and a terminator key after each value.
class Keybot {
public:
    using KeyboardType = config::ConfigHelper::KeyboardType;
    using KeyMapType = config::ConfigHelper::KeyMapType;

    // Key codes of 0 mean "no key". The view may be null: problems then go to standard output.
    Keybot(int keyDelay, int startWith, int endWith, int endWith2, int everyXValues,
           KeyboardType keyboardType, KeyMapType keyMapType, WeightWorkerView* view,
           std::shared_ptr<platform::KeyInjector> injector);
    // The settings of the configuration (its keyboard type and its instrument's key-map type).
    Keybot(const config::Config& config, WeightWorkerView* view,
           std::shared_ptr<platform::KeyInjector> injector);
    ~Keybot();
    Keybot(const Keybot&) = delete;
    Keybot& operator=(const Keybot&) = delete;

    // The queue shared by every Keybot of the program.
    static KeystrokeQueue& queue();
    // Queues a value for typing; the empty value is ignored.
    static void add(const QString& value);

    // Types queued values until stop is requested. A request ends the wait for the next value;
    // a value being typed is finished first, terminator included, and a value not yet begun
    // stays queued. A request on cut (which comes with one on stop) ends at once: pauses are cut
    // short and the value being typed ends after its current character, without terminator.
    // Every key still held is released before run returns.
    void run(std::stop_token stop, std::stop_token cut = {});

    void typeStart();
    // Types the characters of the value; false when a cut request cut it short.
    bool typeString(const QString& value);
    void typeEnd();

    int numCounter() const { return numCounter_; }
    const config::ConfigHelper::Keymap& keyMap() const { return keyMap_; }
    // Keys the engine pressed whose release has not succeeded yet (empty between characters
    // unless the platform refuses releases).
    const std::vector<int>& heldKeys() const { return held_; }

private:
    void typeKey(int code);
    void typeChord(const std::vector<int>& codes);
    void typeAltCode(char32_t character, const std::vector<int>& codes);
    void reportUntypable(char32_t character);
    // Press or release one key, reporting a refusal; true on success.
    bool press(int code);
    bool release(int code);
    void pause();
    // Releases whatever is still held, newest first.
    void releaseHeld();
    void report(const QString& important, const QString& standardOutput);

    std::shared_ptr<platform::KeyInjector> injector_;
    WeightWorkerView* view_;
    int keyDelay_;
    int startWith_;
    int endWith_;
    int endWith2_;
    int everyXValues_;
    int numCounter_ = 0;
    config::ConfigHelper::Keymap keyMap_;
    QString keyboardType_;
    std::stop_token cut_;
    std::vector<int> held_;
};

// Runs a Keybot on a thread of its own. It starts typing only once every thread handed to
// finishInBackground() has ended, so that two runs never type at the same time.
class KeybotThread {
public:
    explicit KeybotThread(std::shared_ptr<Keybot> keybot);
    // Ends at once (interruptNow) and joins.
    ~KeybotThread();
    KeybotThread(const KeybotThread&) = delete;
    KeybotThread& operator=(const KeybotThread&) = delete;

    // Ends the wait for the next value; a value being typed is finished with its terminator
    // first, and values still queued stay queued for the next run. Does not wait.
    void interrupt();
    // Ends at once, after releasing every held key: pauses are cut short and a value being
    // typed ends after its current character. Threads this one waits for end at once as well.
    void interruptNow();
    void join();
    // The thread has ended its work (joining it no longer waits for typing).
    bool finished() const { return finished_; }
    Keybot& keybot() { return *keybot_; }

    // Waits until every value queued so far has been typed; false on time-out.
    static bool waitUntilTyped(std::chrono::milliseconds timeout);

    // Stop without waiting (for the user-interface thread): interrupts the thread and keeps it
    // while it finishes its value. The next KeybotThread waits for it, and joins it, on its own
    // thread before typing.
    static void finishInBackground(std::unique_ptr<KeybotThread> thread);
    // Waits until every thread finishing in the background has ended its work; false on time-out.
    static bool waitForBackground(std::chrono::milliseconds timeout);
    // Ends every thread still finishing in the background at once and joins it (closing).
    static void endBackgroundNow();

private:
    std::shared_ptr<Keybot> keybot_;
    std::stop_source stop_;
    std::stop_source cut_;
    std::atomic<bool> finished_ = false;
    // Threads finishing in the background when this one started; read-only once started.
    std::vector<std::unique_ptr<KeybotThread>> previous_;
    std::thread thread_;
};

} // namespace serwedge::worker

#pragma once

#include "config/ConfigHelper.h"
#include "platform/KeyInjector.h"
#include "worker/KeystrokeQueue.h"

#include <QString>

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

    // Types queued values until stop is requested; a request also ends the wait for a value and
    // the pause between keys. A value being typed when the request comes is cut after the
    // current character, without its terminator; a value not yet begun stays queued.
    void run(std::stop_token stop);

    void typeStart();
    // Types the characters of the value; false when a stop request cut it short.
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
    std::stop_token stop_;
    std::vector<int> held_;
};

// Runs a Keybot on a thread of its own. Interrupting ends the wait for the next value and any
// pause at once; destruction interrupts and joins.
class KeybotThread {
public:
    explicit KeybotThread(std::shared_ptr<Keybot> keybot);
    ~KeybotThread();
    KeybotThread(const KeybotThread&) = delete;
    KeybotThread& operator=(const KeybotThread&) = delete;

    void interrupt();
    void join();
    Keybot& keybot() { return *keybot_; }

    // Waits until every value queued so far has been typed; false on time-out.
    static bool waitUntilTyped(std::chrono::milliseconds timeout);

private:
    std::shared_ptr<Keybot> keybot_;
    std::jthread thread_;
};

} // namespace serwedge::worker

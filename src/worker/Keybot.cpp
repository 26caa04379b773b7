#include "worker/Keybot.h"

#include "config/Config.h"
#include "keys/KeyCodes.h"
#include "worker/WeightWorkerView.h"
#include "worker/WorkerBundle.h"

#include <algorithm>
#include <condition_variable>
#include <cstdio>
#include <exception>
#include <mutex>
#include <optional>
#include <utility>

namespace serwedge::worker {

namespace KeyCodes = config::KeyCodes;

namespace {

// The error of a refused press or release, or nothing when it succeeded.
using Failure = std::optional<QString>;

QString characterText(char32_t c) {
    return QString::fromUcs4(&c, 1);
}

} // namespace

Keybot::Keybot(int keyDelay, int startWith, int endWith, int endWith2, int everyXValues,
               KeyboardType keyboardType, KeyMapType keyMapType, WeightWorkerView* view,
               std::shared_ptr<platform::KeyInjector> injector)
    : injector_(std::move(injector)), view_(view), keyDelay_(keyDelay), startWith_(startWith),
      endWith_(endWith), endWith2_(endWith2), everyXValues_(everyXValues),
      keyMap_(KeyboardType::getKeymap(keyboardType, keyMapType)),
      keyboardType_(keyboardType.name()) {
    if (!injector_)
        throw platform::KeyInjectorError("no keystroke facility");
}

Keybot::Keybot(const config::Config& config, WeightWorkerView* view,
               std::shared_ptr<platform::KeyInjector> injector)
    : Keybot(config.getDelayAsInt(), config.getStartWith().getKeyCode(),
             config.getOutputTerminator().getKeyCode(), config.getOutputTerminator2().getKeyCode(),
             config.getEveryXValuesAsInt(), config.getKeyboardType(),
             config.getInstrument()
                 .value_or(config::ConfigHelper::Instrument::getDefault())
                 .getKeyMapType(),
             view, std::move(injector)) {}

Keybot::~Keybot() {
    // Last chance for keys whose release the platform refused earlier.
    releaseHeld();
}

KeystrokeQueue& Keybot::queue() {
    static KeystrokeQueue shared;
    return shared;
}

void Keybot::add(const QString& value) {
    if (!value.isEmpty())
        queue().put(value);
}

void Keybot::run(std::stop_token stop, std::stop_token cut) {
    cut_ = cut;
    while (!stop.stop_requested() && !cut.stop_requested()) {
        std::optional<QString> value = queue().take(stop);
        if (!value)
            break;
        if (stop.stop_requested()) {
            // Taken just as the stop came: leave it for the next Keybot.
            queue().putBack(std::move(*value));
            break;
        }
        typeStart();
        if (typeString(*value))
            typeEnd();
        queue().done();
    }
    releaseHeld();
}

void Keybot::typeStart() {
    if (startWith_ > 0)
        typeKey(startWith_);
}

bool Keybot::typeString(const QString& value) {
    const qsizetype n = value.size();
    for (qsizetype i = 0; i < n; ++i) {
        if (cut_.stop_requested())
            return false;
        // A surrogate pair is one character; a lone surrogate is reported on its own.
        char32_t c = value.at(i).unicode();
        if (value.at(i).isHighSurrogate() && i + 1 < n && value.at(i + 1).isLowSurrogate()) {
            c = QChar::surrogateToUcs4(value.at(i), value.at(i + 1));
            ++i;
        }
        const auto entry = c <= 0xFFFF ? keyMap_.find(static_cast<char16_t>(c)) : keyMap_.end();
        if (entry == keyMap_.end()) {
            reportUntypable(c);
            continue;
        }
        const std::vector<int>& codes = entry->second;
        if (!codes.empty() && codes.front() == KeyCodes::ALT)
            typeAltCode(c, codes);
        else
            typeChord(codes);
        releaseHeld();
    }
    return true;
}

void Keybot::typeEnd() {
    if (everyXValues_ > 1) {
        ++numCounter_;
        if (numCounter_ == everyXValues_) {
            numCounter_ = 0;
            if (endWith2_ > 0)
                typeKey(endWith2_);
            return;
        }
    }
    if (endWith_ > 0)
        typeKey(endWith_);
}

void Keybot::typeKey(int code) {
    if (press(code)) {
        pause();
        release(code);
    }
    releaseHeld();
}

void Keybot::typeChord(const std::vector<int>& codes) {
    // Press in order (the modifiers first), release in reverse so that no modifier stays held.
    // A SPACE after the first key completes a dead key once the dead key is up again.
    bool deferredSpace = false;
    std::vector<int> pressed;
    for (std::size_t i = 0; i < codes.size(); ++i) {
        if (codes[i] == KeyCodes::SPACE && i > 0) {
            deferredSpace = true;
            continue;
        }
        if (press(codes[i])) {
            pressed.push_back(codes[i]);
            pause();
        }
    }
    for (auto it = pressed.rbegin(); it != pressed.rend(); ++it) {
        release(*it);
        pause();
    }
    if (!deferredSpace)
        return;
    const auto deadkeyError = [this](const QString& message) {
        report(QStringLiteral("Deadkey error: ") + message, QStringLiteral("Deadkey error"));
    };
    // The injector leaves the SPACE out where the key was not a dead key after all.
    try {
        injector_->pressDeadKeySpace();
    } catch (const std::exception& e) {
        deadkeyError(QString::fromUtf8(e.what()));
        return;
    }
    held_.push_back(KeyCodes::SPACE);
    pause();
    try {
        injector_->releaseDeadKeySpace();
        held_.pop_back();
    } catch (const std::exception& e) {
        deadkeyError(QString::fromUtf8(e.what()));
        return;
    }
    pause();
}

void Keybot::typeAltCode(char32_t character, const std::vector<int>& codes) {
    // ALT held while the keypad digits go down and up; the character comes on ALT's release.
    const auto step = [this](bool down, int code) -> Failure {
        try {
            if (down) {
                injector_->press(code);
                held_.push_back(code);
            } else {
                injector_->release(code);
                std::erase(held_, code);
            }
            return std::nullopt;
        } catch (const std::exception& e) {
            return QString::fromUtf8(e.what());
        }
    };
    const auto fail = [&](const QString& message) {
        report(QStringLiteral("Error pressing ALT key for %1 on %2 keyboard: %3")
                   .arg(characterText(character), keyboardType_, message),
               QStringLiteral("Error pressing/releasing ALT key for : ") +
                   characterText(character));
    };
    if (Failure f = step(true, codes.front())) {
        fail(*f);
        return;
    }
    pause();
    for (std::size_t i = 1; i < codes.size(); ++i) {
        if (Failure f = step(true, codes[i])) {
            fail(*f);
            return;
        }
        pause();
        if (Failure f = step(false, codes[i])) {
            fail(*f);
            return;
        }
        pause();
    }
    if (Failure f = step(false, codes.front())) {
        fail(*f);
        return;
    }
    pause();
    pause();
}

void Keybot::reportUntypable(char32_t c) {
    QString text = workerBundle().getString("cannot_type");
    if (c < 32 || c > 126)
        text += QLatin1Char('<') + QString::number(static_cast<quint32>(c)) + QLatin1Char('>');
    else
        text += characterText(c);
    report(text, text);
}

bool Keybot::press(int code) {
    try {
        injector_->press(code);
    } catch (const std::exception& e) {
        report(QStringLiteral("Error pressing key %1 on %2 keyboard: %3")
                   .arg(QString::number(code), keyboardType_, QString::fromUtf8(e.what())),
               QStringLiteral("Error on pressing: ") + QString::number(code));
        return false;
    }
    held_.push_back(code);
    return true;
}

bool Keybot::release(int code) {
    try {
        injector_->release(code);
    } catch (const std::exception& e) {
        report(QStringLiteral("Error releasing key %1 on %2 keyboard: %3")
                   .arg(QString::number(code), keyboardType_, QString::fromUtf8(e.what())),
               QStringLiteral("Error on releasing: ") + QString::number(code));
        return false;
    }
    // The newest press of that key is the one released.
    for (auto it = held_.rbegin(); it != held_.rend(); ++it) {
        if (*it == code) {
            held_.erase(std::next(it).base());
            break;
        }
    }
    return true;
}

void Keybot::pause() {
    injector_->pause(keyDelay_, cut_);
}

void Keybot::releaseHeld() {
    // Each held key gets one more attempt; a key the platform still refuses stays listed.
    const std::vector<int> stuck(held_.rbegin(), held_.rend());
    for (int code : stuck)
        release(code);
}

void Keybot::report(const QString& important, const QString& standardOutput) {
    if (view_) {
        view_->logImportantEvent(important);
    } else {
        std::fputs((standardOutput + QLatin1Char('\n')).toUtf8().constData(), stdout);
        std::fflush(stdout);
    }
}

namespace {

// Threads finishing their value after a stop, until a new thread or the program's end joins
// them. The variable tells of every thread that has ended its work.
struct Background {
    std::mutex mutex;
    std::condition_variable ended;
    std::vector<std::unique_ptr<KeybotThread>> threads;
};

Background& background() {
    static Background b;
    return b;
}

} // namespace

KeybotThread::KeybotThread(std::shared_ptr<Keybot> keybot) : keybot_(std::move(keybot)) {
    {
        std::lock_guard lock(background().mutex);
        previous_.swap(background().threads);
    }
    thread_ = std::thread([this] {
        for (const auto& previous : previous_)
            previous->join();
        keybot_->run(stop_.get_token(), cut_.get_token());
        {
            std::lock_guard lock(background().mutex);
            finished_ = true;
        }
        background().ended.notify_all();
    });
}

KeybotThread::~KeybotThread() {
    interruptNow();
    join();
}

void KeybotThread::interrupt() {
    stop_.request_stop();
}

void KeybotThread::interruptNow() {
    cut_.request_stop();
    stop_.request_stop();
    for (const auto& previous : previous_)
        previous->interruptNow();
}

void KeybotThread::join() {
    if (thread_.joinable())
        thread_.join();
}

bool KeybotThread::waitUntilTyped(std::chrono::milliseconds timeout) {
    return Keybot::queue().waitUntilTyped(timeout);
}

void KeybotThread::finishInBackground(std::unique_ptr<KeybotThread> thread) {
    if (!thread)
        return;
    thread->interrupt();
    std::vector<std::unique_ptr<KeybotThread>> ended;
    {
        std::lock_guard lock(background().mutex);
        auto& threads = background().threads;
        for (auto it = threads.begin(); it != threads.end();) {
            if ((*it)->finished()) {
                ended.push_back(std::move(*it));
                it = threads.erase(it);
            } else {
                ++it;
            }
        }
        threads.push_back(std::move(thread));
    }
    // Joining a thread that has ended its work does not wait.
    ended.clear();
}

bool KeybotThread::waitForBackground(std::chrono::milliseconds timeout) {
    std::unique_lock lock(background().mutex);
    return background().ended.wait_for(lock, timeout, [] {
        return std::all_of(background().threads.begin(), background().threads.end(),
                           [](const auto& thread) { return thread->finished(); });
    });
}

void KeybotThread::endBackgroundNow() {
    std::vector<std::unique_ptr<KeybotThread>> threads;
    {
        std::lock_guard lock(background().mutex);
        threads.swap(background().threads);
    }
    for (const auto& thread : threads)
        thread->interruptNow();
    threads.clear(); // joins
}

} // namespace serwedge::worker

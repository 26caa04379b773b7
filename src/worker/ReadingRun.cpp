#include "worker/ReadingRun.h"

#include "platform/KeyInjector.h"
#include "worker/DataLine.h"
#include "worker/Ignorer.h"
#include "worker/KeyInjectorChoice.h"
#include "worker/Keybot.h"
#include "worker/RunOutputs.h"
#include "worker/WeightWorker.h"

#include <QLoggingCategory>

#include <chrono>

Q_LOGGING_CATEGORY(lcRun, "tallyra.run")

namespace serwedge::worker {

ReadingRun::ReadingRun() = default;

ReadingRun::~ReadingRun() {
    shutdown();
}

ReadingRun::Failure ReadingRun::fail(Stage stage, const QString& message, bool endsStart,
                                     const FailureReport& report) {
    const Failure failure{stage, message, endsStart};
    if (report)
        report(failure);
    return failure;
}

std::optional<ReadingRun::Failure> ReadingRun::start(const config::Config& config,
                                                     WeightWorkerView* view, Options options,
                                                     const FailureReport& report) {
    // Only one run at a time: what is left of the previous one goes first (a value it is still
    // typing is finished before this run's keystroke thread types).
    end(false);
    view_ = view;
    options_ = std::move(options);

    if (options_.type) {
        if (auto failure = openKeyboardOutput(config, report); failure && failure->endsStart)
            return failure;
    }

    try {
        soundBot_ = SoundBot::forSound(config.getSound(), options_.player);
    } catch (const std::exception& e) {
        soundBot_.reset();
        fail(Stage::SoundOutput, QString::fromUtf8(e.what()), false, report);
    }

    if (config.ignoreDuplicates)
        ignorer_ = std::make_unique<Ignorer>(config);

    // Constructing the worker opens the port and switches the view to its running face.
    std::optional<Failure> failure;
    try {
        worker_ = WeightWorker::create(config, this, options_.source ? options_.source() : nullptr);
    } catch (const InvalidSettingError& e) {
        failure = Failure{Stage::Setting, QString::fromUtf8(e.what()), true};
    } catch (const std::exception& e) {
        failure = Failure{Stage::Port, QString::fromUtf8(e.what()), true};
    }
    if (failure) {
        dropOutputs();
        fail(failure->stage, failure->message, true, report);
        if (connected_)
            setConnectedInGUI(false);
        return failure;
    }

    if (keyBot_)
        keybotThread_ = std::make_unique<KeybotThread>(keyBot_);
    outputs_ = std::make_unique<RunOutputs>(config, view_);
    if (!outputs_->any())
        outputs_.reset();
    worker_->execute();
    return std::nullopt;
}

std::optional<ReadingRun::Failure> ReadingRun::openKeyboardOutput(const config::Config& config,
                                                                  const FailureReport& report) {
    std::shared_ptr<platform::KeyInjector> injector;
    try {
        if (options_.injector) {
            injector = options_.injector();
        } else {
            KeyInjectorHooks hooks;
            if (view_)
                hooks.important = [view = view_](const QString& t) { view->logImportantEvent(t); };
            injector = createSessionKeyInjector(hooks);
        }
        if (!injector)
            throw platform::KeyInjectorError("no keystroke facility");
        keyBot_ = std::make_shared<Keybot>(config, view_, injector);
    } catch (const std::exception& e) {
        keyBot_.reset();
        // A Wayland desktop where no way of typing works: the log says so and what to do.
        if (view_ && dynamic_cast<const NoKeyInjectionError*>(&e))
            view_->logImportantEvent(QString::fromUtf8(e.what()));
        return fail(Stage::KeyboardOutput, QString::fromUtf8(e.what()), options_.keyboardRequired,
                    report);
    }
    if (injector->capsLockOn())
        fail(Stage::CapsLock, QString(), false, report);
    return std::nullopt;
}

void ReadingRun::deliver(const DataLine& received) {
    if (options_.lastLine && received.getCount() > *options_.lastLine)
        return;
    DataLine line = received.copy();
    const bool hadValue = line.hasValue();
    if (ignorer_)
        ignorer_->process(line);
    if (soundBot_ && line.hasValue())
        soundBot_->beep();
    if (view_)
        view_->update(line);
    if (keyBot_)
        Keybot::add(line.getProcessedData());
    if (outputs_)
        outputs_->record(line, keyBot_ && line.hasValue(), hadValue && !line.hasValue());
}

void ReadingRun::stop() {
    if (worker_)
        worker_->cancel(true);
    dropOutputs();
}

void ReadingRun::dropOutputs() {
    // A value being typed is finished without waiting for it here.
    KeybotThread::finishInBackground(std::move(keybotThread_));
    keyBot_.reset();
    if (soundBot_) {
        soundBot_->close();
        soundBot_.reset();
    }
    ignorer_.reset();
}

void ReadingRun::shutdown() {
    end(true);
}

void ReadingRun::end(bool typingAtOnce) {
    if (worker_) {
        worker_->cancel(true);
        if (!worker_->waitForFinished(std::chrono::seconds(5)))
            qCWarning(lcRun) << "the reading worker did not end in time";
    }
    dropOutputs();
    if (typingAtOnce)
        KeybotThread::endBackgroundNow(); // releases every key
    worker_.reset();                      // closes the port
    outputs_.reset();
}

void ReadingRun::releaseFinishedWorker() {
    if (worker_ && worker_->isDone()) {
        worker_.reset();
        outputs_.reset();
    }
}

bool ReadingRun::isReading() const {
    return worker_ && !worker_->isDone();
}

void ReadingRun::logEvent(const QString& text) {
    if (view_)
        view_->logEvent(text);
}

void ReadingRun::logImportantEvent(const QString& text) {
    if (view_)
        view_->logImportantEvent(text);
}

void ReadingRun::showWarning(const QString& title, const QString& message) {
    if (view_)
        view_->showWarning(title, message);
}

void ReadingRun::showPortWaiting(const QString& text) {
    if (view_)
        view_->showPortWaiting(text);
}

void ReadingRun::update(const DataLine& line) {
    deliver(line);
}

void ReadingRun::linesDelivered() {
    if (view_)
        view_->linesDelivered();
}

void ReadingRun::setConnectedInGUI(bool connected) {
    connected_ = connected;
    if (view_)
        view_->setConnectedInGUI(connected);
}

} // namespace serwedge::worker

// presets, replay and read: the reading pipeline of the window, without a window.

#include "cli/CliSettings.h"
#include "cli/CliView.h"
#include "cli/Commands.h"
#include "cli/StandardStreams.h"

#include "config/Catalogue.h"
#include "config/Instrument.h"
#include "serwedge/prefs/SettingsStore.h"
#include "worker/ByteSource.h"
#include "worker/KeyInjectorChoice.h"
#include "worker/Keybot.h"
#include "worker/ReadingRun.h"
#include "worker/WeightWorker.h"

#include "rs232/SerialPortLocal.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QTimer>

#include <atomic>
#include <csignal>
#include <cstdio>

namespace {

using namespace serwedge::config;
using namespace serwedge::worker;
using tallyra::cli::CliView;
using tallyra::cli::RunOptions;
using tallyra::cli::UsageError;

// Ctrl+C (or SIGTERM) so far: the first stops reading and typing after the value being typed,
// the second ends typing at once.
std::atomic<int> interrupts{0};

extern "C" void onInterrupt(int) {
    ++interrupts;
}

void printError(const std::string& text) {
    std::fprintf(stderr, "tallyra-cli: %s\n", text.c_str());
}

// Runs a started run's worker on the event loop until it completes. Ctrl+C, the count and the
// time are looked at a few times a second and after every batch of lines; once one says stop,
// the worker is cancelled the way the window's Stop cancels it, while the keystroke engine goes
// on typing what is queued.
int runWorker(ReadingRun& run, CliView& view, const RunOptions& options) {
    WeightWorker& worker = *run.worker();
    QElapsedTimer clock;
    clock.start();
    bool cancelled = false;
    const auto look = [&] {
        if (worker.isDone()) {
            QCoreApplication::quit();
            return;
        }
        if (cancelled)
            return;
        const bool countReached = options.count && worker.lastLineNumber() >= *options.count;
        const bool timeUp = options.seconds && clock.elapsed() >= *options.seconds * 1000.0;
        if (interrupts > 0 || countReached || timeUp) {
            cancelled = true;
            worker.cancel(true);
        }
    };
    view.setAfterBatch(look);
    // The end is told from inside the worker's completion: looked at once that has returned,
    // so that the tool ends as soon as the last line is out rather than at the next poll.
    QObject context;
    view.setAfterEnd([&] { QTimer::singleShot(0, &context, look); });
    QTimer poll;
    QObject::connect(&poll, &QTimer::timeout, look);
    poll.start(25);
    QCoreApplication::exec();
    view.setAfterBatch({});
    view.setAfterEnd({});
    return worker.outcome() == BackgroundTaskBase::Outcome::Failed ? 1 : 0;
}

struct Prepared {
    Config config;
    RunOptions run;
};

// --stored: the user's settings (or, with --shared, the shared file); --settings FILE: an
// exported settings file. Both answer false when invalid values were replaced by defaults.
bool loadStored(Config& c, const QString&, bool shared) {
    bool valid = true;
    c = Config::copyConfig(serwedge::prefs::loadStoredConfig(
        shared ? serwedge::prefs::SettingsStore::Backend::SharedFile
               : serwedge::prefs::SettingsStore::Backend::Default,
        {}, &valid));
    return valid;
}

bool loadExported(Config& c, const QString& file) {
    QString error;
    bool valid = true;
    auto loaded = serwedge::prefs::loadConfigFromExport(file, {}, &error, &valid);
    if (!loaded)
        throw tallyra::cli::InputError("--settings: " + file.toStdString() + ": " +
                                       error.toStdString());
    c = Config::copyConfig(*loaded);
    return valid;
}

Prepared prepare(const std::vector<std::string>& args) {
    Prepared p;
    QStringList warnings;
    std::vector<std::string> rest;
    bool shared = false;
    for (const auto& a : args) {
        if (a == "--shared")
            shared = true;
        else
            rest.push_back(a);
    }
    p.config = tallyra::cli::buildConfig(
        rest, p.run, warnings,
        [shared](Config& c, const QString& f) { return loadStored(c, f, shared); }, loadExported);
    for (const QString& w : warnings)
        std::fprintf(stderr, "! %s\n", w.toUtf8().constData());
    return p;
}

// The settings of a run; a refused option or an unreadable settings file is reported and
// answered with the exit status (0 when all is well).
int prepareOrReport(const std::vector<std::string>& args, Prepared& p) {
    try {
        p = prepare(args);
        return 0;
    } catch (const UsageError& e) {
        printError(e.what());
        return 2;
    } catch (const tallyra::cli::InputError& e) {
        printError(e.what());
        return 1;
    }
}

// Starts a run on the configured port; the exit status when it did not start (0 when it did).
// Problems that leave the run going (sound, Caps Lock) are reported and reading goes on.
int startRun(ReadingRun& run, const Config& config, CliView& view, const RunOptions& options,
             std::function<std::unique_ptr<ByteSource>()> source = {}) {
    ReadingRun::Options o;
    o.source = std::move(source);
    o.type = options.type;
    o.keyboardRequired = true; // --type asks for typing; reading without it is not what was asked
    o.lastLine = options.count;
    KeyInjectorHooks hooks;
    hooks.status = [&view](const QString& text) {
        if (!text.isEmpty())
            view.logEvent(text);
    };
    hooks.important = [&view](const QString& text) { view.logImportantEvent(text); };
    o.injector = [hooks] { return createSessionKeyInjector(hooks); };
    const auto failure = run.start(config, &view, o, [&view](const ReadingRun::Failure& f) {
        switch (f.stage) {
        case ReadingRun::Stage::KeyboardOutput:
            printError("keyboard output cannot be used: " + f.message.toStdString());
            break;
        case ReadingRun::Stage::CapsLock:
            view.showWarning(QStringLiteral("Warning"),
                             QStringLiteral("Caps Lock is on; letters may be typed in the "
                                            "wrong case."));
            break;
        case ReadingRun::Stage::SoundOutput:
            printError("sound output cannot be used: " + f.message.toStdString());
            break;
        case ReadingRun::Stage::Setting:
            printError("invalid setting: " + f.message.toStdString());
            break;
        case ReadingRun::Stage::Port:
            printError("error opening the port: " + f.message.toStdString());
            break;
        }
    });
    if (!failure)
        return 0;
    return failure->stage == ReadingRun::Stage::Setting ? 2 : 1;
}

} // namespace

int runPresetsCommand(const std::vector<std::string>& args) {
    if (!args.empty()) {
        printError("presets takes no arguments");
        return 2;
    }
    for (const auto& p : ConfigHelper::Instrument::values()) {
        std::printf("%s\t%s\t%s\t%s\n", p.name().toUtf8().constData(),
                    p.toPlainString().toUtf8().constData(),
                    p.getInstrumentType().name().toUtf8().constData(),
                    p.getKeyMapType().name().toUtf8().constData());
    }
    return 0;
}

int runReplayCommand(const std::vector<std::string>& args) {
    Prepared p;
    if (const int status = prepareOrReport(args, p); status != 0)
        return status;
    if (p.run.positional.size() != 1) {
        printError("replay needs exactly one FILE (- for standard input)");
        return 2;
    }
    const QString path = p.run.positional.front();
    std::unique_ptr<QIODevice> device;
    if (path == QLatin1String("-")) {
        device = tallyra::cli::standardInput();
    } else {
        auto file = std::make_unique<QFile>(path);
        if (!file->open(QIODevice::ReadOnly)) {
            printError("cannot read " + path.toStdString() + ": " +
                       file->errorString().toStdString());
            return 1;
        }
        device = std::move(file);
    }

    // The file streams through the reading worker in large blocks, whatever its size; the
    // reading waits while the printing is behind.
    auto input = std::make_shared<std::unique_ptr<QIODevice>>(std::move(device));
    const auto source = [input]() -> std::unique_ptr<ByteSource> {
        return std::make_unique<StreamSource>(std::move(*input));
    };
    // A replay is printed, neither typed nor sounded.
    p.run.type = false;
    p.config.setSound(ConfigHelper::Sound(ConfigHelper::Sound::NONE));
    CliView view;
    view.setQuiet(p.run.quiet);
    ReadingRun run;
    if (const int status = startRun(run, p.config, view, p.run, source); status != 0)
        return status;
    const int status = runWorker(run, view, p.run);
    run.shutdown();
    return status;
}

int runReadCommand(const std::vector<std::string>& args) {
    Prepared p;
    if (const int status = prepareOrReport(args, p); status != 0)
        return status;
    if (p.run.port.isEmpty()) {
        printError("read needs --port NAME");
        return 2;
    }
    if (!p.run.positional.isEmpty()) {
        printError("unexpected argument " + p.run.positional.front().toStdString());
        return 2;
    }
    p.config.setPort(p.run.port);
    if (!rs232::SerialPortLocal::isLibraryLoaded()) {
        printError("the serial driver library " + rs232::SerialPortLocal::getLibraryName() +
                   " could not be loaded");
        return 3;
    }
    std::signal(SIGINT, onInterrupt);
    std::signal(SIGTERM, onInterrupt);

    // --type: the keystroke engine types each printed value, on its own thread; --sound
    // sounds each value as the window does.
    CliView view;
    view.setQuiet(p.run.quiet);
    ReadingRun run;
    if (const int status = startRun(run, p.config, view, p.run); status != 0)
        return status;
    const int status = runWorker(run, view, p.run);
    if (run.hasKeybotThread()) {
        // Everything queued is typed before the tool ends, unless Ctrl+C asks to stop; then the
        // value being typed is finished with its terminator, unless Ctrl+C comes again.
        while (interrupts == 0 && !KeybotThread::waitUntilTyped(std::chrono::milliseconds(100))) {
        }
        run.stop();
        while (interrupts < 2 && !KeybotThread::waitForBackground(std::chrono::milliseconds(100))) {
        }
    }
    run.shutdown();
    return status;
}

#include "worker/WeightWorker.h"

#include "config/ConfigHelper.h"
#include "worker/LineError.h"
#include "worker/WeightWorkerView.h"
#include "worker/WorkerBundle.h"

#include "rs232/IOException.h"
#include "rs232/SerialConfig.h"
#include "rs232/SerialPortLocal.h"

#include <QDateTime>

#include <algorithm>
#include <chrono>
#include <thread>

namespace serwedge::worker {

using namespace config::ConfigHelper;

namespace {

LineProcessor makeLineProcessor(const config::Config& config, bool textWorker) {
    try {
        return LineProcessor(config, textWorker);
    } catch (const std::exception& e) {
        // A pattern that does not compile, an operand that is not a number.
        throw InvalidSettingError(e.what());
    }
}

QString onOff(bool on) {
    return on ? QStringLiteral("on") : QStringLiteral("off");
}

} // namespace

WeightWorker::WeightWorker(const config::Config& config, WeightWorkerView* view)
    : WeightWorker(config, view, false) {}

WeightWorker::WeightWorker(const config::Config& config, WeightWorkerView* view, bool textWorker)
    : config_(config::Config::copyConfig(config)), view_(view), textWorker_(textWorker),
      lines_(makeLineProcessor(config, textWorker)), generator_(std::random_device{}()) {
    rawData_.reserve(30);
    openPort();
}

WeightWorker::~WeightWorker() {
    shutdown();
}

std::unique_ptr<WeightWorker> WeightWorker::create(const config::Config& config,
                                                   WeightWorkerView* view) {
    const Instrument instrument = config.getInstrument().value_or(Instrument::getDefault());
    if (instrument.getInstrumentType() != InstrumentType::NUMBER)
        return std::make_unique<WeightWorkerBarcode>(config, view);
    if (instrument == Instrument::AND || instrument == Instrument::AND_EM)
        return std::make_unique<WeightWorkerAnd>(config, view);
    return std::make_unique<WeightWorker>(config, view);
}

void WeightWorker::openPort() {
    const QString portName = config_.getPort();
    if (portName.isNull() || portName.isEmpty())
        throw std::runtime_error(workerBundle().getString("null.port.error").toStdString());

    rs232::SerialConfig serialConfig(portName.toStdString());
    serialConfig.setBitRate(config_.getBitRate());
    serialConfig.setDataBits(config_.getDataBits());
    serialConfig.setParity(config_.getParity());
    serialConfig.setStopBits(config_.getStopBits());
    sp_ = std::make_unique<rs232::SerialPortLocal>(serialConfig);
    rs232::SerialPortLocal::addPortName(portName.toStdString());

    if (view_)
        view_->setConnectedInGUI(true);
    try {
        preparePort();
    } catch (...) {
        // The port object closes on destruction; the window must not stay in its running face.
        if (view_)
            view_->setConnectedInGUI(false);
        throw;
    }
}

void WeightWorker::preparePort() {
    const QString portName = config_.getPort();
    sp_->rxFlush();
    if (view_) {
        view_->logEvent(workerBundle().format(
            "port.opened",
            {portName, BitRates::getReadable(config_.getBitRate()),
             DataBits::getReadable(config_.getDataBits()), Parity::getReadable(config_.getParity()),
             StopBits::getReadable(config_.getStopBits())}));
    }
    sp_->setRTS(false);
    sp_->setDTR(true);
    const bool dsr = sp_->sigDSR();
    const bool cts = sp_->sigCTS();
    if (view_) {
        view_->logEvent(
            QStringLiteral("RTS: off, DTR: on. DSR: %1, CTS: %2.").arg(onOff(dsr), onOff(cts)));
    }
    if (view_ && lines_.stableOnly() && !lines_.statuses().knowsStability())
        view_->logEvent(workerBundle().getString("stable.only.unknown"));
    if (writesCommands() && sp_->isSupported("setTimeoutTx")) {
        // A port that takes no more bytes must not hold up the reading for long.
        sp_->setTimeoutTx(kWriteTimeoutMs);
    }
}

bool WeightWorker::writesCommands() const {
    const Instrument instrument = config_.getInstrument().value_or(Instrument::getDefault());
    return config_.getRequestMode() != RequestMode::NONE ||
           !instrument.getTareCommand().isEmpty() || !instrument.getZeroCommand().isEmpty();
}

void WeightWorker::writeCommand(const QString& text) {
    const auto bytes = RequestCommand::decode(text);
    if (!bytes || bytes->isEmpty())
        return;
    try {
        sp_->putString(bytes->toStdString());
        writeFailing_ = false;
    } catch (const std::exception& e) {
        // The user sees that the instrument was not asked, once and not at every interval.
        if (view_ && !writeFailing_)
            view_->logImportantEvent(workerBundle().format("request.failed", {text}) +
                                     QStringLiteral(" ") + QString::fromUtf8(e.what()));
        writeFailing_ = true;
    }
}

void WeightWorker::sendCommand(Command command) {
    pendingCommands_.fetch_or(static_cast<int>(command));
}

void WeightWorker::serviceCommands(std::chrono::steady_clock::time_point& nextRequest) {
    if (config_.getRequestMode() == RequestMode::INTERVAL) {
        const auto now = std::chrono::steady_clock::now();
        if (now >= nextRequest) {
            writeCommand(config_.getRequestCommand());
            // A late turn does not make up for the requests it missed.
            const auto period = std::chrono::milliseconds(config_.getRequestIntervalMsAsInt());
            nextRequest = std::max(nextRequest + period, now);
        }
    }
    const int pending = pendingCommands_.exchange(0);
    if (pending == 0)
        return;
    const Instrument instrument = config_.getInstrument().value_or(Instrument::getDefault());
    if (pending & static_cast<int>(Command::Request))
        writeCommand(config_.getRequestCommand());
    if (pending & static_cast<int>(Command::Tare))
        writeCommand(instrument.getTareCommand());
    if (pending & static_cast<int>(Command::Zero))
        writeCommand(instrument.getZeroCommand());
}

void WeightWorker::logParityError() {
    if (!view_)
        return;
    view_->logImportantEvent(textWorker_ ? QStringLiteral("Parity Error")
                                         : workerBundle().getString("parity.error"));
}

void WeightWorker::logFramingError() {
    if (!view_)
        return;
    view_->logImportantEvent(textWorker_ ? QStringLiteral("Framing Error")
                                         : workerBundle().getString("framing.error"));
}

void WeightWorker::logLineError(const QString& description) {
    if (view_)
        view_->logImportantEvent(QStringLiteral("Error [WW]: ") + description);
}

bool WeightWorker::idlePause() {
    std::uniform_int_distribution<int> pause(0, 4);
    const int ms = pause(generator_);
    // A pause of 0 ms needs no wait: look at the port again at once.
    if (ms == 0)
        return isInterrupted();
    return !interruptibleSleep(std::chrono::milliseconds(ms));
}

int WeightWorker::doInBackground() {
    int lastCount = 0;
    bool parityError = false;
    bool framingError = false;
    const bool checkParity = sp_->isSupported("sigParityErr");
    const bool checkFraming = sp_->isSupported("sigFrameErr");
    const int terminator = config_.getInputTerminator();

    // Cancellation is looked at before the first read and whenever no byte is waiting, so
    // that every byte already received is processed first.
    if (isCancelled())
        return lastCount;
    // Commands are only looked at where some can be due. An instrument that sends only on
    // request gets its request once the port is ready; the first interval request goes out at
    // once.
    const bool commands = writesCommands();
    if (config_.getRequestMode() == RequestMode::ON_START)
        writeCommand(config_.getRequestCommand());
    auto nextRequest = std::chrono::steady_clock::now();
    for (;;) {
        if (commands)
            serviceCommands(nextRequest);
        int b;
        try {
            b = sp_->getByte();
        } catch (const rs232::PortDisconnected& e) {
            // The user reads what happened; the driver's words stay as the detail.
            throw std::runtime_error((workerBundle().getString("instrument.disconnected") +
                                      QStringLiteral(" (") + QString::fromUtf8(e.what()) +
                                      QStringLiteral(")"))
                                         .toStdString());
        }
        if (b < 0) {
            if (isCancelled() || idlePause() || isCancelled())
                break;
            continue;
        }
        rawData_ += QChar(static_cast<char16_t>(b & 0xFF));
        if (checkParity && sp_->sigParityErr()) {
            logParityError();
            parityError = true;
        }
        if (checkFraming && sp_->sigFrameErr()) {
            logFramingError();
            framingError = true;
        }
        if (b != terminator) {
            if (rawData_.size() > kMaxLineLength) {
                if (view_) {
                    view_->logImportantEvent(
                        workerBundle().format("line.too.long", {QString::number(kMaxLineLength),
                                                                QString::number(rawData_.size())}));
                }
                rawData_.clear();
                parityError = framingError = false;
            }
            continue;
        }

        const int count = lastCount + 1;
        lastCount = count;
        lastLine_ = count;
        try {
            publish(lines_.process(rawData_, count, parityError || framingError));
        } catch (const LineError& e) {
            // A failed line is dropped whole, so that it cannot spoil the next one.
            logLineError(textWorker_ ? e.message() : e.description());
        } catch (const std::exception& e) {
            logLineError(QString::fromUtf8(e.what()));
        }
        rawData_.clear();
        parityError = framingError = false;
    }
    return lastCount;
}

void WeightWorker::process(const std::vector<DataLine>& batch) {
    if (!view_)
        return;
    for (const DataLine& line : batch)
        view_->update(line);
}

void WeightWorker::done() {
    if (view_) {
        switch (outcome()) {
        case Outcome::Cancelled:
            view_->logEvent(workerBundle().getString("stopped"));
            break;
        case Outcome::Failed:
            view_->logImportantEvent(workerBundle().getString("execution.exception") +
                                     errorMessage());
            break;
        case Outcome::Interrupted:
            view_->logEvent(workerBundle().getString("interrupted"));
            break;
        case Outcome::Finished:
        case Outcome::None:
            break;
        }
        if (!rawData_.isEmpty()) {
            view_->logImportantEvent(workerBundle().getString("unsent.data") + QStringLiteral(" ") +
                                     DataLine::transformControlChars(rawData_));
        }
    }
    rawData_.clear();
    try {
        sp_->close();
    } catch (const rs232::IOException& e) {
        if (view_)
            view_->logImportantEvent(QString::fromStdString(e.what()));
    }
    if (view_)
        view_->setConnectedInGUI(false);
}

WeightWorkerAnd::WeightWorkerAnd(const config::Config& config, WeightWorkerView* view)
    : WeightWorker(config, view, false) {
    try {
        testDevice();
    } catch (...) {
        if (view)
            view->setConnectedInGUI(false);
        throw;
    }
}

void WeightWorkerAnd::testDevice() {
    using namespace std::chrono_literals;
    auto& sp = port();
    auto warn = [this](const char* key) {
        if (view())
            view()->showWarning(workerBundle().getString("warning"), workerBundle().getString(key));
    };
    sp.setDTR(true);
    std::this_thread::sleep_for(50ms);
    const bool dsr = sp.sigDSR();
    sp.setRTS(true);
    std::this_thread::sleep_for(50ms);
    const bool cts = sp.sigCTS();
    if (dsr && !cts)
        warn("and.error.unusual");
    else if (!dsr && cts)
        warn("and.error.dataset.not.ready");
    else if (!dsr && !cts)
        warn("and.error.not.connected");
}

WeightWorkerBarcode::WeightWorkerBarcode(const config::Config& config, WeightWorkerView* view)
    : WeightWorker(config, view, true) {}

} // namespace serwedge::worker

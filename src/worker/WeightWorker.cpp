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

// The open port as the worker reads it: one driver call waits for bytes and takes all that are
// ready; the error indications are asked for once per batch, and the driver ends a batch at a
// byte that carries one, so an indication belongs to the batch's last byte.
class PortSource : public ByteSource {
public:
    explicit PortSource(rs232::SerialPortLocal& port)
        : port_(port), checkParity_(port.isSupported("sigParityErr")),
          checkFraming_(port.isSupported("sigFrameErr")) {}

    std::size_t blockSize() const override { return 16 * 1024; }

    Batch read(std::span<std::uint8_t> buffer, std::chrono::milliseconds wait) override {
        Batch batch;
        const int n = port_.readAvailable(buffer, static_cast<int>(wait.count()));
        if (n <= 0)
            return batch;
        batch.count = static_cast<std::size_t>(n);
        try {
            batch.parityError = checkParity_ && port_.sigParityErr();
            batch.framingError = checkFraming_ && port_.sigFrameErr();
        } catch (const rs232::IOException&) {
            // The device went away right after these bytes: they are kept, and the next read
            // tells the hang-up (a reconnect, or the end of the run).
        }
        return batch;
    }

private:
    rs232::SerialPortLocal& port_;
    const bool checkParity_;
    const bool checkFraming_;
};

} // namespace

// Turns the lines the splitter cuts into DataLines for the batch being read.
class WeightWorker::Lines : public LineSplitter::Sink {
public:
    Lines(WeightWorker& worker, int lastCount) : worker_(worker), lastCount_(lastCount) {}

    void line(QString raw, bool error) override {
        const int count = ++lastCount_;
        worker_.lastLine_ = count;
        try {
            batch.push_back(worker_.lines_.process(raw, count, error));
            // A large block goes over in parts, so that the window shows its first lines soon
            // and what waits for it stays bounded.
            if (batch.size() >= kHandOver)
                worker_.publishAll(batch, kMaxWaitingLines);
        } catch (const LineError& e) {
            // A failed line is dropped whole, so that it cannot spoil the next one.
            worker_.logLineError(worker_.textWorker_ ? e.message() : e.description());
        } catch (const std::exception& e) {
            worker_.logLineError(QString::fromUtf8(e.what()));
        }
    }
    void overlong() override { worker_.logLineTooLong(); }

    static constexpr std::size_t kHandOver = 256;

    int lastCount() const { return lastCount_; }
    std::vector<DataLine> batch;

private:
    WeightWorker& worker_;
    int lastCount_;
};

WeightWorker::WeightWorker(const config::Config& config, WeightWorkerView* view)
    : WeightWorker(config, view, false, nullptr) {}

WeightWorker::WeightWorker(const config::Config& config, WeightWorkerView* view, bool textWorker,
                           std::unique_ptr<ByteSource> source)
    : config_(config::Config::copyConfig(config)), view_(view), textWorker_(textWorker),
      lines_(makeLineProcessor(config, textWorker)), source_(std::move(source)),
      splitter_(config.getInputTerminator(), kMaxLineLength) {
    if (!source_) {
        openPort();
        source_ = std::make_unique<PortSource>(*sp_);
    }
}

WeightWorker::~WeightWorker() {
    shutdown();
}

std::unique_ptr<WeightWorker> WeightWorker::create(const config::Config& config,
                                                   WeightWorkerView* view,
                                                   std::unique_ptr<ByteSource> source) {
    const Instrument instrument = config.getInstrument().value_or(Instrument::getDefault());
    if (instrument.getInstrumentType() != InstrumentType::NUMBER)
        return std::make_unique<WeightWorkerBarcode>(config, view, std::move(source));
    if (instrument == Instrument::AND || instrument == Instrument::AND_EM)
        return std::make_unique<WeightWorkerAnd>(config, view, std::move(source));
    return std::unique_ptr<WeightWorker>(new WeightWorker(config, view, false, std::move(source)));
}

void WeightWorker::openPort() {
    portName_ = config_.getPort().trimmed();
    if (portName_.isEmpty())
        throw std::runtime_error(workerBundle().getString("null.port.error").toStdString());

    serialConfig_ = rs232::SerialConfig(portName_.toStdString());
    serialConfig_.setBitRate(config_.getBitRate());
    serialConfig_.setDataBits(config_.getDataBits());
    serialConfig_.setParity(config_.getParity());
    serialConfig_.setStopBits(config_.getStopBits());
    sp_ = std::make_unique<rs232::SerialPortLocal>(serialConfig_);
    rs232::SerialPortLocal::addPortName(portName_.toStdString());

    if (view_)
        view_->setConnectedInGUI(true);
    try {
        preparePort(false);
    } catch (...) {
        // The port object closes on destruction; the window must not stay in its running face.
        if (view_)
            view_->setConnectedInGUI(false);
        throw;
    }
}

void WeightWorker::preparePort(bool reopening) {
    sp_->rxFlush();
    if (view_ && !reopening) {
        view_->logEvent(workerBundle().format(
            "port.opened",
            {portName_, BitRates::getReadable(config_.getBitRate()),
             DataBits::getReadable(config_.getDataBits()), Parity::getReadable(config_.getParity()),
             StopBits::getReadable(config_.getStopBits())}));
    }
    sp_->setRTS(false);
    sp_->setDTR(true);
    const bool dsr = sp_->sigDSR();
    const bool cts = sp_->sigCTS();
    if (view_ && !reopening) {
        view_->logEvent(
            QStringLiteral("RTS: off, DTR: on. DSR: %1, CTS: %2.").arg(onOff(dsr), onOff(cts)));
    }
    if (view_ && !reopening && lines_.stableOnly() && !lines_.statuses().knowsStability())
        view_->logEvent(workerBundle().getString("stable.only.unknown"));
    if (writesCommands() && sp_->isSupported("setTimeoutTx")) {
        // A port that takes no more bytes must not hold up the reading for long.
        sp_->setTimeoutTx(kWriteTimeoutMs);
    }
}

bool WeightWorker::writesCommands() const {
    if (!sp_)
        return false; // recorded bytes have no instrument to ask
    const Instrument instrument = config_.getInstrument().value_or(Instrument::getDefault());
    return config_.getRequestMode() != RequestMode::NONE ||
           !instrument.getTareCommand().isEmpty() || !instrument.getZeroCommand().isEmpty();
}

void WeightWorker::writeCommand(const QString& text) {
    if (!sp_)
        return;
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

void WeightWorker::logLineTooLong() {
    if (view_) {
        view_->logImportantEvent(
            workerBundle().format("line.too.long", {QString::number(kMaxLineLength)}));
    }
}

std::chrono::milliseconds
WeightWorker::readWait(std::chrono::steady_clock::time_point nextRequest) const {
    using namespace std::chrono;
    const milliseconds most(kReadWaitMs);
    if (config_.getRequestMode() != RequestMode::INTERVAL || !sp_)
        return most;
    // Wakes for the next request; at least 1 ms, so that a late request cannot make it spin.
    const auto left = duration_cast<milliseconds>(nextRequest - steady_clock::now());
    return std::clamp(left + milliseconds(1), milliseconds(1), most);
}

int WeightWorker::doInBackground() {
    // Commands are only looked at where some can be due. An instrument that sends only on
    // request gets its request once the port is ready; the first interval request goes out at
    // once.
    const bool commands = writesCommands();
    if (!isCancelled() && config_.getRequestMode() == RequestMode::ON_START)
        writeCommand(config_.getRequestCommand());
    auto nextRequest = std::chrono::steady_clock::now();
    std::vector<std::uint8_t> buffer(source_->blockSize());
    Lines lines(*this, 0);
    // Cancellation is looked at before every read: a Stop is seen within one wait for bytes,
    // however fast they come.
    while (!isCancelled()) {
        if (commands)
            serviceCommands(nextRequest);
        ByteSource::Batch got;
        try {
            got = source_->read(buffer, readWait(nextRequest));
        } catch (const rs232::PortDisconnected& e) {
            if (!reconnect(e))
                break;
            source_ = std::make_unique<PortSource>(*sp_);
            continue;
        }
        if (got.end)
            break;
        if (got.count == 0)
            continue;
        if (!bytesSinceReturn_)
            firstBytesSinceReturn();
        if (got.parityError)
            logParityError();
        if (got.framingError)
            logFramingError();
        splitter_.feed(buffer.data(), got.count, got.parityError || got.framingError, lines);
        publishAll(lines.batch, kMaxWaitingLines);
    }
    return lines.lastCount();
}

void WeightWorker::process(std::span<const DataLine> batch) {
    if (!view_)
        return;
    for (const DataLine& line : batch)
        view_->update(line);
    view_->linesDelivered();
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
    }
    logUnsentData();
    source_.reset();
    try {
        if (sp_)
            sp_->close();
    } catch (const rs232::IOException& e) {
        if (view_)
            view_->logImportantEvent(QString::fromStdString(e.what()));
    }
    if (view_)
        view_->setConnectedInGUI(false);
}

void WeightWorker::logUnsentData() {
    if (view_ && splitter_.hasPending()) {
        view_->logImportantEvent(workerBundle().getString("unsent.data") + QStringLiteral(" ") +
                                 DataLine::transformControlChars(splitter_.pending()));
    }
    splitter_.clear();
}

WeightWorkerAnd::WeightWorkerAnd(const config::Config& config, WeightWorkerView* view,
                                 std::unique_ptr<ByteSource> source)
    : WeightWorker(config, view, false, std::move(source)) {
    if (!hasPort())
        return;
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

WeightWorkerBarcode::WeightWorkerBarcode(const config::Config& config, WeightWorkerView* view,
                                         std::unique_ptr<ByteSource> source)
    : WeightWorker(config, view, true, std::move(source)) {}

} // namespace serwedge::worker

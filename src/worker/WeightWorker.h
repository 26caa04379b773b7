#pragma once

#include "config/Config.h"
#include "rs232/SerialConfig.h"
#include "worker/BackgroundTask.h"
#include "worker/ByteSource.h"
#include "worker/DataLine.h"
#include "worker/LineProcessor.h"
#include "worker/LineSplitter.h"

#include <QString>

#include <atomic>
#include <chrono>
#include <memory>
#include <stdexcept>
#include <vector>

namespace rs232 {
class PortDisconnected;
class SerialPortLocal;
} // namespace rs232

namespace serwedge::worker {

class WeightWorkerView;

// A setting the worker cannot use (a pattern that does not compile, an operand that is not a
// number). Raised by construction before the port is opened.
class InvalidSettingError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// Owns the serial port for one connection: waits for bytes and takes every byte that is ready
// at once, cuts them into lines at the input terminator, extracts and transforms each line's
// value and publishes the lines as DataLines, a batch at a time. Instead of the port it may
// read recorded bytes (a replay), through the same steps.
class WeightWorker : public BackgroundTask<int, DataLine> {
public:
    // Longest line kept while waiting for the terminator; a longer line is discarded up to and
    // including its terminator.
    static constexpr qsizetype kMaxLineLength = 64 * 1024;
    // Longest wait for the port to take a command's bytes.
    static constexpr int kWriteTimeoutMs = 500;
    // Longest wait in the driver for bytes: how long a Stop waits for the reading to see it.
    static constexpr int kReadWaitMs = 100;
    // Most lines that wait for the window; beyond them the reading waits until it takes some.
    static constexpr std::size_t kMaxWaitingLines = 4000;
    // How often a port that went away is looked for while the run waits for it.
    static constexpr std::chrono::milliseconds kReconnectPoll{500};
    // A port that hangs up again this soon after its return, before sending a byte, is still
    // away (a device server that takes the connection and drops it at once).
    static constexpr std::chrono::seconds kStillAway{2};

    // Opens the port and switches the view to its running face. Throws InvalidSettingError for
    // an unusable setting, rs232::IOException when the port cannot be opened, and
    // std::runtime_error with the text of "null.port.error" when no port is set.
    WeightWorker(const config::Config& config, WeightWorkerView* view);
    ~WeightWorker() override;

    // The variant for the configuration's instrument: the barcode worker for text presets, the
    // A&D worker (which tests the device) for AND and AND_EM, the plain worker otherwise. With
    // a source, the worker reads it instead of opening the configuration's port, and ends at
    // its end.
    static std::unique_ptr<WeightWorker> create(const config::Config& config,
                                                WeightWorkerView* view,
                                                std::unique_ptr<ByteSource> source = nullptr);

    // What a user may ask of the instrument while reading.
    enum class Command { Request = 1, Tare = 2, Zero = 4 };
    // Asks the reading thread to write the command at its next turn (the request command of the
    // settings, or the preset's tare or zero command). Callable from any thread; a command that
    // is not defined is not written.
    void sendCommand(Command command);

    const config::Config& getConfig() const { return config_; }
    // Number of the last terminated line, published or failed; readable from any thread.
    int lastLineNumber() const { return lastLine_.load(); }

protected:
    WeightWorker(const config::Config& config, WeightWorkerView* view, bool textWorker,
                 std::unique_ptr<ByteSource> source);

    int doInBackground() override;
    void process(std::span<const DataLine> batch) override;
    void done() override;

    rs232::SerialPortLocal& port() { return *sp_; }
    bool hasPort() const { return sp_ != nullptr; }
    WeightWorkerView* view() const { return view_; }

private:
    class Lines;

    void openPort();
    // Empties the receive buffer and sets the modem lines; the first time also logs the port.
    void preparePort(bool reopening);
    // The port went away. With reconnect on: logs it once, waits for the same name to return
    // and opens it again with the same settings; false when the run was stopped meanwhile.
    // Off: throws the error that ends the run.
    bool reconnect(const rs232::PortDisconnected& cause);
    void reopenPort();
    void closePortQuietly();
    void logUnsentData();
    // Tells the log and the view that the port is back.
    void tellReturn();
    // The first bytes since the port returned: a return not told yet is told now.
    void firstBytesSinceReturn();
    void logParityError();
    void logFramingError();
    void logLineError(const QString& description);
    void logLineTooLong();
    // Writes a command given in the log's writing of control characters. A failure is logged
    // as one important event until a command goes out again; the reading goes on.
    void writeCommand(const QString& text);
    // True when the settings or the preset give commands to write.
    bool writesCommands() const;
    // On the reading thread: the request that is due and the commands asked for.
    void serviceCommands(std::chrono::steady_clock::time_point& nextRequest);
    // How long the next read may wait for bytes.
    std::chrono::milliseconds readWait(std::chrono::steady_clock::time_point nextRequest) const;

    config::Config config_;
    WeightWorkerView* view_;
    const bool textWorker_;
    LineProcessor lines_;
    QString portName_; // without blanks at either end
    rs232::SerialConfig serialConfig_;
    std::unique_ptr<rs232::SerialPortLocal> sp_;
    std::unique_ptr<ByteSource> source_;
    LineSplitter splitter_;
    std::atomic<int> lastLine_{0};
    std::atomic<int> pendingCommands_{0};
    bool writeFailing_ = false;
    // Since the port last returned: whether bytes came, when it was, and whether the return
    // waits for its first bytes to be told (it followed a port that was still away).
    bool bytesSinceReturn_ = true;
    bool returnUntold_ = false;
    std::chrono::steady_clock::time_point returnedAt_;
};

// For the A&D presets with hardware handshake: after opening, tests the device's DSR and CTS
// lines and warns when they do not answer as a ready device does.
class WeightWorkerAnd : public WeightWorker {
public:
    // Without a port (a replay) there is no device to test.
    WeightWorkerAnd(const config::Config& config, WeightWorkerView* view,
                    std::unique_ptr<ByteSource> source = nullptr);
    void testDevice();
};

// For text (barcode) presets: group 1, values kept with their blanks and not formatted.
class WeightWorkerBarcode : public WeightWorker {
public:
    WeightWorkerBarcode(const config::Config& config, WeightWorkerView* view,
                        std::unique_ptr<ByteSource> source = nullptr);
};

} // namespace serwedge::worker

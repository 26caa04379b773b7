#pragma once

#include "worker/WeightWorkerView.h"

#include <QString>

#include <cstdio>
#include <functional>
#include <mutex>
#include <string>

namespace tallyra::cli {

// The command-line tool's window: the lines a reading run delivers become JSON objects on
// standard output, written once per delivered batch; log texts, warnings and diagnostics go to
// standard error, important ones prefixed "! ".
class CliView : public serwedge::worker::WeightWorkerView {
public:
    explicit CliView(std::FILE* out = stdout, std::FILE* err = stderr);

    void logEvent(const QString& text) override;
    void logImportantEvent(const QString& text) override;
    void setConnectedInGUI(bool connected) override;
    void update(const serwedge::worker::DataLine& line) override;
    void linesDelivered() override;
    void showWarning(const QString& title, const QString& message) override;

    // Called after each batch has been written.
    void setAfterBatch(std::function<void()> afterBatch) { afterBatch_ = std::move(afterBatch); }
    // Called when the reading has ended and the port is closed.
    void setAfterEnd(std::function<void()> afterEnd) { afterEnd_ = std::move(afterEnd); }
    // Lines are counted but not printed (a service that only publishes or keeps a journal).
    void setQuiet(bool quiet) { quiet_ = quiet; }
    bool connected() const { return connected_; }
    int linesPrinted() const { return printed_; }

    // One line of JSON: count, raw (rendered), value (null when withheld for its status), error
    // and status (the kind's name, null when the line has none), as Qt's compact JSON writes
    // such an object (keys in alphabetical order).
    static QByteArray toJson(const serwedge::worker::DataLine& line);
    static void appendJson(std::string& out, const serwedge::worker::DataLine& line);

private:
    void printErr(const QString& text);

    std::FILE* out_;
    std::FILE* err_;
    std::mutex errMutex_;
    std::string pending_; // the JSON of the batch being delivered
    bool connected_ = false;
    bool quiet_ = false;
    int printed_ = 0;
    std::function<void()> afterBatch_;
    std::function<void()> afterEnd_;
};

} // namespace tallyra::cli

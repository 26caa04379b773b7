#pragma once

#include "worker/AutoPortWorkerView.h"
#include "worker/BackgroundTask.h"

#include <QString>
#include <QStringList>

#include <chrono>
#include <memory>
#include <optional>

namespace rs232 {
class SerialPortLocal;
}

namespace serwedge::worker {

// Finds the port an instrument hangs on from its modem lines alone: opens each port in turn,
// drives DTR and RTS off and on and watches DSR and CTS. Each port scores 0 to 3; the first port
// with the highest score above 0 wins. No data is exchanged with any device.
class AutoPortWorker : public BackgroundTask<std::optional<QString>, QString> {
public:
    // Settling wait after the output lines change.
    static constexpr std::chrono::milliseconds PAUSE{150};

    AutoPortWorker(AutoPortWorkerView* view, QStringList ports);
    ~AutoPortWorker() override;

protected:
    std::optional<QString> doInBackground() override;
    void process(std::span<const QString> batch) override;
    void done() override;

private:
    // Scores the open port sp_; false when interrupted, leaving sp_ to the completion.
    bool scorePort(const QString& portName);
    bool pause();

    AutoPortWorkerView* view_;
    std::optional<QString> bestPortName_;
    int bestPortConfidence_ = 0;
    int currentPortConfidence_ = 0;
    // The port under test. Only the search thread uses it until the completion step, which
    // closes what is left after an interruption.
    std::unique_ptr<rs232::SerialPortLocal> sp_;
    QStringList ports_;
};

} // namespace serwedge::worker

// A reading whose port goes away (an unplugged adapter, a closed network connection) waits for
// the same name to return and goes on with the same settings.

#include "worker/WeightWorker.h"

#include "config/ConfigHelper.h"
#include "rs232/IOException.h"
#include "rs232/SerialPortLocal.h"
#include "worker/WeightWorkerView.h"
#include "worker/WorkerBundle.h"

#include <QLoggingCategory>

Q_LOGGING_CATEGORY(lcReconnect, "tallyra.reconnect")

namespace serwedge::worker {

void WeightWorker::closePortQuietly() {
    try {
        sp_->close();
    } catch (const rs232::IOException& e) {
        qCDebug(lcReconnect) << "closing the lost port:" << e.what();
    }
}

void WeightWorker::reopenPort() {
    sp_ = std::make_unique<rs232::SerialPortLocal>(serialConfig_);
    preparePort(true);
    // An instrument that sends only when asked is asked again, as at the start.
    if (config_.getRequestMode() == config::ConfigHelper::RequestMode::ON_START)
        writeCommand(config_.getRequestCommand());
}

bool WeightWorker::reconnect(const rs232::PortDisconnected& cause) {
    if (!config_.reconnect) {
        // The user reads what happened; the driver's words stay as the detail.
        throw std::runtime_error((workerBundle().getString("instrument.disconnected") +
                                  QStringLiteral(" (") + QString::fromUtf8(cause.what()) +
                                  QStringLiteral(")"))
                                     .toStdString());
    }
    // Gone again at once after a return, without a byte: the same absence goes on. It is told
    // once, and the next return only with its first bytes, so that a port that keeps dropping
    // the line does not fill the log with one message per try.
    const auto now = std::chrono::steady_clock::now();
    const bool stillAway = !bytesSinceReturn_ && now - returnedAt_ < kStillAway;
    // What came before the hang-up cannot be finished by the instrument that returns.
    logUnsentData();
    if (view_ && !returnUntold_) {
        const QString waiting =
            workerBundle().format("instrument.disconnected.waiting", {portName_});
        view_->logImportantEvent(waiting);
        view_->showPortWaiting(waiting);
    }
    source_.reset(); // it reads the port that is closed now; the reading makes a new one
    closePortQuietly();
    QString lastProblem;
    if (stillAway && !interruptibleSleep(kReconnectPoll))
        return false;
    while (!isCancelled()) {
        try {
            reopenPort();
            returnedAt_ = std::chrono::steady_clock::now();
            bytesSinceReturn_ = false;
            returnUntold_ = stillAway;
            if (!returnUntold_)
                tellReturn();
            return true;
        } catch (const rs232::PortNotFound&) {
            // Not back yet: said once already, by the message above.
        } catch (const std::exception& e) {
            // There, but not usable (held by another program, settings refused): said once
            // for each reason.
            closePortQuietly();
            const QString problem = QString::fromUtf8(e.what());
            if (view_ && problem != lastProblem)
                view_->logEvent(problem);
            lastProblem = problem;
        }
        if (!interruptibleSleep(kReconnectPoll))
            break;
    }
    return false;
}

void WeightWorker::tellReturn() {
    if (!view_)
        return;
    view_->showPortWaiting({});
    view_->logImportantEvent(workerBundle().getString("instrument.reconnected"));
    // Another adapter may answer to the name now: its own record is read and shown.
    if (const auto info = rs232::SerialPortLocal::rereadPortInfo(portName_.toStdString()))
        view_->logEvent(QString::fromStdString(info->getPortName() + ": " + info->getDriverDesc() +
                                               " - " + info->getDriverMfgr()));
}

void WeightWorker::firstBytesSinceReturn() {
    bytesSinceReturn_ = true;
    if (returnUntold_) {
        returnUntold_ = false;
        tellReturn();
    }
}

} // namespace serwedge::worker

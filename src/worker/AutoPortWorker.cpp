#include "worker/AutoPortWorker.h"

#include "rs232/IOException.h"
#include "rs232/SerialPortLocal.h"
#include "worker/WorkerBundle.h"

#include <QLoggingCategory>

namespace serwedge::worker {

Q_LOGGING_CATEGORY(lcAutoPort, "tallyra.autoport")

namespace {

void closeQuietly(std::unique_ptr<rs232::SerialPortLocal>& port) {
    if (!port)
        return;
    try {
        port->close();
    } catch (const rs232::IOException& e) {
        qCWarning(lcAutoPort) << "closing" << e.what();
    }
    port.reset();
}

} // namespace

AutoPortWorker::AutoPortWorker(AutoPortWorkerView* view, QStringList ports)
    : view_(view), ports_(std::move(ports)) {}

AutoPortWorker::~AutoPortWorker() {
    shutdown();
    closeQuietly(sp_);
}

bool AutoPortWorker::pause() {
    return interruptibleSleep(PAUSE);
}

std::optional<QString> AutoPortWorker::doInBackground() {
    publish(workerBundle().getString("auto.port.detection.started"));
    for (const QString& p : ports_) {
        if (isCancelled() || isInterrupted())
            break;
        currentPortConfidence_ = 0;
        publish(workerBundle().format("testing.port.0", {p}));
        const std::string name = p.toStdString();
        rs232::SerialPortLocal::addPortName(name);

        rs232::SerialConfig config(name);
        config.setBitRate(rs232::SerialConfig::BR_9600);
        config.setDataBits(rs232::SerialConfig::LN_8BITS);
        config.setParity(rs232::SerialConfig::PY_NONE);
        config.setStopBits(rs232::SerialConfig::ST_1BITS);
        config.setHandshake(rs232::SerialConfig::HS_NONE);
        try {
            sp_ = std::make_unique<rs232::SerialPortLocal>(config);
        } catch (const rs232::IOException& e) {
            // Held by another program, gone, not permitted: report and go on.
            publish(QString::fromStdString(e.what()));
            continue;
        }
        try {
            if (!scorePort(p))
                break;
        } catch (const rs232::IOException& e) {
            publish(QString::fromStdString(e.what()));
            closeQuietly(sp_);
            continue;
        }
        if (currentPortConfidence_ > bestPortConfidence_) {
            bestPortName_ = p;
            bestPortConfidence_ = currentPortConfidence_;
        }
        publish(workerBundle().getString("confidence") + u' ' +
                QString::number(currentPortConfidence_));
    }
    return bestPortName_;
}

bool AutoPortWorker::scorePort(const QString& portName) {
    rs232::SerialPortLocal& sp = *sp_;
    sp.setDTR(false);
    sp.setRTS(false);
    if (!pause())
        return false;
    if (sp.sigDSR()) {
        sp.setDTR(true);
        sp.setRTS(true);
        if (!pause())
            return false;
        // A device that holds both lines high everywhere else is not trusted on COM3.
        currentPortConfidence_ =
            sp.sigDSR() && sp.sigCTS() && portName != QLatin1String("COM3") ? 3 : 1;
        sp.setDTR(false);
        sp.setRTS(false);
    } else {
        sp.setDTR(true);
        if (!pause())
            return false;
        if (sp.sigDSR()) {
            sp.setRTS(true);
            if (!pause())
                return false;
            currentPortConfidence_ = sp.sigDSR() && sp.sigCTS() ? 2 : 1;
            sp.setDTR(false);
            sp.setRTS(false);
        } else {
            sp.setRTS(true);
            if (!pause())
                return false;
            currentPortConfidence_ = sp.sigCTS() ? 1 : 0;
        }
    }
    sp.setDTR(false);
    sp.setRTS(false);
    sp.close();
    sp_.reset();
    return true;
}

void AutoPortWorker::process(std::span<const QString> batch) {
    for (const QString& text : batch)
        view_->update(text);
}

void AutoPortWorker::done() {
    view_->setButtonToClose();
    switch (outcome()) {
    case Outcome::Finished:
        if (const auto best = result().value_or(std::nullopt)) {
            view_->setPort(*best);
            view_->update(workerBundle().getString("best.port") + u' ' + *best,
                          AutoPortWorkerView::Style::Emphasised);
        } else {
            view_->update(workerBundle().getString("could.not.auto.detect.port"),
                          AutoPortWorkerView::Style::Emphasised);
        }
        break;
    case Outcome::Cancelled:
        view_->update(workerBundle().getString("stopped"));
        break;
    case Outcome::Failed:
        view_->update(workerBundle().getString("execution.exception") + errorMessage());
        break;
    case Outcome::Interrupted:
        view_->update(workerBundle().getString("interrupted"));
        break;
    case Outcome::None:
        break;
    }
    closeQuietly(sp_);
}

} // namespace serwedge::worker

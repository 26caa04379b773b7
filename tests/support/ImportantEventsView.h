#pragma once

// A view for the keystroke engine's tests: keeps the important events it reports (from any
// thread) and ignores everything else.

#include "worker/DataLine.h"
#include "worker/WeightWorkerView.h"

#include <QStringList>

#include <mutex>

namespace test_support {

class ImportantEventsView : public serwedge::worker::WeightWorkerView {
public:
    void logEvent(const QString&) override {}
    void logImportantEvent(const QString& text) override {
        std::lock_guard lock(mutex_);
        important_ << text;
    }
    void setConnectedInGUI(bool) override {}
    void update(const serwedge::worker::DataLine&) override {}
    void showWarning(const QString&, const QString&) override {}
    QStringList important() const {
        std::lock_guard lock(mutex_);
        return important_;
    }

private:
    mutable std::mutex mutex_;
    QStringList important_;
};

} // namespace test_support

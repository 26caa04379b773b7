#pragma once

#include "serwedge/util/ReadRemoteUpdate.h"
#include "serwedge/util/UpdateWorkerView.h"
#include "worker/BackgroundTask.h"

namespace serwedge::util {

// What one update check found.
struct UpdateCheckResult {
    ReadRemoteUpdate update;
    bool newer = false;
};

// The background update check: fetches the version document and shows the outcome in the
// view's status text. Status texts are delivered to the view on the thread that executed it.
class UpdateWorker : public worker::BackgroundTask<UpdateCheckResult, QString> {
public:
    UpdateWorker(UpdateWorkerView* view, QString urlString, QString currentVersion,
                 QString language, FetchOptions options = {});
    ~UpdateWorker() override;

    const QString& urlString() const { return urlString_; }
    // Where the "update.available" link leads: the folder of the version document.
    QString downloadAddress() const;

protected:
    UpdateCheckResult doInBackground() override;
    void process(std::span<const QString> batch) override;
    void done() override;

private:
    UpdateWorkerView* view_;
    QString urlString_;
    QString currentVersion_;
    QString language_;
    FetchOptions options_;
};

} // namespace serwedge::util

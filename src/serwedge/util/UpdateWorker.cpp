#include "serwedge/util/UpdateWorker.h"

#include "serwedge/util/TallyraBundle.h"

#include <QUrl>

namespace serwedge::util {

UpdateWorker::UpdateWorker(UpdateWorkerView* view, QString urlString, QString currentVersion,
                           QString language, FetchOptions options)
    : view_(view), urlString_(std::move(urlString)), currentVersion_(std::move(currentVersion)),
      language_(std::move(language)), options_(std::move(options)) {
    // Closing the window cancels the check; the fetch then ends within one poll.
    auto outer = options_.shouldStop;
    options_.shouldStop = [this, outer] { return isInterrupted() || (outer && outer()); };
}

UpdateWorker::~UpdateWorker() {
    shutdown();
}

QString UpdateWorker::downloadAddress() const {
    return QUrl(urlString_).resolved(QUrl(QStringLiteral("."))).toString();
}

UpdateCheckResult UpdateWorker::doInBackground() {
    publish(tallyraBundle().getString("checking.for.update"));
    UpdateCheckResult result{ReadRemoteUpdate(urlString_, currentVersion_, language_, options_)};
    // Compared here, so that a version that is not a number fails the check like any other
    // unusable answer.
    result.newer = result.update.newerVersionAvailable();
    return result;
}

void UpdateWorker::process(std::span<const QString> batch) {
    for (const QString& text : batch)
        view_->showStatus(text);
}

void UpdateWorker::done() {
    switch (outcome()) {
    case Outcome::Failed:
        // Plain text: the message may quote the server's answer.
        view_->showStatus(tallyraBundle().getString("update.check.failed") + errorMessage());
        break;
    case Outcome::Finished:
        // The one text that is HTML; the address goes into it escaped.
        if (result()->newer)
            view_->showStatus(
                tallyraBundle().format("update.available", {downloadAddress().toHtmlEscaped()}));
        else
            view_->showStatus(tallyraBundle().getString("WeightToKeyFrame2.statusJLabel.text"));
        break;
    default:
        // Cancelled or interrupted: the window is going away; nothing to show.
        break;
    }
}

} // namespace serwedge::util

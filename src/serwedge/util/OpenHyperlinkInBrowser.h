#pragma once

#include "worker/BackgroundTask.h"

#include <QPointer>
#include <QString>
#include <QUrl>
#include <QWidget>

#include <functional>

namespace serwedge::util {

// Opens web addresses in the user's standard browser.
class OpenHyperlinkInBrowser {
public:
    // Opens an http or https address on a background task (LinkRunner). Anything else, or a
    // browser that cannot be started, shows the problem dialog owned by owner. Call on the
    // user-interface thread.
    static void open(QWidget* owner, const QString& address);

    // Seams for tests. The browser is called on the background task's thread and returns
    // whether the address was handed over; the default is QDesktopServices::openUrl. The
    // problem dialog is called on the user-interface thread; the default is a modal warning.
    // An empty function restores the default.
    using Browser = std::function<bool(const QUrl&)>;
    using ProblemDialog =
        std::function<void(QWidget* owner, const QString& title, const QString& message)>;
    static void setBrowser(Browser browser);
    static void setProblemDialog(ProblemDialog dialog);

    // Whether the address is one this opener hands to the browser: http or https with a host.
    static bool isWebAddress(const QUrl& url);
};

// The background task that opens one address. It deletes itself after its completion.
class LinkRunner : public worker::BackgroundTask<bool, int> {
public:
    LinkRunner(QWidget* owner, QString address);
    ~LinkRunner() override;

protected:
    bool doInBackground() override;
    void done() override;

private:
    QPointer<QWidget> owner_;
    QString address_;
};

} // namespace serwedge::util

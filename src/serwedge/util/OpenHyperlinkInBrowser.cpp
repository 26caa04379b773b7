#include "serwedge/util/OpenHyperlinkInBrowser.h"

#include "serwedge/util/TallyraBundle.h"

#include <QCoreApplication>
#include <QDesktopServices>
#include <QLoggingCategory>
#include <QMessageBox>

#include <mutex>

namespace serwedge::util {

Q_LOGGING_CATEGORY(lcLinks, "tallyra.links")

namespace {

std::mutex& hookMutex() {
    static std::mutex m;
    return m;
}

OpenHyperlinkInBrowser::Browser& browserHook() {
    static OpenHyperlinkInBrowser::Browser hook;
    return hook;
}

OpenHyperlinkInBrowser::ProblemDialog& problemHook() {
    static OpenHyperlinkInBrowser::ProblemDialog hook;
    return hook;
}

bool openInBrowser(const QUrl& url) {
    OpenHyperlinkInBrowser::Browser browser;
    {
        std::lock_guard lock(hookMutex());
        browser = browserHook();
    }
    return browser ? browser(url) : QDesktopServices::openUrl(url);
}

void showProblem(QWidget* owner) {
    OpenHyperlinkInBrowser::ProblemDialog dialog;
    {
        std::lock_guard lock(hookMutex());
        dialog = problemHook();
    }
    const QString title = tallyraBundle().getString("link.open.problem.title");
    const QString message = tallyraBundle().getString("link.open.problem");
    if (dialog)
        dialog(owner, title, message);
    else
        QMessageBox::warning(owner, title, message);
}

} // namespace

void OpenHyperlinkInBrowser::open(QWidget* owner, const QString& address) {
    auto* runner = new LinkRunner(owner, address);
    runner->execute();
}

void OpenHyperlinkInBrowser::setBrowser(Browser browser) {
    std::lock_guard lock(hookMutex());
    browserHook() = std::move(browser);
}

void OpenHyperlinkInBrowser::setProblemDialog(ProblemDialog dialog) {
    std::lock_guard lock(hookMutex());
    problemHook() = std::move(dialog);
}

bool OpenHyperlinkInBrowser::isWebAddress(const QUrl& url) {
    const QString scheme = url.scheme().toLower();
    return url.isValid() && !url.host().isEmpty() &&
           (scheme == QLatin1String("http") || scheme == QLatin1String("https"));
}

LinkRunner::LinkRunner(QWidget* owner, QString address)
    : owner_(owner), address_(std::move(address)) {}

LinkRunner::~LinkRunner() {
    shutdown();
}

bool LinkRunner::doInBackground() {
    const QUrl url(address_, QUrl::StrictMode);
    if (!OpenHyperlinkInBrowser::isWebAddress(url)) {
        qCWarning(lcLinks) << "refused to open" << address_;
        return false;
    }
    return openInBrowser(url);
}

void LinkRunner::done() {
    if (outcome() != Outcome::Finished || !result().value_or(false))
        showProblem(owner_.data());
    // Not while done runs: the task's own delivery is still on the stack.
    QMetaObject::invokeMethod(
        QCoreApplication::instance(), [this] { delete this; }, Qt::QueuedConnection);
}

} // namespace serwedge::util

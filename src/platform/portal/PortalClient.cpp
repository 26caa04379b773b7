#include "platform/portal/PortalClient.h"

#include <QDBusObjectPath>
#include <QDBusPendingCallWatcher>
#include <QDBusPendingReply>

namespace platform::portal {

void SessionState::set(PortalState state, const std::string& detail, const QString& sessionHandle) {
    {
        std::lock_guard lock(mutex_);
        if (state_ == PortalState::Refused || state_ == PortalState::Ended)
            return;
        state_ = state;
        answered_ = state != PortalState::Asking;
        detail_ = detail;
        if (!sessionHandle.isEmpty())
            sessionHandle_ = sessionHandle;
    }
    changed_.notify_all();
    if (options_.stateChanged)
        options_.stateChanged(state, detail);
}

PortalState SessionState::wait(const std::stop_token& stop) {
    std::unique_lock lock(mutex_);
    changed_.wait(lock, stop, [this] { return answered_; });
    return state_;
}

PortalState SessionState::state() const {
    std::lock_guard lock(mutex_);
    return state_;
}

std::string SessionState::detail() const {
    std::lock_guard lock(mutex_);
    return detail_;
}

QString SessionState::sessionHandle() const {
    std::lock_guard lock(mutex_);
    return sessionHandle_;
}

void SessionState::tokenReceived(const std::string& token) {
    if (options_.tokenReceived)
        options_.tokenReceived(token);
}

namespace {

QString pathText(const QVariant& value) {
    if (value.metaType() == QMetaType::fromType<QDBusObjectPath>())
        return value.value<QDBusObjectPath>().path();
    return value.toString();
}

} // namespace

PortalClient::PortalClient(QDBusConnection connection, SessionState& state, bool persist,
                           QString restoreToken, int timeoutMs)
    : connection_(std::move(connection)), state_(state), persist_(persist),
      restoreToken_(std::move(restoreToken)), timeoutMs_(timeoutMs) {}

void PortalClient::begin() {
    request(Step::CreateSession, QStringLiteral("CreateSession"), {},
            {{QStringLiteral("session_handle_token"), QStringLiteral("tallyra")}});
}

void PortalClient::request(Step step, const QString& method, QVariantList arguments,
                           QVariantMap options) {
    // The request object's path is known before the call, so that its answer cannot come
    // before the subscription to it.
    const QString token = QStringLiteral("tallyra%1").arg(++requests_);
    options.insert(QStringLiteral("handle_token"), token);
    arguments.append(options);
    QString sender = connection_.baseService().mid(1);
    sender.replace(QLatin1Char('.'), QLatin1Char('_'));
    const QString predicted =
        QStringLiteral("%1/request/%2/%3").arg(QLatin1String(kObjectPath), sender, token);
    watch(predicted);
    step_ = step;

    QDBusMessage call = QDBusMessage::createMethodCall(
        QLatin1String(kService), QLatin1String(kObjectPath), QLatin1String(kRemoteDesktop), method);
    call.setArguments(arguments);
    auto* watcher = new QDBusPendingCallWatcher(connection_.asyncCall(call, timeoutMs_), this);
    connect(watcher, &QDBusPendingCallWatcher::finished, this,
            [this, watcher, method, step, predicted] {
                watcher->deleteLater();
                // The answer (the Response signal) may have come first: then the reply is old.
                if (step_ != step)
                    return;
                QDBusPendingReply<QDBusObjectPath> reply = *watcher;
                if (reply.isError()) {
                    fail(PortalState::Refused,
                         (method + QStringLiteral(": ") + reply.error().message()).toStdString());
                    return;
                }
                // Portals older than the handle_token option answer on a path of their own.
                if (reply.value().path() != predicted) {
                    unwatch();
                    watch(reply.value().path());
                }
            });
}

void PortalClient::watch(const QString& requestPath) {
    requestPath_ = requestPath;
    connection_.connect(QLatin1String(kService), requestPath_, QLatin1String(kRequest),
                        QStringLiteral("Response"), this, SLOT(onResponse(uint, QVariantMap)));
}

void PortalClient::unwatch() {
    if (requestPath_.isEmpty())
        return;
    connection_.disconnect(QLatin1String(kService), requestPath_, QLatin1String(kRequest),
                           QStringLiteral("Response"), this, SLOT(onResponse(uint, QVariantMap)));
    requestPath_.clear();
}

void PortalClient::finish() {
    // No signal may reach this object once it is gone.
    unwatch();
    if (!session_.isEmpty())
        connection_.disconnect(QLatin1String(kService), session_, QLatin1String(kSession),
                               QStringLiteral("Closed"), this, SLOT(onSessionClosed(QVariantMap)));
    step_ = Step::Done;
}

void PortalClient::fail(PortalState state, const std::string& detail) {
    step_ = Step::Done;
    state_.set(state, detail);
}

void PortalClient::onResponse(uint response, const QVariantMap& results) {
    unwatch();
    if (response != 0) {
        fail(PortalState::Refused, response == 1 ? "the user did not allow remote input"
                                                 : "the desktop ended the request");
        return;
    }
    switch (step_) {
    case Step::CreateSession: {
        session_ = pathText(results.value(QStringLiteral("session_handle")));
        if (session_.isEmpty()) {
            fail(PortalState::Refused, "the portal created no session");
            return;
        }
        connection_.connect(QLatin1String(kService), session_, QLatin1String(kSession),
                            QStringLiteral("Closed"), this, SLOT(onSessionClosed(QVariantMap)));
        QVariantMap options{{QStringLiteral("types"), QVariant::fromValue(kKeyboard)}};
        if (persist_) {
            options.insert(QStringLiteral("persist_mode"),
                           QVariant::fromValue(kPersistUntilRevoked));
            if (!restoreToken_.isEmpty())
                options.insert(QStringLiteral("restore_token"), restoreToken_);
        }
        request(Step::SelectDevices, QStringLiteral("SelectDevices"),
                {QVariant::fromValue(QDBusObjectPath(session_))}, options);
        break;
    }
    case Step::SelectDevices:
        state_.set(PortalState::Asking, {}, session_);
        request(Step::Start, QStringLiteral("Start"),
                {QVariant::fromValue(QDBusObjectPath(session_)), QString()}, {});
        break;
    case Step::Start: {
        step_ = Step::Done;
        const QString token = results.value(QStringLiteral("restore_token")).toString();
        if (!token.isEmpty())
            state_.tokenReceived(token.toStdString());
        if (!(results.value(QStringLiteral("devices")).toUInt() & kKeyboard)) {
            fail(PortalState::Refused, "the user did not allow the keyboard");
            return;
        }
        state_.set(PortalState::Started, {}, session_);
        break;
    }
    case Step::Done:
        break;
    }
}

void PortalClient::onSessionClosed(const QVariantMap&) {
    state_.set(PortalState::Ended, "the desktop ended the remote input session");
}

} // namespace platform::portal

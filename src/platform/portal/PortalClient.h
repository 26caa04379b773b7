#pragma once

#include "platform/portal/PortalKeyInjector.h"

#include <QDBusConnection>
#include <QObject>
#include <QString>
#include <QVariantMap>

#include <condition_variable>
#include <mutex>

namespace platform::portal {

inline constexpr const char* kService = "org.freedesktop.portal.Desktop";
inline constexpr const char* kObjectPath = "/org/freedesktop/portal/desktop";
inline constexpr const char* kRemoteDesktop = "org.freedesktop.portal.RemoteDesktop";
inline constexpr const char* kRequest = "org.freedesktop.portal.Request";
inline constexpr const char* kSession = "org.freedesktop.portal.Session";
// Device types of SelectDevices.
inline constexpr unsigned kKeyboard = 1;
// Persist mode: the session may be restored until it is revoked.
inline constexpr unsigned kPersistUntilRevoked = 2;

// The state of one portal session, shared by the portal's thread and the typing thread.
class SessionState {
public:
    explicit SessionState(const PortalOptions& options) : options_(options) {}

    // Records a change and tells the owner; Refused and Ended are final.
    void set(PortalState state, const std::string& detail, const QString& sessionHandle = {});
    // Waits while the answer is outstanding or until stop is requested; the state then.
    PortalState wait(const std::stop_token& stop);
    PortalState state() const;
    std::string detail() const;
    QString sessionHandle() const;
    void tokenReceived(const std::string& token);

private:
    const PortalOptions& options_;
    mutable std::mutex mutex_;
    std::condition_variable_any changed_;
    PortalState state_ = PortalState::Asking;
    bool answered_ = false;
    std::string detail_;
    QString sessionHandle_;
};

// Runs the portal's request sequence on its own thread: CreateSession, SelectDevices (keyboard,
// persisted), Start. Each call returns a request object whose Response signal carries the answer.
class PortalClient : public QObject {
    Q_OBJECT
public:
    PortalClient(QDBusConnection connection, SessionState& state, bool persist,
                 QString restoreToken, int timeoutMs);

    Q_INVOKABLE void begin();
    // Stops listening to the portal, on the client's thread before it is deleted.
    Q_INVOKABLE void finish();

public Q_SLOTS:
    void onResponse(uint response, const QVariantMap& results);
    void onSessionClosed(const QVariantMap& details);

private:
    enum class Step { CreateSession, SelectDevices, Start, Done };

    void request(Step step, const QString& method, QVariantList arguments, QVariantMap options);
    void watch(const QString& requestPath);
    void unwatch();
    void fail(PortalState state, const std::string& detail);

    QDBusConnection connection_;
    SessionState& state_;
    bool persist_;
    QString restoreToken_;
    int timeoutMs_;
    Step step_ = Step::CreateSession;
    int requests_ = 0;
    QString requestPath_;
    QString session_;
};

} // namespace platform::portal

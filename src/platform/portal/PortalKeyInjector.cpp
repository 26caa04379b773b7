#include "platform/portal/PortalKeyInjector.h"

#include "platform/portal/PortalClient.h"

#include <xkbcommon/xkbcommon-keysyms.h>

#include <QCoreApplication>
#include <QDBusMessage>
#include <QDBusObjectPath>
#include <QDBusVariant>
#include <QThread>

#include <algorithm>
#include <atomic>
#include <utility>

namespace platform {

using portal::kObjectPath;
using portal::kRemoteDesktop;
using portal::kService;

namespace {

// A blocking call of the portal; throws with the bus's message when it fails.
QDBusMessage callPortal(QDBusConnection& connection, const char* interface, const char* path,
                        const QString& method, const QVariantList& arguments, int timeoutMs) {
    QDBusMessage call = QDBusMessage::createMethodCall(QLatin1String(kService), QLatin1String(path),
                                                       QLatin1String(interface), method);
    call.setArguments(arguments);
    QDBusMessage reply = connection.call(call, QDBus::Block, timeoutMs);
    if (reply.type() == QDBusMessage::ErrorMessage)
        throw KeyInjectorError(reply.errorMessage().toStdString());
    return reply;
}

unsigned portalProperty(QDBusConnection& connection, const char* name, int timeoutMs) {
    const QDBusMessage reply = callPortal(
        connection, "org.freedesktop.DBus.Properties", kObjectPath, QStringLiteral("Get"),
        {QLatin1String(kRemoteDesktop), QLatin1String(name)}, timeoutMs);
    return reply.arguments().value(0).value<QDBusVariant>().variant().toUInt();
}

} // namespace

struct PortalKeyInjector::Session {
    explicit Session(PortalOptions o)
        : options(std::move(o)), connectionName(nextConnectionName()),
          connection(
              options.busAddress.empty()
                  ? QDBusConnection::connectToBus(QDBusConnection::SessionBus, connectionName)
                  : QDBusConnection::connectToBus(QString::fromStdString(options.busAddress),
                                                  connectionName)),
          state(options) {}

    ~Session() {
        // The client stops listening and goes on its own thread, before the thread ends.
        if (client && thread.isRunning()) {
            QMetaObject::invokeMethod(client, "finish", Qt::BlockingQueuedConnection);
            client->deleteLater();
        } else {
            delete client;
        }
        thread.quit();
        thread.wait();
        QDBusConnection::disconnectFromBus(connectionName);
    }

    static QString nextConnectionName() {
        static std::atomic<int> counter{0};
        return QStringLiteral("tallyra-portal-%1").arg(++counter);
    }

    int timeoutMs() const { return static_cast<int>(options.callTimeout.count()); }

    void notify(xkb::Keysym sym, bool down) {
        callPortal(connection, kRemoteDesktop, kObjectPath, QStringLiteral("NotifyKeyboardKeysym"),
                   {QVariant::fromValue(QDBusObjectPath(state.sessionHandle())),
                    QVariant::fromValue(QVariantMap()), static_cast<int>(sym), down ? 1u : 0u},
                   timeoutMs());
    }

    // Sends the keys that waited for the user's answer, in order.
    void flushQueued() {
        while (!queued.empty()) {
            const auto [sym, down] = queued.front();
            queued.erase(queued.begin());
            notify(sym, down);
        }
    }

    PortalOptions options;
    QString connectionName;
    QDBusConnection connection;
    portal::SessionState state;
    QThread thread;
    portal::PortalClient* client = nullptr;
    std::vector<std::pair<xkb::Keysym, bool>> queued; // typing thread only
    std::string sendError;                            // typing thread only
};

PortalKeyInjector::PortalKeyInjector(PortalOptions options)
    : session_(std::make_unique<Session>(std::move(options))) {
    if (!QCoreApplication::instance())
        throw KeyInjectorError("the desktop portal needs the program's event loop");
    if (!session_->options.layoutKeymap.empty()) {
        layout_ = std::make_unique<xkb::SessionLayout>(session_->options.layoutKeymap);
        if (!layout_->given())
            layout_.reset();
    }
    Session& s = *session_;
    if (!s.connection.isConnected())
        throw KeyInjectorError("no session bus: " +
                               s.connection.lastError().message().toStdString());
    unsigned types = 0, version = 0;
    try {
        types = portalProperty(s.connection, "AvailableDeviceTypes", s.timeoutMs());
        version = portalProperty(s.connection, "version", s.timeoutMs());
    } catch (const KeyInjectorError& e) {
        throw KeyInjectorError(std::string("no remote desktop portal: ") + e.what());
    }
    if (!(types & portal::kKeyboard))
        throw KeyInjectorError("the remote desktop portal offers no keyboard");

    // Restoring a session needs version 2 of the interface.
    s.client =
        new portal::PortalClient(s.connection, s.state, version >= 2,
                                 QString::fromStdString(s.options.restoreToken), s.timeoutMs());
    s.client->moveToThread(&s.thread);
    s.thread.setObjectName(QStringLiteral("desktop portal"));
    s.thread.start();
    QMetaObject::invokeMethod(s.client, "begin", Qt::QueuedConnection);
}

PortalKeyInjector::~PortalKeyInjector() {
    Session& s = *session_;
    if (s.state.state() != PortalState::Started)
        return;
    try {
        s.flushQueued();
        for (auto it = down_.rbegin(); it != down_.rend(); ++it)
            s.notify(*it, false);
        callPortal(s.connection, portal::kSession, s.state.sessionHandle().toUtf8().constData(),
                   QStringLiteral("Close"), {}, s.timeoutMs());
    } catch (const KeyInjectorError&) {
        // The desktop has ended the session already.
    }
}

PortalState PortalKeyInjector::state() const {
    return session_->state.state();
}

void PortalKeyInjector::send(xkb::Keysym sym, bool down) {
    Session& s = *session_;
    if (!s.sendError.empty())
        throw KeyInjectorError(std::exchange(s.sendError, {}));
    switch (s.state.state()) {
    case PortalState::Asking:
        s.queued.emplace_back(sym, down);
        break;
    case PortalState::Started:
        s.flushQueued();
        s.notify(sym, down);
        break;
    case PortalState::Refused:
    case PortalState::Ended:
        s.queued.clear();
        throw KeyInjectorError(s.state.detail());
    }
    if (down)
        down_.push_back(sym);
    else if (auto it = std::find(down_.rbegin(), down_.rend(), sym); it != down_.rend())
        down_.erase(std::next(it).base());
}

void PortalKeyInjector::modifier(Modifier which, bool down) {
    switch (which) {
    case Modifier::Shift:
        return send(XKB_KEY_Shift_L, down);
    case Modifier::Control:
        return send(XKB_KEY_Control_L, down);
    case Modifier::Alt:
        return send(XKB_KEY_Alt_L, down);
    case Modifier::Level3:
        return send(XKB_KEY_ISO_Level3_Shift, down);
    }
}

void PortalKeyInjector::key(int code, bool down) {
    if (!down) {
        if (auto it = sent_.find(code); it != sent_.end()) {
            send(it->second, false);
            sent_.erase(it);
        }
        return;
    }
    auto sym = xkb::keysymForCode(code);
    if (!sym)
        throw KeyInjectorError("no key for key code " + std::to_string(code));
    if (layout_) {
        if (const auto keycode = layout_->keyFor(*sym))
            sym = layout_->symbolAt(*keycode, 0);
    }
    send(*sym, true);
    sent_[code] = *sym;
}

void PortalKeyInjector::character(unsigned long value) {
    const auto sym = xkb::keysymForCharacter(value);
    if (!sym)
        throw KeyInjectorError("the character code " + std::to_string(value) +
                               " cannot be typed as a key symbol");
    send(*sym, true);
    send(*sym, false);
}

void PortalKeyInjector::pause(int ms, std::stop_token stop) {
    Session& s = *session_;
    if (s.state.wait(stop) == PortalState::Started && s.sendError.empty()) {
        try {
            s.flushQueued();
        } catch (const KeyInjectorError& e) {
            s.sendError = e.what(); // reported by the next press or release
        }
    }
    pauseWithShortHolds(ms, stop);
}

std::optional<bool> PortalKeyInjector::givesDeadKey(int code, bool shift, bool level3) const {
    const auto sym = xkb::keysymForCode(code);
    if (!sym)
        return std::nullopt;
    if (!layout_) {
        // Without the layout only a key sent with no modifier is known.
        if (shift || level3)
            return std::nullopt;
        return xkb::isDeadKeysym(*sym);
    }
    const auto keycode = layout_->keyFor(*sym);
    if (!keycode)
        return std::nullopt;
    const std::uint32_t mods =
        (shift ? xkb::SessionLayout::shiftMask() : 0u) | (level3 ? layout_->level3Mask() : 0u);
    return xkb::isDeadKeysym(layout_->symbolAt(*keycode, mods));
}

bool PortalKeyInjector::capsLockOn() {
    return false;
}

} // namespace platform

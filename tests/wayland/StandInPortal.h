#pragma once

// A stand-in for xdg-desktop-portal's RemoteDesktop on a private session bus: it accepts exactly
// the calls of the published interface descriptions (the signatures are read from
// /usr/share/dbus-1/interfaces), answers each request with a Response signal as the portal does
// (Start a little later, as after the user's click), and records what it was asked.

#include <QDBusArgument>
#include <QDBusConnection>
#include <QDBusMessage>
#include <QDBusObjectPath>
#include <QDBusVariant>
#include <QDBusVirtualObject>
#include <QFile>
#include <QTimer>
#include <QXmlStreamReader>

#include <map>
#include <mutex>
#include <vector>

namespace e2e {

class StandInPortal : public QDBusVirtualObject {
public:
    StandInPortal() {
        for (const char* name : {"RemoteDesktop", "Session", "Request"}) {
            QFile file(QStringLiteral("/usr/share/dbus-1/interfaces/org.freedesktop.portal.%1.xml")
                           .arg(QLatin1String(name)));
            file.open(QIODevice::ReadOnly);
            QXmlStreamReader xml(&file);
            QString interface, method;
            while (!xml.atEnd()) {
                if (xml.readNext() != QXmlStreamReader::StartElement)
                    continue;
                const auto a = xml.attributes();
                if (xml.name() == QLatin1String("interface"))
                    interface = a.value(QLatin1String("name")).toString();
                else if (xml.name() == QLatin1String("method"))
                    signatures_[method =
                                    interface + u'.' + a.value(QLatin1String("name")).toString()];
                else if (xml.name() == QLatin1String("arg") && !method.isEmpty() &&
                         a.value(QLatin1String("direction")) != QLatin1String("out"))
                    signatures_[method] += a.value(QLatin1String("type")).toString();
                else if (xml.name() == QLatin1String("signal"))
                    method.clear();
            }
        }
    }

    struct Record {
        std::vector<QString> calls;          // members in order, Notify* once per key event
        std::vector<QVariantMap> selections; // options of each SelectDevices
        std::vector<std::pair<int, unsigned>> keysyms; // symbol, 1 pressed / 0 released
    };

    Record record() const {
        std::lock_guard lock(mutex_);
        return record_;
    }
    void reset(bool refuse) {
        std::lock_guard lock(mutex_);
        record_ = {};
        refuse_ = refuse;
        starts_ = 0;
    }
    bool knows(const QString& method) const { return signatures_.contains(method); }

    QString introspect(const QString&) const override { return {}; }

    bool handleMessage(const QDBusMessage& m, const QDBusConnection& c) override {
        QDBusConnection bus = c;
        const QString method = m.interface() + u'.' + m.member();
        if (m.interface() == QLatin1String("org.freedesktop.DBus.Properties")) {
            const QString property = m.arguments().value(1).toString();
            const uint value =
                property == QLatin1String("version") ? 2 : 7; // keyboard, pointer, touch
            bus.send(m.createReply(QVariant::fromValue(QDBusVariant(value))));
            return true;
        }
        std::lock_guard lock(mutex_);
        record_.calls.push_back(m.member());
        if (!signatures_.contains(method) || signatures_.at(method) != m.signature()) {
            record_.calls.back() += QStringLiteral(" (not as published: ") + m.signature() + u')';
            bus.send(m.createErrorReply(QDBusError::InvalidArgs, QStringLiteral("bad call")));
            return true;
        }
        const QVariantMap options =
            qdbus_cast<QVariantMap>(m.arguments().value(m.arguments().size() - 1));
        QString sender = m.service().mid(1);
        sender.replace(u'.', u'_');
        const QString request =
            QStringLiteral("/org/freedesktop/portal/desktop/request/%1/%2")
                .arg(sender, options.value(QStringLiteral("handle_token")).toString());
        const auto answer = [&](uint code, QVariantMap results, int delayMs) {
            bus.send(m.createReply(QVariant::fromValue(QDBusObjectPath(request))));
            QDBusMessage response = QDBusMessage::createTargetedSignal(
                m.service(), request, QStringLiteral("org.freedesktop.portal.Request"),
                QStringLiteral("Response"));
            response.setArguments({code, results});
            QTimer::singleShot(delayMs, this, [bus, response]() mutable { bus.send(response); });
        };
        if (m.member() == QLatin1String("CreateSession")) {
            answer(0,
                   {{QStringLiteral("session_handle"),
                     QStringLiteral("/org/freedesktop/portal/desktop/session/%1/%2")
                         .arg(sender, options.value("session_handle_token").toString())}},
                   0);
        } else if (m.member() == QLatin1String("SelectDevices")) {
            record_.selections.push_back(options);
            answer(0, {}, 0);
        } else if (m.member() == QLatin1String("Start")) {
            ++starts_;
            if (refuse_)
                answer(1, {}, 100);
            else
                answer(0,
                       {{QStringLiteral("devices"), 1u},
                        {QStringLiteral("restore_token"), QStringLiteral("token-%1").arg(starts_)}},
                       100);
        } else {
            if (m.member() == QLatin1String("NotifyKeyboardKeysym"))
                record_.keysyms.emplace_back(m.arguments().at(2).toInt(),
                                             m.arguments().at(3).toUInt());
            bus.send(m.createReply());
        }
        return true;
    }

private:
    std::map<QString, QString> signatures_; // "interface.Method" -> signature of its arguments
    mutable std::mutex mutex_;
    Record record_;
    bool refuse_ = false;
    int starts_ = 0;
};

} // namespace e2e

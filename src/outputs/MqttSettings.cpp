#include "outputs/MqttSettings.h"

#include <QUrl>

namespace serwedge::outputs {

const char* const MqttSettings::kDefaultTopic = "tallyra/<hostname>/<port>/reading";

std::optional<MqttSettings> MqttSettings::fromUrl(const QString& text, QString& error) {
    // Tolerant: the topic may hold "<hostname>" and "<port>" as they are.
    const QUrl url(text.trimmed(), QUrl::TolerantMode);
    const QString scheme = url.scheme().toLower();
    if (!url.isValid() || (scheme != QLatin1String("mqtt") && scheme != QLatin1String("mqtts"))) {
        error = QStringLiteral("not an MQTT address (mqtt://HOST[:PORT][/TOPIC] or mqtts://...)");
        return std::nullopt;
    }
    MqttSettings s;
    s.tls = scheme == QLatin1String("mqtts");
    s.host = url.host();
    if (s.host.isEmpty()) {
        error = QStringLiteral("the MQTT address names no host");
        return std::nullopt;
    }
    s.port = url.port(s.tls ? kDefaultTlsPort : kDefaultPort);
    if (s.port < 1 || s.port > 65535) {
        error = QStringLiteral("the MQTT port must be 1 to 65535");
        return std::nullopt;
    }
    s.user = url.userName(QUrl::FullyDecoded);
    s.password = url.password(QUrl::FullyDecoded);
    const QString path = url.path(QUrl::FullyDecoded);
    if (path.size() > 1)
        s.topic = path.mid(1);
    if (!validTopic(s.topic) || url.hasFragment() || url.hasQuery()) {
        error = QStringLiteral("the MQTT topic must not be empty nor hold +, # or ?");
        return std::nullopt;
    }
    return s;
}

namespace {

// A text as one topic level: no level separator, no wildcard, no control character.
QString topicLevel(QString level) {
    for (QChar& c : level) {
        if (c == u'/' || c == u'+' || c == u'#' || c.unicode() < 0x20)
            c = u'_';
    }
    return level.isEmpty() ? QStringLiteral("_") : level;
}

} // namespace

QString MqttSettings::topicFor(const QString& hostname, const QString& portName) const {
    QString port = portName;
    if (port.startsWith(QLatin1String("/dev/")))
        port = port.mid(5);
    if (port.startsWith(QLatin1String("tcp://"), Qt::CaseInsensitive))
        port = port.mid(6);
    QString t = topic;
    t.replace(QLatin1String("<hostname>"), topicLevel(hostname));
    t.replace(QLatin1String("<port>"), topicLevel(port));
    return t;
}

bool MqttSettings::validTopic(const QString& topic) {
    if (topic.isEmpty() || topic.contains(u'+') || topic.contains(u'#') || topic.contains(QChar(0)))
        return false;
    return topic.toUtf8().size() <= 65535;
}

QString MqttSettings::describe() const {
    const QString h = host.contains(u':') ? QLatin1Char('[') + host + QLatin1Char(']') : host;
    return QStringLiteral("%1:%2%3").arg(h).arg(port).arg(tls ? QStringLiteral(" (TLS)")
                                                              : QString());
}

} // namespace serwedge::outputs

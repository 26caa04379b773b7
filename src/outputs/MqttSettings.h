#pragma once

#include <QString>

#include <optional>

namespace serwedge::outputs {

// Where and how readings are published over MQTT.
struct MqttSettings {
    static constexpr int kDefaultPort = 1883;
    static constexpr int kDefaultTlsPort = 8883;
    static const char* const kDefaultTopic; // "tallyra/<hostname>/<port>/reading"

    QString host;
    int port = kDefaultPort;
    bool tls = false;
    QString caFile; // PEM file of the certificate authority; empty: the system's authorities
    QString user;   // empty: no user name
    QString password;
    QString topic = QString::fromLatin1(kDefaultTopic);
    bool retain = false; // the broker keeps the last reading for new subscribers

    // "mqtt://[USER[:PASSWORD]@]HOST[:PORT][/TOPIC]", or "mqtts://" for TLS (port 8883 by
    // default); the topic may hold the placeholders of topicFor and "%2F"-style escapes.
    // nullopt with error set when the text is not such an address.
    static std::optional<MqttSettings> fromUrl(const QString& url, QString& error);

    // The topic with "<hostname>" and "<port>" replaced: the station's host name and the port
    // name made fit for one topic level (no "/", "+" or "#"; "/dev/ttyUSB0" gives "ttyUSB0").
    QString topicFor(const QString& hostname, const QString& portName) const;

    // A topic that a broker takes for publishing: not empty, no wildcards, no NUL, at most
    // 65535 bytes of UTF-8.
    static bool validTopic(const QString& topic);

    // "host:port", with "(TLS)" where it applies; never the password.
    QString describe() const;
};

} // namespace serwedge::outputs

#pragma once

#include <QString>

namespace serwedge::config {

// Where readings go besides the keyboard: the journal of every line read and an MQTT broker.
// Numbers typed in are held as the text entered, like the other settings.
struct OutputSettings {
    bool journal = false;
    QString journalFolder; // empty: the platform's data folder
    QString journalDays = QStringLiteral("90");
    bool mqtt = false;
    QString mqttHost;
    QString mqttPort = QStringLiteral("1883");
    bool mqttTls = false;
    QString mqttCaFile; // empty: the system's certificate authorities
    QString mqttUser;
    QString mqttPassword; // kept in the store; never exported, shown or logged
    QString mqttTopic = QStringLiteral("tallyra/<hostname>/<port>/reading");
    bool mqttRetain = false;

    bool operator==(const OutputSettings&) const = default;

    int journalDaysAsInt() const;
    int mqttPortAsInt() const;
};

// Rule holders of the text settings, as the store and the panels use them.
namespace OutputRules {
struct JournalDays {
    static QString getDefault() { return QStringLiteral("90"); }
    static bool valid(const QString& text); // 0..36500; 0 keeps every day's file
};
struct MqttHost {
    static QString getDefault() { return {}; }
    static bool valid(const QString& text); // empty, or a name or address without blanks
};
struct MqttPort {
    static QString getDefault() { return QStringLiteral("1883"); }
    static bool valid(const QString& text); // 1..65535
};
struct MqttTopic {
    static QString getDefault() { return QStringLiteral("tallyra/<hostname>/<port>/reading"); }
    static bool valid(const QString& text); // not empty, no + or #
};
struct AnyText {
    static QString getDefault() { return {}; }
    static bool valid(const QString&) { return true; }
};
} // namespace OutputRules

} // namespace serwedge::config

#include "config/OutputSettings.h"

#include "config/IntParse.h"

namespace serwedge::config {

int OutputSettings::journalDaysAsInt() const {
    return OutputRules::JournalDays::valid(journalDays) ? *parseDecimalInt(journalDays) : 90;
}

int OutputSettings::mqttPortAsInt() const {
    return OutputRules::MqttPort::valid(mqttPort) ? *parseDecimalInt(mqttPort) : 1883;
}

namespace OutputRules {

namespace {

bool inRange(const QString& text, int low, int high) {
    const auto n = parseDecimalInt(text);
    return n && *n >= low && *n <= high && !text.startsWith(u'+');
}

} // namespace

bool JournalDays::valid(const QString& text) {
    return inRange(text, 0, 36500);
}

bool MqttHost::valid(const QString& text) {
    for (const QChar c : text) {
        if (c.isSpace() || c.unicode() < 0x20 || c == u'/' || c == u'@')
            return false;
    }
    return text.size() <= 253;
}

bool MqttPort::valid(const QString& text) {
    return inRange(text, 1, 65535);
}

bool MqttTopic::valid(const QString& text) {
    return !text.isEmpty() && !text.contains(u'+') && !text.contains(u'#') &&
           !text.contains(QChar(0)) && text.toUtf8().size() <= 65535;
}

} // namespace OutputRules

} // namespace serwedge::config

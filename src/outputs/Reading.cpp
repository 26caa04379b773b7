#include "outputs/Reading.h"

#include <QJsonDocument>
#include <QTimeZone>

namespace serwedge::outputs {

namespace {

const QString& zoneName() {
    static const QString name = QString::fromUtf8(QTimeZone::systemTimeZoneId());
    return name;
}

} // namespace

QJsonObject toJson(const Reading& r) {
    QJsonObject o;
    // The offset in the text itself, so that a reading stays unambiguous across a change of
    // daylight saving time.
    const QDateTime local = r.instant.toLocalTime();
    o.insert(QStringLiteral("time"),
             local.toOffsetFromUtc(local.offsetFromUtc()).toString(Qt::ISODateWithMs));
    o.insert(QStringLiteral("zone"), zoneName());
    o.insert(QStringLiteral("port"), r.port);
    o.insert(QStringLiteral("preset"), r.preset);
    o.insert(QStringLiteral("line"), r.count);
    o.insert(QStringLiteral("raw"), r.raw);
    o.insert(QStringLiteral("value"), r.value.isEmpty() ? QJsonValue() : QJsonValue(r.value));
    if (!r.status.isEmpty())
        o.insert(QStringLiteral("status"), r.status);
    if (!r.failure.isEmpty())
        o.insert(QStringLiteral("failure"), r.failure);
    o.insert(QStringLiteral("error"), r.error);
    o.insert(QStringLiteral("typed"), r.typed);
    o.insert(QStringLiteral("ignored"), r.ignored);
    return o;
}

QByteArray toJsonLine(const QJsonObject& object) {
    QByteArray line = QJsonDocument(object).toJson(QJsonDocument::Compact);
    line.append('\n');
    return line;
}

} // namespace serwedge::outputs

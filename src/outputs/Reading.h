#pragma once

#include <QByteArray>
#include <QDateTime>
#include <QString>

namespace serwedge::outputs {

// One line read, as the journal keeps it and MQTT publishes it.
struct Reading {
    QDateTime instant;    // when the line was complete
    QString port;         // the port name as the user gave it
    QString preset;       // the instrument preset's identifier
    int count = 0;        // the line's number in its run
    QString raw;          // the bytes as received, each byte as the character with the same code
    QString value;        // the value made of the line; empty when the line had none
    QString status;       // the instrument's status for a status line; empty otherwise
    bool error = false;   // the port reported a transmission error while the line arrived
    QString failure;      // why the line could not be processed; empty when it could
    bool typed = false;   // the value was handed to the keyboard
    bool ignored = false; // the value was suppressed as a duplicate

    // Memory the reading takes in a queue, for the bounds of the queues that hold readings.
    qsizetype footprint() const {
        return qsizetype(sizeof(Reading)) + 2 * (port.size() + preset.size() + raw.size() +
                                                 value.size() + status.size() + failure.size());
    }
};

// The reading as one JSON object, appended to out without a line end: "time" (local time with
// milliseconds and UTC offset, "Z" for UTC), "zone" (the time zone's name), "port", "preset",
// "line", "raw", "value" (null when none), "status" and "failure" (only when set), "error",
// "typed", "ignored", then extraMembers (JSON text of further members, each led by a comma).
void appendJson(QByteArray& out, const Reading& reading, const QByteArray& extraMembers = {});

// The instant's date in the local time zone.
QDate localDate(const QDateTime& instant);
// The instant as local ISO 8601 text with milliseconds and UTC offset.
void appendLocalTime(QByteArray& out, const QDateTime& instant);

} // namespace serwedge::outputs

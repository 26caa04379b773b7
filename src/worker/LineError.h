#pragma once

#include <QString>

#include <stdexcept>

namespace serwedge::worker {

// The processing of one received line failed. The worker logs it and goes on reading; the log
// shows the kind of the failure followed by its message ("Index error: ...").
class LineError : public std::runtime_error {
public:
    LineError(QString kind, const QString& message)
        : std::runtime_error(message.toStdString()), kind_(std::move(kind)), message_(message) {}

    const QString& kind() const { return kind_; }
    const QString& message() const { return message_; }
    // Kind and message, as the event log shows them.
    QString description() const { return kind_ + QStringLiteral(": ") + message_; }

private:
    QString kind_;
    QString message_;
};

// An edit that asks for more characters than the value has.
class EditIndexError : public LineError {
public:
    explicit EditIndexError(const QString& message)
        : LineError(QStringLiteral("Index error"), message) {}
};

// A value that is not a decimal number once the numeric steps are done.
class ValueFormatError : public LineError {
public:
    explicit ValueFormatError(const QString& message)
        : LineError(QStringLiteral("Number format error"), message) {}
};

// A calculation that cannot be done: division by zero, or a result beyond the size bounds.
class CalculationError : public LineError {
public:
    explicit CalculationError(const QString& message)
        : LineError(QStringLiteral("Arithmetic error"), message) {}
};

} // namespace serwedge::worker

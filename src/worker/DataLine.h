#pragma once

#include "config/ConfigHelper.h"

#include <QDateTime>
#include <QString>

#include <optional>
#include <vector>

namespace serwedge::worker {

// What the instrument's status words say about a line, and whether its value was withheld for
// it (an overload, underload, error or not-a-value line, or a line not stable while only stable
// values are wanted).
struct LineStatus {
    std::optional<config::ConfigHelper::StatusKind> kind;
    bool withheld = false;
};

// One received line: the bytes as received (each byte as the character with the same code),
// the value the pipeline made of them, its running number, when it was completed and whether
// the port reported a transmission error while it arrived.
class DataLine {
public:
    DataLine() = default;
    DataLine(QString rawData, QString processedData, int count, QDateTime instant, bool error);
    DataLine(QString rawData, QString processedData, int count, QDateTime instant, bool error,
             LineStatus status);

    DataLine copy() const { return *this; }
    // Suppresses the value while keeping the line for the log.
    void deleteProcessedData() { processedData_ = QStringLiteral(""); }

    int getCount() const { return count_; }
    const QDateTime& getInstant() const { return instant_; }
    const QString& getProcessedData() const { return processedData_; }
    bool isError() const { return error_; }
    // The instant in the system's time zone.
    QDateTime getDateTime() const { return instant_.toLocalTime(); }
    // The received text rendered for display, never the bytes themselves.
    QString getRawData() const { return transformControlChars(rawData_); }
    // The bytes as received.
    const QString& rawBytes() const { return rawData_; }
    bool hasValue() const { return !processedData_.isEmpty(); }
    // The kind the preset's status table gave the line; none when no status pattern matched.
    const std::optional<config::ConfigHelper::StatusKind>& getStatus() const {
        return status_.kind;
    }
    // True when the value was withheld because of the line's status: nothing is typed for it.
    bool isWithheld() const { return status_.withheld; }

    // Renders characters below 32 and above 126 as "<code>", for example CR as "<13>".
    static QString transformControlChars(const QString& text);

private:
    QString rawData_;
    QString processedData_;
    int count_ = 0;
    bool error_ = false;
    QDateTime instant_;
    LineStatus status_;
};

// A line that carries several values at once. Values are kept as the texts found.
class MultiDataLine {
public:
    MultiDataLine(QString rawData, std::vector<QString> numericValues, int count, QDateTime instant,
                  bool error);
    MultiDataLine(QString rawData, std::vector<QString> numericValues, QDateTime instant);

    int getCount() const { return count_; }
    const QDateTime& getInstant() const { return instant_; }
    const std::vector<QString>& getNumericValues() const { return numericValues_; }
    // Throws std::out_of_range for an index outside the values.
    const QString& getNumericValue(std::size_t index) const { return numericValues_.at(index); }
    QString getRawData() const { return DataLine::transformControlChars(rawData_); }
    bool isError() const { return error_; }

private:
    QString rawData_;
    std::vector<QString> numericValues_;
    bool error_ = false;
    int count_ = 0;
    QDateTime instant_;
};

} // namespace serwedge::worker

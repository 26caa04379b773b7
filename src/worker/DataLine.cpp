#include "worker/DataLine.h"

namespace serwedge::worker {

DataLine::DataLine(QString rawData, QString processedData, int count, QDateTime instant, bool error)
    : rawData_(std::move(rawData)), processedData_(std::move(processedData)), count_(count),
      error_(error), instant_(std::move(instant)) {}

DataLine::DataLine(QString rawData, QString processedData, int count, QDateTime instant, bool error,
                   LineStatus status)
    : DataLine(std::move(rawData), std::move(processedData), count, std::move(instant), error) {
    status_ = status;
}

QString DataLine::transformControlChars(const QString& text) {
    QString out;
    out.reserve(text.size());
    for (const QChar c : text) {
        const char16_t u = c.unicode();
        if (u < 32 || u > 126) {
            out += QLatin1Char('<');
            out += QString::number(u);
            out += QLatin1Char('>');
        } else {
            out += c;
        }
    }
    return out;
}

MultiDataLine::MultiDataLine(QString rawData, std::vector<QString> numericValues, int count,
                             QDateTime instant, bool error)
    : rawData_(std::move(rawData)), numericValues_(std::move(numericValues)), error_(error),
      count_(count), instant_(std::move(instant)) {}

MultiDataLine::MultiDataLine(QString rawData, std::vector<QString> numericValues, QDateTime instant)
    : MultiDataLine(std::move(rawData), std::move(numericValues), 0, std::move(instant), false) {}

} // namespace serwedge::worker

#include "cli/CliView.h"

#include "worker/DataLine.h"

#include <QJsonDocument>
#include <QJsonObject>

namespace tallyra::cli {

using serwedge::worker::DataLine;

CliView::CliView(std::FILE* out, std::FILE* err) : out_(out), err_(err) {}

void CliView::printErr(const QString& text) {
    const QByteArray bytes = text.toUtf8();
    std::lock_guard lock(errMutex_);
    std::fwrite(bytes.constData(), 1, static_cast<std::size_t>(bytes.size()), err_);
    std::fputc('\n', err_);
    std::fflush(err_);
}

void CliView::logEvent(const QString& text) {
    printErr(text);
}

void CliView::logImportantEvent(const QString& text) {
    printErr(QStringLiteral("! ") + text);
}

void CliView::setConnectedInGUI(bool connected) {
    connected_ = connected;
}

void CliView::showWarning(const QString& title, const QString& message) {
    printErr(QStringLiteral("! ") + title + QStringLiteral(": ") + message);
}

QByteArray CliView::toJson(const DataLine& line) {
    QJsonObject o;
    o.insert(QStringLiteral("count"), line.getCount());
    o.insert(QStringLiteral("raw"), line.getRawData());
    // A withheld line has no value at all, not an empty one.
    o.insert(QStringLiteral("value"),
             line.isWithheld() ? QJsonValue() : QJsonValue(line.getProcessedData()));
    o.insert(QStringLiteral("error"), line.isError());
    o.insert(QStringLiteral("status"),
             line.getStatus() ? QJsonValue(line.getStatus()->name()) : QJsonValue());
    return QJsonDocument(o).toJson(QJsonDocument::Compact);
}

void CliView::update(const DataLine& line) {
    if (quiet_) {
        ++printed_;
        return;
    }
    const QByteArray json = toJson(line);
    std::fwrite(json.constData(), 1, static_cast<std::size_t>(json.size()), out_);
    std::fputc('\n', out_);
    std::fflush(out_);
    ++printed_;
}

} // namespace tallyra::cli

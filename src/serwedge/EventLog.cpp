#include "serwedge/EventLog.h"

#include "worker/DataLine.h"

#include <QFontDatabase>
#include <QPalette>
#include <QScrollBar>
#include <QTextBlock>
#include <QTextCursor>
#include <QThread>

#include <cmath>

namespace serwedge {

namespace {

double relativeLuminance(const QColor& c) {
    auto channel = [](double v) {
        return v <= 0.03928 ? v / 12.92 : std::pow((v + 0.055) / 1.055, 2.4);
    };
    return 0.2126 * channel(c.redF()) + 0.7152 * channel(c.greenF()) + 0.0722 * channel(c.blueF());
}

} // namespace

double EventLog::contrast(const QColor& a, const QColor& b) {
    const double la = relativeLuminance(a);
    const double lb = relativeLuminance(b);
    return (std::max(la, lb) + 0.05) / (std::min(la, lb) + 0.05);
}

EventLog::Colours EventLog::coloursFor(const QColor& background) {
    // Dark text colours on light backgrounds, light ones on dark backgrounds; each pair keeps a
    // contrast of at least 4.5 against white, the usual light greys, black and the usual dark
    // greys. On light backgrounds the grey of ignored text is as light as that allows, so that
    // it stands apart from the black of ordinary text.
    if (relativeLuminance(background) > 0.18)
        return {QColor(0x00, 0x5c, 0x1e), QColor(0xa3, 0x00, 0x1b), QColor(0x68, 0x68, 0x68)};
    return {QColor(0x7e, 0xe7, 0x87), QColor(0xff, 0x8f, 0x87), QColor(0xb0, 0xb0, 0xb0)};
}

EventLog::EventLog(QWidget* parent) : QPlainTextEdit(parent) {
    setReadOnly(true);
    setUndoRedoEnabled(false);
    setLineWrapMode(QPlainTextEdit::NoWrap);
    QFont font(QStringLiteral("Courier New"));
    font.setStyleHint(QFont::Monospace);
    font.setFamilies({QStringLiteral("Courier New"),
                      QFontDatabase::systemFont(QFontDatabase::FixedFont).family()});
    setFont(font);
    setMaximumLines(kMaxLines);
    addStylesToDocument();
}

void EventLog::setMaximumLines(int lines) {
    // Every line ends with a line feed, so the document has one (empty) block more than lines.
    document()->setMaximumBlockCount(lines + 1);
}

int EventLog::maximumLines() const {
    return document()->maximumBlockCount() - 1;
}

void EventLog::addStylesToDocument() {
    const Colours colours = coloursFor(palette().color(QPalette::Base));
    auto named = [](QTextCharFormat f, const char* name) {
        f.setProperty(kStyleProperty, QString::fromLatin1(name));
        return f;
    };
    const QTextCharFormat def = named(QTextCharFormat(), "default");
    QTextCharFormat regular = named(def, "regular");
    QTextCharFormat unknown = named(regular, "unknown");
    unknown.setForeground(colours.typed);
    unknown.setFontWeight(QFont::Bold);
    QTextCharFormat important = named(regular, "important");
    important.setForeground(colours.important);
    QTextCharFormat typed = named(regular, "typed");
    typed.setForeground(colours.typed);
    QTextCharFormat ignored = named(regular, "ignored");
    ignored.setForeground(colours.ignored);
    styles_ = {{QStringLiteral("default"), def},     {QStringLiteral("regular"), regular},
               {QStringLiteral("unknown"), unknown}, {QStringLiteral("important"), important},
               {QStringLiteral("typed"), typed},     {QStringLiteral("ignored"), ignored}};
}

void EventLog::changeEvent(QEvent* event) {
    QPlainTextEdit::changeEvent(event);
    // New lines follow a palette change (light to dark); lines already shown keep theirs.
    if (event->type() == QEvent::PaletteChange)
        addStylesToDocument();
}

QString EventLog::timeStamp(const QTime& time) {
    return time.toString(QStringLiteral("HH:mm:ss ")); // 24-hour clock, two digits each
}

void EventLog::logEvent(const QString& text) {
    logLine(QTime::currentTime(), text, QStringLiteral("regular"));
}

void EventLog::logImportantEvent(const QString& text) {
    logLine(QTime::currentTime(), text, QStringLiteral("important"));
}

void EventLog::logLine(const QTime& time, const QString& text, const QString& styleName) {
    Pieces pieces{{timeStamp(time) + text + QLatin1Char('\n'), styleName}};
    if (QThread::currentThread() != thread()) {
        QMetaObject::invokeMethod(
            this, [this, pieces = std::move(pieces)] { append(pieces); }, Qt::QueuedConnection);
        return;
    }
    append(pieces);
}

void EventLog::displayLine(const worker::DataLine& line) {
    const QString raw = line.getRawData();
    const QString processed = line.getProcessedData();
    const QString stamp = timeStamp(line.getDateTime().time());
    if (line.isWithheld() && line.getStatus()) {
        // "Overload: <line>": the kind first, in the important colour where the reading is
        // out of order, as an ordinary event for headers and values not yet stable.
        const auto kind = *line.getStatus();
        append({{stamp + kind.toString() + QStringLiteral(": ") + raw + QLatin1Char('\n'),
                 kind.important() ? QStringLiteral("important") : QStringLiteral("regular")}});
        return;
    }
    if (processed.isEmpty()) {
        append({{stamp + raw + QLatin1Char('\n'), QStringLiteral("ignored")}});
        return;
    }
    qsizetype i = raw.indexOf(processed);
    if (i < 0)
        i = raw.indexOf(QString(processed).replace(QLatin1Char(','), QLatin1Char('.')));
    if (i < 0)
        i = raw.indexOf(QString(processed).replace(QLatin1Char('.'), QLatin1Char(',')));
    // A "<" before the value is a rendered control character or markup: the position found
    // would not be the value the instrument sent.
    if (i < 0 || raw.left(i).contains(QLatin1Char('<'))) {
        append({{stamp + raw + QLatin1Char('\n'), QStringLiteral("unknown")}});
        return;
    }
    Pieces pieces{{stamp, QStringLiteral("regular")}};
    if (i > 0)
        pieces.emplace_back(raw.left(i), QStringLiteral("ignored"));
    pieces.emplace_back(raw.mid(i, processed.size()), QStringLiteral("typed"));
    pieces.emplace_back(raw.mid(i + processed.size()) + QLatin1Char('\n'),
                        QStringLiteral("ignored"));
    append(pieces);
}

void EventLog::append(const Pieces& pieces) {
    QScrollBar* bar = verticalScrollBar();
    // Follow the newest line only while the user looks at the end of the log.
    const bool following = bar->value() >= bar->maximum();
    QTextCursor cursor(document());
    cursor.movePosition(QTextCursor::End);
    cursor.beginEditBlock();
    for (const auto& [text, styleName] : pieces)
        cursor.insertText(text, styles_.value(styleName));
    cursor.endEditBlock();
    if (following)
        bar->setValue(bar->maximum());
}

std::vector<std::pair<QString, QString>> EventLog::lastLinePieces() const {
    std::vector<std::pair<QString, QString>> pieces;
    QTextBlock block = document()->lastBlock();
    if (block.text().isEmpty())
        block = block.previous();
    for (auto it = block.begin(); !it.atEnd(); ++it) {
        const QTextFragment fragment = it.fragment();
        if (fragment.isValid())
            pieces.emplace_back(fragment.text(),
                                fragment.charFormat().property(kStyleProperty).toString());
    }
    return pieces;
}

} // namespace serwedge

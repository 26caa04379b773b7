#pragma once

#include <QColor>
#include <QHash>
#include <QPlainTextEdit>
#include <QTextCharFormat>
#include <QTime>

#include <utility>
#include <vector>

namespace serwedge::worker {
class DataLine;
}

namespace serwedge {

// The event log: time-stamped lines in named styles, and each received line coloured so that
// the typed part, the ignored parts and unmatched lines stand out. Only the newest kMaxLines
// lines are kept, so that a program reading all day does not grow without limit.
class EventLog : public QPlainTextEdit {
public:
    static constexpr int kMaxLines = 100000;
    // The character-format property that carries a piece's style name.
    static constexpr int kStyleProperty = QTextFormat::UserProperty + 1;

    // The three colours of the log for a background: A for the typed part (and, with bold, for
    // unknown lines), B for important events, C for ignored parts.
    struct Colours {
        QColor typed;
        QColor important;
        QColor ignored;
    };
    static Colours coloursFor(const QColor& background);
    // Contrast ratio of two colours (1 to 21).
    static double contrast(const QColor& a, const QColor& b);

    explicit EventLog(QWidget* parent = nullptr);

    // Both may be called from any thread; the line is time-stamped at the call and appended on
    // the user-interface thread.
    void logEvent(const QString& text);
    void logImportantEvent(const QString& text);

    // Shows one received line in its colours. User-interface thread.
    void displayLine(const worker::DataLine& line);

    // Creates the named styles ("default", "regular", "unknown", "important", "typed",
    // "ignored") with colours for the current background.
    void addStylesToDocument();
    QTextCharFormat style(const QString& name) const { return styles_.value(name); }

    // Lines kept before the oldest are dropped (kMaxLines unless changed).
    void setMaximumLines(int lines);
    int maximumLines() const;

    // "HH:mm:ss " for the time.
    static QString timeStamp(const QTime& time);

    // The pieces of the last line of the log with their style names (for tests and tools).
    std::vector<std::pair<QString, QString>> lastLinePieces() const;

protected:
    void changeEvent(QEvent* event) override;

private:
    using Pieces = std::vector<std::pair<QString, QString>>; // text, style
    void logLine(const QTime& time, const QString& text, const QString& styleName);
    void append(const Pieces& pieces);

    QHash<QString, QTextCharFormat> styles_;
};

} // namespace serwedge

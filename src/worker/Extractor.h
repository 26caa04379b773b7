#pragma once

#include <QRegularExpression>
#include <QString>

#include <stdexcept>

namespace serwedge::config {
class Config;
}

namespace serwedge::worker {

// A pattern that does not compile; the worker fails at start with it.
class PatternError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// What the extraction step made of one line: the captured value ("" when the pattern found
// nothing), or an error for that line alone.
struct ExtractionResult {
    bool ok = true;
    QString value;
    QString errorKind; // when !ok: "Group error", "Pattern error"
    QString error;     // when !ok: the message, without the kind
};

// Finds the value in a line: the first match of the pattern anywhere in the whole line
// (terminator included), and the text of the capture group.
class Extractor {
public:
    // Throws PatternError when the pattern does not compile.
    Extractor(const QString& pattern, int captureGroup);

    // The pattern of a configuration: its custom pattern when set, else the preset's. The group
    // is the preset's capture group for numeric workers, always 1 for the text worker.
    static Extractor forConfig(const config::Config& config, bool textWorker);

    ExtractionResult extract(const QString& line) const;

    const QString& pattern() const { return pattern_; }
    int captureGroup() const { return group_; }

private:
    QString pattern_;
    int group_;
    QRegularExpression re_;
};

} // namespace serwedge::worker

#pragma once

#include <QByteArray>
#include <QMap>
#include <QString>

#include <stdexcept>

namespace serwedge::prefs::properties {

// The standard properties-file format: ISO 8859-1 text, one "key=value" per logical line, "#" or
// "!" comment lines, backslash escapes and line continuation.

class FormatError : public std::runtime_error {
public:
    explicit FormatError(const QString& message) : std::runtime_error(message.toStdString()) {}
};

// Parses the file's bytes. A later entry with the same key wins. Throws FormatError for a
// malformed \u escape.
QMap<QString, QString> parse(const QByteArray& data);

// The whole file: "#" comment, "#" date of writing, then one line per entry, keys in sorted
// order. Everything outside printable ASCII is written as \uXXXX, so the bytes are ASCII and
// therefore ISO 8859-1.
QByteArray write(const QMap<QString, QString>& entries, const QString& comment);

// One key or value in its escaped form (spaces escaped everywhere in keys, only leading in
// values).
QString escape(const QString& text, bool isKey);

} // namespace serwedge::prefs::properties

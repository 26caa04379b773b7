#pragma once

#include <QRegularExpression>
#include <QString>

namespace serwedge::config {

// Compiles an extraction pattern with the line rules instruments need: "." matches neither
// CR nor LF, "$" matches at the end or before a final CR, LF or CR LF, "\s" and "\d" are ASCII.
inline QRegularExpression compilePattern(const QString& pattern) {
    return QRegularExpression(QStringLiteral("(*ANYCRLF)") + pattern);
}

} // namespace serwedge::config

#include "serwedge/prefs/Properties.h"

#include <QDateTime>
#include <QLocale>

namespace serwedge::prefs::properties {

namespace {

bool isBlank(QChar c) {
    return c == QLatin1Char(' ') || c == QLatin1Char('\t') || c == QLatin1Char('\f');
}

bool isLineEnd(QChar c) {
    return c == QLatin1Char('\n') || c == QLatin1Char('\r');
}

// Splits the text into logical lines: comment and blank lines dropped, leading blanks removed,
// lines ending in an odd number of backslashes joined with the next (whose leading blanks go).
QStringList logicalLines(const QString& text) {
    QStringList lines;
    QString current;
    bool continuing = false;
    qsizetype i = 0;
    const qsizetype n = text.size();
    while (i < n) {
        qsizetype start = i;
        while (i < n && !isLineEnd(text[i])) {
            ++i;
        }
        QString line = text.mid(start, i - start);
        if (i < n && text[i] == QLatin1Char('\r') && i + 1 < n &&
            text[i + 1] == QLatin1Char('\n')) {
            ++i;
        }
        if (i < n) {
            ++i;
        }
        qsizetype lead = 0;
        while (lead < line.size() && isBlank(line[lead])) {
            ++lead;
        }
        line = line.mid(lead);
        if (!continuing) {
            if (line.isEmpty() || line[0] == QLatin1Char('#') || line[0] == QLatin1Char('!')) {
                continue;
            }
        }
        qsizetype backslashes = 0;
        while (backslashes < line.size() &&
               line[line.size() - 1 - backslashes] == QLatin1Char('\\')) {
            ++backslashes;
        }
        if (backslashes % 2 == 1) {
            current += line.left(line.size() - 1);
            continuing = true;
            continue;
        }
        current += line;
        lines.append(current);
        current.clear();
        continuing = false;
    }
    if (continuing) {
        lines.append(current); // a continuation at the end of the file ends the entry
    }
    return lines;
}

QString unescape(const QString& s) {
    QString out;
    out.reserve(s.size());
    for (qsizetype i = 0; i < s.size(); ++i) {
        const QChar c = s[i];
        if (c != QLatin1Char('\\') || i + 1 >= s.size()) {
            out += c;
            continue;
        }
        const QChar e = s[++i];
        switch (e.unicode()) {
        case 't':
            out += QLatin1Char('\t');
            break;
        case 'n':
            out += QLatin1Char('\n');
            break;
        case 'r':
            out += QLatin1Char('\r');
            break;
        case 'f':
            out += QLatin1Char('\f');
            break;
        case 'u': {
            if (i + 4 >= s.size()) {
                throw FormatError(QStringLiteral("Malformed \\uxxxx encoding"));
            }
            char16_t code = 0;
            for (qsizetype k = i + 1; k <= i + 4; ++k) {
                const char16_t h = s[k].unicode();
                int digit = -1;
                if (h >= u'0' && h <= u'9') {
                    digit = h - u'0';
                } else if (h >= u'a' && h <= u'f') {
                    digit = h - u'a' + 10;
                } else if (h >= u'A' && h <= u'F') {
                    digit = h - u'A' + 10;
                }
                if (digit < 0) {
                    throw FormatError(QStringLiteral("Malformed \\uxxxx encoding"));
                }
                code = static_cast<char16_t>(code * 16 + digit);
            }
            out += QChar(code);
            i += 4;
            break;
        }
        default:
            out += e;
        }
    }
    return out;
}

} // namespace

QMap<QString, QString> parse(const QByteArray& data) {
    QMap<QString, QString> entries;
    for (const QString& line : logicalLines(QString::fromLatin1(data))) {
        // The key ends at the first unescaped "=", ":" or blank.
        qsizetype keyEnd = 0;
        bool escaped = false;
        for (; keyEnd < line.size(); ++keyEnd) {
            const QChar c = line[keyEnd];
            if (escaped) {
                escaped = false;
            } else if (c == QLatin1Char('\\')) {
                escaped = true;
            } else if (c == QLatin1Char('=') || c == QLatin1Char(':') || isBlank(c)) {
                break;
            }
        }
        qsizetype valueStart = keyEnd;
        while (valueStart < line.size() && isBlank(line[valueStart])) {
            ++valueStart;
        }
        if (valueStart < line.size() &&
            (line[valueStart] == QLatin1Char('=') || line[valueStart] == QLatin1Char(':'))) {
            ++valueStart;
            while (valueStart < line.size() && isBlank(line[valueStart])) {
                ++valueStart;
            }
        }
        entries.insert(unescape(line.left(keyEnd)), unescape(line.mid(valueStart)));
    }
    return entries;
}

QString escape(const QString& text, bool isKey) {
    QString out;
    out.reserve(text.size() * 2);
    for (qsizetype i = 0; i < text.size(); ++i) {
        const char16_t c = text[i].unicode();
        if (c > 61 && c < 127) {
            if (c == u'\\') {
                out += QLatin1String("\\\\");
            } else {
                out += QChar(c);
            }
            continue;
        }
        switch (c) {
        case u' ':
            out += (i == 0 || isKey) ? QStringLiteral("\\ ") : QStringLiteral(" ");
            break;
        case u'\t':
            out += QLatin1String("\\t");
            break;
        case u'\n':
            out += QLatin1String("\\n");
            break;
        case u'\r':
            out += QLatin1String("\\r");
            break;
        case u'\f':
            out += QLatin1String("\\f");
            break;
        case u'=':
        case u':':
        case u'#':
        case u'!':
            out += QLatin1Char('\\');
            out += QChar(c);
            break;
        default:
            if (c < 0x20 || c > 0x7e) {
                out += QLatin1String("\\u") +
                       QStringLiteral("%1").arg(uint(c), 4, 16, QLatin1Char('0')).toUpper();
            } else {
                out += QChar(c);
            }
        }
    }
    return out;
}

QByteArray write(const QMap<QString, QString>& entries, const QString& comment) {
    QString text;
    text += QLatin1Char('#') + comment + QLatin1Char('\n');
    text += QLatin1Char('#') +
            QLocale::c().toString(QDateTime::currentDateTime(),
                                  QStringLiteral("ddd MMM dd HH:mm:ss t yyyy")) +
            QLatin1Char('\n');
    for (auto it = entries.begin(); it != entries.end(); ++it) {
        text += escape(it.key(), true) + QLatin1Char('=') + escape(it.value(), false) +
                QLatin1Char('\n');
    }
    return text.toLatin1();
}

} // namespace serwedge::prefs::properties

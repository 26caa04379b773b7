// Rendering of received text for display, on arbitrary bytes and UTF-16 text.
//
// The rendering is printable ASCII only, keeps every printable character in order, and a text
// without "<" can be read back exactly.

#include "FuzzSupport.h"

#include "worker/DataLine.h"

using serwedge::worker::DataLine;

namespace {

QString readBack(const QString& shown) {
    QString text;
    for (qsizetype i = 0; i < shown.size(); ++i) {
        if (shown[i] != u'<') {
            text += shown[i];
            continue;
        }
        const qsizetype end = shown.indexOf(u'>', i);
        fuzz::check(end > i + 1, "code is closed", shown);
        bool ok = false;
        const uint code = shown.mid(i + 1, end - i - 1).toUInt(&ok);
        fuzz::check(ok && code <= 0xFFFF, "code is a number", shown);
        text += QChar(static_cast<char16_t>(code));
        i = end;
    }
    return text;
}

void checkRendering(const QString& text) {
    const QString shown = DataLine::transformControlChars(text);
    fuzz::check(shown.size() >= text.size(), "nothing is lost", shown);
    for (const QChar c : shown)
        fuzz::check(c.unicode() >= 32 && c.unicode() <= 126, "printable ASCII only", shown);
    if (!text.contains(u'<'))
        fuzz::check(readBack(shown) == text, "rendering reads back", shown);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const QByteArray bytes(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size));
    checkRendering(QString::fromLatin1(bytes));
    // UTF-16 code units as they are, unpaired surrogates included.
    QString units;
    for (qsizetype i = 0; i + 1 < bytes.size(); i += 2)
        units += QChar(static_cast<char16_t>(static_cast<std::uint8_t>(bytes[i]) |
                                             static_cast<std::uint8_t>(bytes[i + 1]) << 8));
    checkRendering(units);
    return 0;
}

// The settings-file reader on arbitrary file contents.
//
// A file either reads (only a malformed \u escape is refused) or it does not; what was read,
// written back, reads as the same entries.

#include "FuzzSupport.h"

#include "serwedge/prefs/Properties.h"

namespace properties = serwedge::prefs::properties;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const QByteArray file(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size));
    QMap<QString, QString> entries;
    try {
        entries = properties::parse(file);
    } catch (const properties::FormatError& e) {
        fuzz::check(std::string(e.what()).size() > 0, "format error has a text");
        return 0;
    }
    const QByteArray written = properties::write(entries, QStringLiteral("fuzz"));
    for (const char c : written) {
        fuzz::check(static_cast<unsigned char>(c) < 0x80, "written file is ASCII",
                    QString::fromLatin1(written));
    }
    const QMap<QString, QString> again = properties::parse(written);
    fuzz::check(again == entries, "written entries read back the same",
                QString::fromLatin1(written));
    return 0;
}

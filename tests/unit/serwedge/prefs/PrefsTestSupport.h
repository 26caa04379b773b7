#pragma once

#include "config/Config.h"
#include "serwedge/prefs/Preferences.h"

#include <QByteArray>
#include <QFile>
#include <QString>
#include <QStringList>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <string>

namespace prefstest {

namespace H = serwedge::config::ConfigHelper;
using serwedge::config::Config;

inline std::u16string u16(const QString& s) {
    return s.toStdU16String();
}
inline QString qs(const std::u16string& s) {
    return QString::fromStdU16String(s);
}

// Texts that the properties escapes and XML must carry: backslashes, separators, comment signs,
// leading and inner blanks, line breaks, characters above 255 and outside the BMP.
inline QStringList specialTexts() {
    return {QStringLiteral("Wt\\s?"),
            QStringLiteral("a=b:c#d!e"),
            QStringLiteral("   three leading blanks"),
            QStringLiteral("line one\nline two\r\nline three"),
            QStringLiteral("tab\there\fform feed"),
            QString::fromUtf8("\xc3\xa4\xc3\xb6\xc3\xbc \xe2\x82\xac \xf0\x9f\x98\x80"),
            QStringLiteral("\\\\server\\share\\"),
            QStringLiteral("#not a comment"),
            QStringLiteral("!not a comment either"),
            QStringLiteral("trailing blank "),
            QStringLiteral(""),
            QStringLiteral("quote \" apostrophe ' less < amp &")};
}

// Every byte value as a character, then backslashes, also before "u" and at the end.
inline QString allByteValues() {
    QString text;
    for (int b = 0; b < 256; ++b) {
        text += QChar(b);
    }
    return text + QStringLiteral("\\\\u0041\\n\\");
}

// A record in which every setting differs from its default, with awkward texts.
inline Config unusualConfig() {
    Config c(QStringLiteral("/dev/ttyUSB0"), H::Instrument::AND, 11, 2, 1, 2, 10, H::Connect::AUTO,
             H::KeyboardType::GERMAN, QStringLiteral("35"), H::DecimalSeparator::COMMA,
             H::StartWith::F12, H::OutputTerminator::TAB, H::OutputTerminator::ENTER,
             QStringLiteral("5"), H::MathOperation::DIVIDE, QStringLiteral("2.5E-1"),
             QStringLiteral("3"), H::RoundingMethod::HALF_EVEN, H::Sound::CLAVES, true, true, false,
             true, H::EditOperation::KEEP, H::EditPosition::LAST, QStringLiteral("4"),
             allByteValues(),
             QString::fromUtf8("  Wt\\s?=:#!\\\\ ([-+]?\\d+)\n\xe2\x82\xac\xf0\x9f\x98\x80"), true,
             QStringLiteral("1500"), QStringLiteral("0.05"));
    c.stableOnly = true;
    c.reconnect = false;
    c.setRequestCommand(QString::fromUtf8("<27>P <13><10>\xc3\xa4<"));
    c.setRequestMode(H::RequestMode::INTERVAL);
    c.setRequestIntervalMs(QStringLiteral("250"));
    return c;
}

// The record that loading an empty store gives.
inline Config loadDefaults() {
    Config c;
    c.setInstrument(H::Instrument::GENERIC);
    c.setBitRate(7);
    c.setDataBits(3);
    c.setInputTerminator(13);
    c.minimizeToTray = false;
    c.notifyWhenMinimizedToTray = false;
    c.abortAutoStartWhenPrevPortNotAvailable = false;
    return c;
}

// Collects the store's diagnostic output while alive.
class Diagnostics {
public:
    Diagnostics() {
        serwedge::prefs::setDiagnosticSink([this](const QString& t) { lines.append(t); });
    }
    ~Diagnostics() { serwedge::prefs::setDiagnosticSink({}); }
    bool has(const QString& text) const { return lines.contains(text); }
    bool hasPrefix(const QString& prefix) const {
        for (const QString& l : lines) {
            if (l.startsWith(prefix)) {
                return true;
            }
        }
        return false;
    }
    QStringList lines;
};

inline QByteArray readAll(const QString& path) {
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly)) {
        return {};
    }
    return f.readAll();
}

inline void writeAll(const QString& path, const QByteArray& data) {
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
    ASSERT_EQ(f.write(data), data.size());
}

inline void expectSameConfig(const Config& a, const Config& b) {
    EXPECT_FALSE(Config::hasChanged(a, b))
        << "customRegEx " << a.getCustomRegEx().toStdString() << " / "
        << b.getCustomRegEx().toStdString() << ", removeCharacters "
        << a.getRemoveCharacters().toStdString() << " / " << b.getRemoveCharacters().toStdString();
}

} // namespace prefstest

#include "PrefsTestSupport.h"
#include "ReferenceProperties.h"

#include "serwedge/prefs/Properties.h"

using namespace prefstest;
namespace properties = serwedge::prefs::properties;

namespace {

QMap<QString, QString> specialEntries() {
    QMap<QString, QString> entries;
    int i = 0;
    for (const QString& text : specialTexts()) {
        entries.insert(QStringLiteral("value%1").arg(i++), text);
        if (!text.isEmpty()) {
            entries.insert(text, QStringLiteral("as key"));
        }
    }
    return entries;
}

} // namespace

TEST(PropertiesFormat, ourFileIsReadByAStandardReader) {
    const QMap<QString, QString> entries = specialEntries();
    const QByteArray bytes = properties::write(entries, QStringLiteral("FilePreferences"));
    for (char c : bytes) {
        ASSERT_LT(static_cast<unsigned char>(c), 0x80) << "not plain ASCII, so not portable";
    }
    const auto read = reference::read(bytes.toStdString());
    ASSERT_EQ(read.size(), static_cast<std::size_t>(entries.size()));
    for (auto it = entries.begin(); it != entries.end(); ++it) {
        const auto found = read.find(u16(it.key()));
        ASSERT_NE(found, read.end()) << it.key().toStdString();
        EXPECT_EQ(qs(found->second), it.value()) << it.key().toStdString();
    }
    EXPECT_TRUE(bytes.startsWith("#FilePreferences\n#"));
}

TEST(PropertiesFormat, aStandardWritersFileIsReadBack) {
    std::map<std::u16string, std::u16string> entries;
    for (auto [k, v] : specialEntries().toStdMap()) {
        entries[u16(k)] = u16(v);
    }
    const auto parsed = properties::parse(QByteArray::fromStdString(reference::write(entries)));
    ASSERT_EQ(static_cast<std::size_t>(parsed.size()), entries.size());
    for (const auto& [k, v] : entries) {
        EXPECT_EQ(parsed.value(qs(k), QStringLiteral("<missing>")), qs(v)) << qs(k).toStdString();
    }
}

TEST(PropertiesFormat, readerFollowsTheFormatsLineRules) {
    struct Case {
        const char* file;
        const char* key;
        QString value;
    };
    const Case cases[] = {
        {"a=1", "a", QStringLiteral("1")},
        {"a = 1", "a", QStringLiteral("1")},
        {"a:1", "a", QStringLiteral("1")},
        {"a 1", "a", QStringLiteral("1")},
        {"   a=1", "a", QStringLiteral("1")},
        {"a=  1 ", "a", QStringLiteral("1 ")},
        {"a==1", "a", QStringLiteral("=1")},
        {"a\\=b=1", "a=b", QStringLiteral("1")},
        {"a\\ b=1", "a b", QStringLiteral("1")},
        {"a=one \\\n    two", "a", QStringLiteral("one two")},
        {"a=one \\\r\n  two\\\r  three", "a", QStringLiteral("one twothree")},
        {"a=ends in backslash\\\\", "a", QStringLiteral("ends in backslash\\")},
        {"#a=1\n!a=2\na=3", "a", QStringLiteral("3")},
        {"a", "a", QString()},
        {"a=\\u00e4\\u20AC\\z", "a", QString::fromUtf8("\xc3\xa4\xe2\x82\xac") + u'z'},
        {"a=\xe4\xff", "a", QString::fromLatin1("\xe4\xff")}, // bytes are ISO 8859-1
        {"a=1\na=2", "a", QStringLiteral("2")},
        {"a=truncated continuation\\", "a", QStringLiteral("truncated continuation")},
    };
    for (const Case& c : cases) {
        const auto parsed = properties::parse(QByteArray(c.file));
        EXPECT_EQ(parsed.value(QLatin1String(c.key), QStringLiteral("<missing>")), c.value)
            << c.file;
        const auto ref = reference::read(c.file);
        EXPECT_EQ(qs(ref.at(u16(QLatin1String(c.key)))), c.value) << "reference: " << c.file;
    }
}

TEST(PropertiesFormat, malformedUnicodeEscapesAreRefused) {
    for (const char* file : {"a=\\u12", "a=\\u12x4", "a=\\uzzzz\nb=2", "k\\u00=1"}) {
        EXPECT_THROW(properties::parse(QByteArray(file)), properties::FormatError) << file;
    }
}

TEST(PropertiesFormat, binaryJunkParsesWithoutHarm) {
    QByteArray junk;
    quint32 x = 12345;
    for (int i = 0; i < 20000; ++i) {
        x = x * 1103515245u + 12345u;
        char c = static_cast<char>(x >> 24);
        junk.append(c == '\\' ? 'x' : c);
    }
    EXPECT_NO_THROW(properties::parse(junk));
}

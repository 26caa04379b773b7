#include "serwedge/prefs/PreferencesXml.h"

#include <QIODevice>
#include <QMap>
#include <QXmlStreamReader>
#include <QXmlStreamWriter>

#include <optional>

namespace serwedge::prefs {

namespace {

const QString kDocType =
    QStringLiteral("<!DOCTYPE preferences SYSTEM \"http://java.sun.com/dtd/preferences.dtd\">");
// The mark of a document whose keys and values are escaped, and its one escape scheme.
const QString kEscapesTarget = QStringLiteral("tallyra-escapes");
const QString kEscapesScheme = QStringLiteral("backslash");

// XML 1.0 cannot carry most control characters, unpaired surrogates or U+FFFE/U+FFFF.
bool xmlCanCarry(const QString& text) {
    for (qsizetype i = 0; i < text.size(); ++i) {
        const char16_t c = text[i].unicode();
        if (c < 0x20 && c != u'\t' && c != u'\n' && c != u'\r') {
            return false;
        }
        if (c == 0xFFFE || c == 0xFFFF) {
            return false;
        }
        if (QChar::isHighSurrogate(c)) {
            if (i + 1 >= text.size() || !QChar::isLowSurrogate(text[i + 1].unicode())) {
                return false;
            }
            ++i;
        } else if (QChar::isLowSurrogate(c)) {
            return false;
        }
    }
    return true;
}

bool isControl(char16_t c) {
    return c < 0x20 || (c >= 0x7F && c <= 0x9F) || c == 0xFFFE || c == 0xFFFF;
}

// A backslash as two, control characters and unpaired surrogates as \uXXXX.
QString escapeText(const QString& text) {
    QString out;
    out.reserve(text.size());
    for (qsizetype i = 0; i < text.size(); ++i) {
        const char16_t c = text[i].unicode();
        const bool paired =
            (QChar::isHighSurrogate(c) && i + 1 < text.size() &&
             QChar::isLowSurrogate(text[i + 1].unicode())) ||
            (QChar::isLowSurrogate(c) && i > 0 && QChar::isHighSurrogate(text[i - 1].unicode()));
        if (c == u'\\') {
            out += QLatin1String("\\\\");
        } else if (isControl(c) || (QChar::isSurrogate(c) && !paired)) {
            static const char* const kHex = "0123456789ABCDEF";
            out += QLatin1String("\\u");
            for (int shift = 12; shift >= 0; shift -= 4) {
                out += QLatin1Char(kHex[(c >> shift) & 0xF]);
            }
        } else {
            out += QChar(c);
        }
    }
    return out;
}

int hexDigit(char16_t c) {
    if (c >= u'0' && c <= u'9') {
        return c - u'0';
    }
    if (c >= u'a' && c <= u'f') {
        return c - u'a' + 10;
    }
    if (c >= u'A' && c <= u'F') {
        return c - u'A' + 10;
    }
    return -1;
}

std::optional<QString> unescapeText(const QString& text) {
    QString out;
    out.reserve(text.size());
    for (qsizetype i = 0; i < text.size(); ++i) {
        if (text[i] != QLatin1Char('\\')) {
            out += text[i];
        } else if (i + 1 < text.size() && text[i + 1] == QLatin1Char('\\')) {
            out += QLatin1Char('\\');
            ++i;
        } else if (i + 5 < text.size() && text[i + 1] == QLatin1Char('u')) {
            char16_t code = 0;
            for (qsizetype k = i + 2; k < i + 6; ++k) {
                const int digit = hexDigit(text[k].unicode());
                if (digit < 0) {
                    return std::nullopt;
                }
                code = char16_t(code * 16 + digit);
            }
            out += QChar(code);
            i += 5;
        } else {
            return std::nullopt;
        }
    }
    return out;
}

QStringList pathNames(const QString& path) {
    QStringList names = path.split(QLatin1Char('/'), Qt::SkipEmptyParts);
    return names;
}

} // namespace

void exportNode(Preferences& node, QIODevice& out) {
    const QStringList keys = node.keys();
    QList<std::pair<QString, QString>> entries;
    bool escaped = false;
    for (const QString& key : keys) {
        const QString value = node.get(key, QString());
        escaped = escaped || !xmlCanCarry(key) || !xmlCanCarry(value);
        entries.append({key, value});
    }
    if (escaped) {
        for (auto& [key, value] : entries) {
            key = escapeText(key);
            value = escapeText(value);
        }
    }
    QXmlStreamWriter xml(&out);
    xml.setAutoFormatting(true);
    xml.writeStartDocument(QStringLiteral("1.0"), false);
    xml.writeDTD(kDocType);
    if (escaped) {
        xml.writeProcessingInstruction(kEscapesTarget, kEscapesScheme);
    }
    xml.writeStartElement(QStringLiteral("preferences"));
    xml.writeAttribute(QStringLiteral("EXTERNAL_XML_VERSION"), QStringLiteral("1.0"));
    xml.writeStartElement(QStringLiteral("root"));
    xml.writeAttribute(QStringLiteral("type"), QStringLiteral("user"));
    const QStringList names = pathNames(node.absolutePath());
    for (const QString& name : names) {
        xml.writeEmptyElement(QStringLiteral("map"));
        xml.writeStartElement(QStringLiteral("node"));
        xml.writeAttribute(QStringLiteral("name"), name);
    }
    if (entries.isEmpty()) {
        xml.writeEmptyElement(QStringLiteral("map"));
    } else {
        xml.writeStartElement(QStringLiteral("map"));
        for (const auto& [key, value] : entries) {
            xml.writeEmptyElement(QStringLiteral("entry"));
            xml.writeAttribute(QStringLiteral("key"), key);
            xml.writeAttribute(QStringLiteral("value"), value);
        }
        xml.writeEndElement();
    }
    xml.writeEndDocument(); // closes the nodes, root and preferences
    if (xml.hasError()) {
        throw BackingStoreError(QStringLiteral("Cannot write the export file: ") +
                                out.errorString());
    }
}

QMap<QString, QString> readPreferencesDocument(QIODevice& in, const QString& nodePath,
                                               const ImportLimits& limits, int* ignored) {
    QMap<QString, QString> found;
    for (const auto& [key, value] : readPreferenceEntries(in, nodePath, limits, ignored)) {
        found.insert(key, value);
    }
    return found;
}

QList<std::pair<QString, QString>> readPreferenceEntries(QIODevice& in, const QString& nodePath,
                                                         const ImportLimits& limits, int* ignored) {
    const QByteArray data = in.read(limits.maxBytes + 1);
    if (data.size() > limits.maxBytes) {
        throw InvalidPreferencesFormatError(
            QStringLiteral("The file is larger than %1 bytes; it is not a settings export")
                .arg(limits.maxBytes));
    }
    const QStringList wanted = pathNames(nodePath);
    QXmlStreamReader xml(data);
    xml.setNamespaceProcessing(false);

    const auto fail = [&xml](const QString& what) {
        throw InvalidPreferencesFormatError(QStringLiteral("Line %1, column %2: %3")
                                                .arg(xml.lineNumber())
                                                .arg(xml.columnNumber())
                                                .arg(what));
    };

    QList<std::pair<QString, QString>> found;
    QMap<QString, qsizetype> foundAt; // key -> its place in found
    int entries = 0;
    int others = 0;
    bool escaped = false;
    bool sawRoot = false;
    bool sawPreferences = false;
    // Element names from the document element down, and the node names within the root.
    QStringList elements;
    QStringList nodePathNow;

    while (!xml.atEnd()) {
        switch (xml.readNext()) {
        case QXmlStreamReader::DTD:
            if (!xml.entityDeclarations().isEmpty() ||
                xml.text().contains(QLatin1String("<!ENTITY"))) {
                fail(QStringLiteral("entity declarations are not allowed"));
            }
            if (!xml.dtdName().isEmpty() && xml.dtdName() != QLatin1String("preferences")) {
                fail(QStringLiteral("the document type is not preferences"));
            }
            break;
        case QXmlStreamReader::ProcessingInstruction:
            if (xml.processingInstructionTarget() == kEscapesTarget) {
                if (!elements.isEmpty()) {
                    fail(QStringLiteral("the escapes mark must come before the document element"));
                }
                if (xml.processingInstructionData().trimmed() != kEscapesScheme) {
                    fail(QStringLiteral("unknown escapes %1")
                             .arg(xml.processingInstructionData().toString()));
                }
                escaped = true;
            }
            break;
        case QXmlStreamReader::EntityReference:
            fail(QStringLiteral("entity references are not allowed"));
            break;
        case QXmlStreamReader::StartElement: {
            const QString name = xml.name().toString();
            const QString parent = elements.isEmpty() ? QString() : elements.back();
            if (elements.size() >= limits.maxDepth) {
                fail(QStringLiteral("the elements are nested more than %1 deep")
                         .arg(limits.maxDepth));
            }
            const auto attrs = xml.attributes();
            if (elements.isEmpty()) {
                if (name != QLatin1String("preferences")) {
                    fail(QStringLiteral("the document element is not preferences"));
                }
                const QString version =
                    attrs.value(QLatin1String("EXTERNAL_XML_VERSION")).toString();
                if (!version.isEmpty() && version != QLatin1String("1.0")) {
                    fail(QStringLiteral("version %1 of the preferences format is not supported")
                             .arg(version));
                }
                sawPreferences = true;
            } else if (name == QLatin1String("root") && parent == QLatin1String("preferences")) {
                if (sawRoot) {
                    fail(QStringLiteral("more than one root"));
                }
                const QString type = attrs.value(QLatin1String("type")).toString();
                if (type != QLatin1String("user") && type != QLatin1String("system")) {
                    fail(QStringLiteral("the root type must be user or system"));
                }
                sawRoot = true;
            } else if (name == QLatin1String("node") &&
                       (parent == QLatin1String("root") || parent == QLatin1String("node"))) {
                const QString nodeName = attrs.value(QLatin1String("name")).toString();
                if (nodeName.isEmpty() || nodeName.contains(QLatin1Char('/'))) {
                    fail(QStringLiteral("a node without a valid name"));
                }
                nodePathNow.append(nodeName);
            } else if (name == QLatin1String("map") &&
                       (parent == QLatin1String("root") || parent == QLatin1String("node"))) {
            } else if (name == QLatin1String("entry") && parent == QLatin1String("map")) {
                if (++entries > limits.maxEntries) {
                    fail(QStringLiteral("more than %1 entries").arg(limits.maxEntries));
                }
                if (!attrs.hasAttribute(QLatin1String("key")) ||
                    !attrs.hasAttribute(QLatin1String("value"))) {
                    fail(QStringLiteral("an entry without key or value"));
                }
                QString key = attrs.value(QLatin1String("key")).toString();
                QString value = attrs.value(QLatin1String("value")).toString();
                if (nodePathNow == wanted && escaped) {
                    const auto plainKey = unescapeText(key);
                    const auto plainValue = unescapeText(value);
                    if (!plainKey || !plainValue) {
                        fail(QStringLiteral("a malformed escape in the entry %1")
                                 .arg(key.left(100)));
                    }
                    key = *plainKey;
                    value = *plainValue;
                }
                if (nodePathNow == wanted) {
                    if (key.isEmpty() || key.size() > Preferences::kMaxKeyLength) {
                        fail(QStringLiteral("the key \"%1\" is not 1 to 80 characters long")
                                 .arg(key.left(100)));
                    }
                    if (value.size() > Preferences::kMaxValueLength) {
                        fail(QStringLiteral("the value of %1 is longer than 8192 characters")
                                 .arg(key));
                    }
                    const auto at = foundAt.constFind(key);
                    if (at == foundAt.constEnd()) {
                        foundAt.insert(key, found.size());
                        found.append({key, value});
                    } else {
                        found[*at].second = value;
                    }
                } else {
                    ++others;
                }
            } else {
                fail(QStringLiteral("unexpected element %1").arg(name));
            }
            elements.append(name);
            break;
        }
        case QXmlStreamReader::EndElement:
            if (elements.back() == QLatin1String("node")) {
                nodePathNow.removeLast();
            }
            elements.removeLast();
            break;
        case QXmlStreamReader::Characters:
            if (!xml.isWhitespace()) {
                fail(QStringLiteral("unexpected text"));
            }
            break;
        default:
            break;
        }
    }
    if (xml.hasError()) {
        fail(xml.errorString());
    }
    if (!sawPreferences || !sawRoot) {
        throw InvalidPreferencesFormatError(
            QStringLiteral("The file is not a preferences export (no preferences root)"));
    }
    if (ignored) {
        *ignored = others;
    }
    return found;
}

ImportResult importPreferences(QIODevice& in, Preferences& root, const QString& nodePath,
                               const ImportLimits& limits) {
    ImportResult result;
    const auto entries = readPreferenceEntries(in, nodePath, limits, &result.ignored);
    if (entries.isEmpty()) {
        return result;
    }
    root.node(nodePath).putAll(entries);
    result.applied = static_cast<int>(entries.size());
    return result;
}

} // namespace serwedge::prefs

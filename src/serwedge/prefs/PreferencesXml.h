#pragma once

#include "serwedge/prefs/Preferences.h"

#include <QList>
#include <QString>
#include <QStringList>

#include <stdexcept>
#include <utility>

class QIODevice;

namespace serwedge::prefs {

// An import document that is not a readable preferences document, or is beyond the limits.
class InvalidPreferencesFormatError : public std::runtime_error {
public:
    explicit InvalidPreferencesFormatError(const QString& message)
        : std::runtime_error(message.toStdString()) {}
};

// Bounds for import documents, so that a huge or deeply nested file cannot exhaust the program.
struct ImportLimits {
    qint64 maxBytes = 4 * 1024 * 1024;
    int maxDepth = 64;      // element nesting
    int maxEntries = 10000; // entries of all nodes together
};

struct ImportResult {
    int applied = 0;         // entries written into the imported node
    int ignored = 0;         // entries of other nodes, left alone
    QStringList unknownKeys; // keys of the node that are no settings, left alone (each once)
};

// Writes the node and its entries (not its children) in the XML preferences format, with the
// node's ancestors as empty nodes: "<!DOCTYPE preferences SYSTEM ...>", "<preferences
// EXTERNAL_XML_VERSION="1.0">", "<root type="user">", nested "<node name=...>" with "<map>" of
// "<entry key=... value=.../>". XML 1.0 cannot carry most control characters, not even as
// references: when a key or value holds one, the document is marked with the processing
// instruction <?tallyra-escapes backslash?> and every key and value is written escaped, a
// backslash as "\\" and each control character (and each UTF-16 unit XML cannot carry) as
// "\uXXXX". Documents without the mark are read as they are, as other programs write them.
// Throws BackingStoreError when the device cannot be written.
void exportNode(Preferences& node, QIODevice& out);

// Reads a whole document in that format and puts the entries of the node at nodePath (an
// absolute path such as "/com/brindle/Tallyra") into the store below root; every other node of
// the document is ignored. Nothing is written unless the whole document is valid. External
// entities are never resolved: a document that declares entities is refused.
// Throws InvalidPreferencesFormatError.
ImportResult importPreferences(QIODevice& in, Preferences& root, const QString& nodePath,
                               const ImportLimits& limits = {});

// The entries of the node at nodePath in the document, without writing anything.
QMap<QString, QString> readPreferencesDocument(QIODevice& in, const QString& nodePath,
                                               const ImportLimits& limits, int* ignored);
// The same entries in document order; a key given twice keeps its last value at its first place.
QList<std::pair<QString, QString>> readPreferenceEntries(QIODevice& in, const QString& nodePath,
                                                         const ImportLimits& limits, int* ignored);

} // namespace serwedge::prefs

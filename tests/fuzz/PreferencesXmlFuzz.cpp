// The settings import on arbitrary documents.
//
// A document is either refused with InvalidPreferencesFormatError, leaving the store as it was,
// or imported; an imported node, exported and imported again, gives the same entries.

#include "FuzzSupport.h"

#include "serwedge/prefs/MemoryPreferences.h"
#include "serwedge/prefs/PreferencesXml.h"

#include <QBuffer>

using namespace serwedge::prefs;

namespace {

const QString kNode = QStringLiteral("/com/brindle/Tallyra");

QMap<QString, QString> entriesOf(Preferences& node) {
    QMap<QString, QString> all;
    for (const QString& key : node.keys())
        all.insert(key, node.get(key, {}));
    return all;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    QByteArray document(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size));
    QBuffer in(&document);
    in.open(QIODevice::ReadOnly);
    MemoryPreferences root;
    root.node(kNode).put(QStringLiteral("before"), QStringLiteral("kept"));
    ImportResult result;
    try {
        result = importPreferences(in, root, kNode, ImportLimits{64 * 1024, 32, 1000});
    } catch (const InvalidPreferencesFormatError&) {
        fuzz::check(entriesOf(root.node(kNode)) ==
                        QMap<QString, QString>{{QStringLiteral("before"), QStringLiteral("kept")}},
                    "a refused document changes nothing");
        return 0;
    }
    fuzz::check(result.applied >= 0 && result.ignored >= 0, "counts");

    QByteArray exported;
    QBuffer out(&exported);
    out.open(QIODevice::WriteOnly);
    try {
        exportNode(root.node(kNode), out);
    } catch (const BackingStoreError&) {
        return 0; // a value XML cannot carry; the export says so
    }
    out.close();
    QBuffer back(&exported);
    back.open(QIODevice::ReadOnly);
    int ignored = 0;
    const QMap<QString, QString> reread = readPreferencesDocument(back, kNode, {}, &ignored);
    fuzz::check(reread == entriesOf(root.node(kNode)), "export and import agree",
                QString::fromUtf8(exported));
    return 0;
}

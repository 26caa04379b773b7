#pragma once

#include <QString>
#include <QStringList>

#include <functional>
#include <map>
#include <memory>
#include <optional>
#include <stdexcept>
#include <vector>

class QIODevice;

namespace serwedge::prefs {

// The store could not read or write its backing data (a file, the registry). Saving catches it.
class BackingStoreError : public std::runtime_error {
public:
    explicit BackingStoreError(const QString& message)
        : std::runtime_error(message.toStdString()) {}
};

// The store refused access (no rights to the settings). Reaches the caller of a save.
class AccessDeniedError : public std::runtime_error {
public:
    explicit AccessDeniedError(const QString& message)
        : std::runtime_error(message.toStdString()) {}
};

// Diagnostic output of the store (file back-end, saving). Standard output unless replaced.
using DiagnosticSink = std::function<void(const QString&)>;
void setDiagnosticSink(DiagnosticSink sink); // an empty sink restores standard output
void diagnostic(const QString& text);

// Events of the store the user must hear about, such as a damaged store that was kept aside. They
// go to the notice sink, or to the diagnostic output while none is set.
void setNoticeSink(DiagnosticSink sink);
void notice(const QString& text);

// Moves a damaged store file aside as "<file>.damaged-<yyyyMMdd-HHmmss>" (with "-2", "-3", ...
// when that name is taken), reports it as a notice naming both paths and the reason, and answers
// the new path. Throws BackingStoreError when the file cannot be moved; it then stays as it was.
QString keepDamagedFile(const QString& path, const QString& reason);

// One node of a hierarchical preferences store: text values under text keys, and named child
// nodes. Back-ends implement the per-node operations (the ...Spi functions); this class resolves
// paths, keeps the children created in this process and does the typed conversions.
// Nodes live as long as their root; references to them stay valid, even after removeNode().
class Preferences {
public:
    static constexpr int kMaxKeyLength = 80;
    static constexpr int kMaxValueLength = 8 * 1024;
    static constexpr int kMaxNameLength = 80;

    virtual ~Preferences();
    Preferences(const Preferences&) = delete;
    Preferences& operator=(const Preferences&) = delete;

    // The stored text, or def when the key is absent.
    QString get(const QString& key, const QString& def) const;
    // The stored decimal integer (optional sign, 32-bit), or def when absent or not one.
    int getInt(const QString& key, int def) const;
    // "true" or "false" in any case, or def when absent or neither.
    bool getBoolean(const QString& key, bool def) const;

    // Keys are 1..80 characters, values up to 8192; longer ones throw std::invalid_argument.
    void put(const QString& key, const QString& value);
    void putInt(const QString& key, int value);
    void putBoolean(const QString& key, bool value);
    void remove(const QString& key);
    // Puts every entry and writes them to the backing store in one step: afterwards either all of
    // them are stored, or, when the write fails, the node holds the values it held before and the
    // failure is thrown. The keys and values are checked like put() before anything changes.
    void putAll(const QList<std::pair<QString, QString>>& entries);

    QStringList keys() const;          // sorted
    QStringList childrenNames() const; // sorted, children in the backing store and this process
    // A relative ("a/b") or absolute ("/com/brindle/Tallyra") path; missing nodes are created.
    Preferences& node(const QString& path);
    // True when the child exists in this process or in the backing store.
    bool nodeExists(const QString& path);
    // Removes this node, its subtree and their entries. The root cannot be removed.
    void removeNode();
    // Writes pending changes of this node and its subtree to the backing store.
    void flush();
    // Re-reads this node and its subtree from the backing store.
    void sync();

    const QString& name() const { return name_; }
    QString absolutePath() const; // "/" for the root
    Preferences* parent() const { return parent_; }
    bool isRemoved() const { return removed_; }
    bool isRoot() const { return parent_ == nullptr; }

protected:
    Preferences(Preferences* parent, QString name);

    virtual QString getSpi(const QString& key, bool* found) const = 0;
    virtual void putSpi(const QString& key, const QString& value) = 0;
    virtual void removeSpi(const QString& key) = 0;
    virtual QStringList keysSpi() const = 0;
    virtual QStringList childrenNamesSpi() const = 0;
    // Creates the child node, registers it with adopt() and returns it.
    virtual Preferences& childSpi(const QString& name) = 0;
    virtual void removeNodeSpi() = 0;
    virtual void syncSpi() = 0;
    virtual void flushSpi() = 0;
    // Default: putSpi for each entry, then flushSpi; on a failure the earlier values are put back.
    virtual void putAllSpi(const QList<std::pair<QString, QString>>& entries);

    // The child of that name created in this process, or none.
    Preferences* cachedChild(const QString& name) const;
    // Registers a new child in this node's child map.
    Preferences& adopt(std::unique_ptr<Preferences> child);

private:
    Preferences& child(const QString& name);
    void checkNotRemoved() const;
    void removeSubtree();
    void forSubtree(const std::function<void(Preferences&)>& action);

    Preferences* parent_;
    QString name_;
    bool removed_ = false;
    std::map<QString, std::unique_ptr<Preferences>> children_;
    // Removed children stay alive so that references to them keep working.
    std::vector<std::unique_ptr<Preferences>> removedChildren_;
};

} // namespace serwedge::prefs

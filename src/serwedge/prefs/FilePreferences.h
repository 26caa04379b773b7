#pragma once

#include "serwedge/prefs/Preferences.h"

#include <QMap>
#include <QString>

#include <functional>
#include <memory>
#include <mutex>
#include <optional>

namespace serwedge::prefs {

class FilePreferences;

// The settings-file back-end: every node of the tree lives in one properties file, under full
// keys made of the node prefix and the entry's key ("com.brindle.Tallyra.bitRate=7").
class FilePreferencesFactory {
public:
    // The largest settings file read and written. A larger file is taken as damaged; a write
    // that would make the file larger is refused, so that what is written can be read again.
    static constexpr qint64 kMaxFileSize = 1024 * 1024;

    // The process's factory: its file comes from the preferences-file property, or
    // ".fileprefs" in the user's home directory.
    static FilePreferencesFactory& instance();

    FilePreferencesFactory();
    // A factory for the given file (tests, tools).
    explicit FilePreferencesFactory(const QString& file);
    ~FilePreferencesFactory();
    FilePreferencesFactory(const FilePreferencesFactory&) = delete;
    FilePreferencesFactory& operator=(const FilePreferencesFactory&) = delete;

    Preferences& userRoot();
    Preferences& systemRoot(); // the same root as userRoot()
    // Decided once, made absolute, cached and logged as "Preferences file is <path>".
    QString getPreferencesFile();

    // Reads the file with every lock held: what other processes wrote is seen. A missing file
    // reads as empty. A damaged file (too large, or malformed) is kept aside with
    // keepDamagedFile() and reads as empty. Throws BackingStoreError for a file that cannot be
    // read.
    QMap<QString, QString> readFile();
    // Reads, changes and writes back the file atomically, with both locks held. Throws
    // BackingStoreError, having written nothing, when the file cannot be read or written or the
    // new contents would exceed kMaxFileSize.
    void updateFile(const std::function<void(QMap<QString, QString>&)>& change);

private:
    QMap<QString, QString> readUnlocked(const QString& path);

    QString givenFile_;
    QString file_;
    bool fileDecided_ = false;
    std::unique_ptr<FilePreferences> root_;
    std::mutex mutex_; // between threads; a lock file keeps other processes out
};

// One node of the settings file.
class FilePreferences : public Preferences {
public:
    FilePreferences(FilePreferencesFactory& factory, FilePreferences* parent, const QString& name);

    // The names of the nodes below the root, each followed by "."; empty for the root.
    QString prefix() const;

protected:
    QString getSpi(const QString& key, bool* found) const override;
    void putSpi(const QString& key, const QString& value) override;
    void removeSpi(const QString& key) override;
    QStringList keysSpi() const override;
    QStringList childrenNamesSpi() const override;
    Preferences& childSpi(const QString& name) override;
    void removeNodeSpi() override;
    void syncSpi() override;
    void flushSpi() override;
    void putAllSpi(const QList<std::pair<QString, QString>>& entries) override;

private:
    // Changes of this node not yet in the file: a value put, or none for a key removed.
    using Pending = QMap<QString, std::optional<QString>>;
    // Writes the changes over what the file holds now, so that keys other processes changed in
    // the meantime keep their new values.
    void writeChanges(const Pending& changes);

    FilePreferencesFactory& factory_;
    QMap<QString, QString> entries_;
    Pending pending_;
};

} // namespace serwedge::prefs

#include "serwedge/prefs/FilePreferences.h"

#include "config/ConfigBundle.h"
#include "props/Props.h"
#include "serwedge/prefs/Properties.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLockFile>
#include <QSaveFile>

namespace serwedge::prefs {

namespace {

constexpr int kLockTimeoutMs = 10000;
const QString kComment = QStringLiteral("FilePreferences");

// Holds the file's lock against other processes for one read or one read-change-write.
class FileLock {
public:
    explicit FileLock(const QString& file) : lock_(file + QStringLiteral(".lock")) {
        QDir().mkpath(QFileInfo(file).absolutePath());
        if (!lock_.tryLock(kLockTimeoutMs)) {
            QString why;
            switch (lock_.error()) {
            case QLockFile::LockFailedError:
                why = QStringLiteral("another process holds it");
                break;
            case QLockFile::PermissionError:
                why = QStringLiteral("no permission to create the lock file");
                break;
            default:
                why = QStringLiteral("unknown error");
            }
            throw BackingStoreError(QStringLiteral("Cannot lock the settings file %1 (%2)")
                                        .arg(QDir::toNativeSeparators(file), why));
        }
    }

private:
    QLockFile lock_;
};

// The entries of one node: full keys that begin with the prefix and have no "." after it.
bool isNodeKey(const QString& fullKey, const QString& prefix) {
    return fullKey.startsWith(prefix) && fullKey.indexOf(QLatin1Char('.'), prefix.size()) < 0;
}

} // namespace

FilePreferencesFactory& FilePreferencesFactory::instance() {
    static FilePreferencesFactory factory;
    return factory;
}

FilePreferencesFactory::FilePreferencesFactory() = default;

FilePreferencesFactory::FilePreferencesFactory(const QString& file) : givenFile_(file) {}

FilePreferencesFactory::~FilePreferencesFactory() = default;

Preferences& FilePreferencesFactory::userRoot() {
    if (!root_) {
        diagnostic(QStringLiteral("Instantiating root preferences"));
        root_ = std::make_unique<FilePreferences>(*this, nullptr, QString());
    }
    return *root_;
}

Preferences& FilePreferencesFactory::systemRoot() {
    return userRoot();
}

QString FilePreferencesFactory::getPreferencesFile() {
    if (!fileDecided_) {
        QString path = givenFile_;
        if (path.isEmpty()) {
            path = QString::fromStdString(props::get(props::kPrefsFileProperty, ""));
        }
        if (path.isEmpty()) {
            QString home = QString::fromStdString(props::get("user.home", ""));
            if (home.isEmpty()) {
                home = QDir::homePath();
            }
            path = home + QDir::separator() + QStringLiteral(".fileprefs");
        }
        file_ = QFileInfo(path).absoluteFilePath();
        fileDecided_ = true;
        diagnostic(QStringLiteral("Preferences file is ") + QDir::toNativeSeparators(file_));
    }
    return file_;
}

QMap<QString, QString> FilePreferencesFactory::readUnlocked(const QString& path) {
    QFile file(path);
    if (!file.exists()) {
        return {};
    }
    const QString shown = QDir::toNativeSeparators(path);
    if (file.size() > kMaxFileSize) {
        keepDamagedFile(path, QStringLiteral("larger than 1 MiB: %1 bytes").arg(file.size()));
        return {};
    }
    if (!file.open(QIODevice::ReadOnly)) {
        throw BackingStoreError(
            QStringLiteral("Cannot read the settings file %1: %2").arg(shown, file.errorString()));
    }
    // Read at most one byte more than allowed, in case the file grew since its size was taken.
    const QByteArray data = file.read(kMaxFileSize + 1);
    if (file.error() != QFileDevice::NoError) {
        throw BackingStoreError(
            QStringLiteral("Cannot read the settings file %1: %2").arg(shown, file.errorString()));
    }
    file.close();
    if (data.size() > kMaxFileSize) {
        keepDamagedFile(path, QStringLiteral("larger than 1 MiB"));
        return {};
    }
    try {
        return properties::parse(data);
    } catch (const properties::FormatError& e) {
        keepDamagedFile(path, QString::fromStdString(e.what()));
        return {};
    }
}

QMap<QString, QString> FilePreferencesFactory::readFile() {
    const QString path = getPreferencesFile();
    std::lock_guard threads(mutex_);
    FileLock processes(path);
    return readUnlocked(path);
}

void FilePreferencesFactory::updateFile(
    const std::function<void(QMap<QString, QString>&)>& change) {
    const QString path = getPreferencesFile();
    std::lock_guard threads(mutex_);
    FileLock processes(path);
    QMap<QString, QString> entries = readUnlocked(path);
    change(entries);
    const QByteArray data = properties::write(entries, kComment);
    // The reader refuses larger files, so they are never written.
    if (data.size() > kMaxFileSize) {
        throw BackingStoreError(config::configBundle().format("settings.file.too.large",
                                                              {QString::number(data.size()),
                                                               QDir::toNativeSeparators(path),
                                                               QString::number(kMaxFileSize)}));
    }
    // The new contents go to a temporary file that replaces the old one in one step, so that a
    // crash or power cut leaves either the old file or the new one, never a part of either.
    QSaveFile out(path);
    if (!out.open(QIODevice::WriteOnly)) {
        throw BackingStoreError(QStringLiteral("Cannot write the settings file %1: %2")
                                    .arg(QDir::toNativeSeparators(path), out.errorString()));
    }
    if (out.write(data) != data.size() || !out.commit()) {
        throw BackingStoreError(QStringLiteral("Cannot write the settings file %1: %2")
                                    .arg(QDir::toNativeSeparators(path), out.errorString()));
    }
}

FilePreferences::FilePreferences(FilePreferencesFactory& factory, FilePreferences* parent,
                                 const QString& name)
    : Preferences(parent, name), factory_(factory) {}

QString FilePreferences::prefix() const {
    if (isRoot()) {
        return {};
    }
    return static_cast<const FilePreferences*>(parent())->prefix() + name() + QLatin1Char('.');
}

QString FilePreferences::getSpi(const QString& key, bool* found) const {
    const auto it = entries_.constFind(key);
    *found = it != entries_.constEnd();
    return *found ? *it : QString();
}

void FilePreferences::putSpi(const QString& key, const QString& value) {
    entries_.insert(key, value);
    pending_.insert(key, value);
    try {
        flush();
    } catch (const BackingStoreError&) {
        diagnostic(QStringLiteral("Unable to flush after putting ") + key);
    }
}

void FilePreferences::removeSpi(const QString& key) {
    entries_.remove(key);
    pending_.insert(key, std::nullopt);
    try {
        flush();
    } catch (const BackingStoreError&) {
        diagnostic(QStringLiteral("Unable to flush after removing ") + key);
    }
}

QStringList FilePreferences::keysSpi() const {
    return entries_.keys();
}

QStringList FilePreferences::childrenNamesSpi() const {
    return {}; // the children created in this process, which the base class lists
}

Preferences& FilePreferences::childSpi(const QString& name) {
    diagnostic(QStringLiteral("Instantiating node ") + name);
    Preferences& kid = adopt(std::make_unique<FilePreferences>(factory_, this, name));
    try {
        kid.sync();
    } catch (const BackingStoreError&) {
        diagnostic(QStringLiteral("Unable to sync on creation of node ") + name);
    }
    return kid;
}

void FilePreferences::removeNodeSpi() {
    flush();
}

void FilePreferences::syncSpi() {
    if (isRemoved() || !QFileInfo::exists(factory_.getPreferencesFile())) {
        return;
    }
    const QString nodePrefix = prefix();
    const QMap<QString, QString> all = factory_.readFile();
    for (auto it = all.begin(); it != all.end(); ++it) {
        if (isNodeKey(it.key(), nodePrefix)) {
            entries_.insert(it.key().mid(nodePrefix.size()), it.value());
        }
    }
    // Changes not yet written stay this node's view.
    for (auto it = pending_.begin(); it != pending_.end(); ++it) {
        if (it.value()) {
            entries_.insert(it.key(), *it.value());
        } else {
            entries_.remove(it.key());
        }
    }
}

void FilePreferences::writeChanges(const Pending& changes) {
    const QString nodePrefix = prefix();
    factory_.updateFile([&](QMap<QString, QString>& all) {
        if (isRemoved()) {
            for (auto it = all.begin(); it != all.end();) {
                it = isNodeKey(it.key(), nodePrefix) ? all.erase(it) : std::next(it);
            }
            return;
        }
        for (auto it = changes.begin(); it != changes.end(); ++it) {
            if (it.value()) {
                all.insert(nodePrefix + it.key(), *it.value());
            } else {
                all.remove(nodePrefix + it.key());
            }
        }
    });
}

void FilePreferences::flushSpi() {
    if (!isRemoved() && pending_.isEmpty()) {
        return; // nothing of this node to write
    }
    writeChanges(pending_);
    pending_.clear();
}

void FilePreferences::putAllSpi(const QList<std::pair<QString, QString>>& entries) {
    Pending changes = pending_;
    for (const auto& [key, value] : entries) {
        changes.insert(key, value);
    }
    writeChanges(changes); // throws before anything in the node changed
    for (const auto& [key, value] : entries) {
        entries_.insert(key, value);
    }
    pending_.clear();
}

} // namespace serwedge::prefs

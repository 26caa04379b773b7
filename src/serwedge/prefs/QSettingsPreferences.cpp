#include "serwedge/prefs/QSettingsPreferences.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLockFile>
#include <QSettings>
#include <QTemporaryFile>

namespace serwedge::prefs {

namespace {

constexpr int kLockTimeoutMs = 10000;

// Runs an action inside the node's group and leaves the group again.
template <class F> auto inGroup(QSettings& settings, const QString& group, F&& action) {
    if (!group.isEmpty()) {
        settings.beginGroup(group);
    }
    struct Leave {
        QSettings& s;
        bool active;
        ~Leave() {
            if (active) {
                s.endGroup();
            }
        }
    } leave{settings, !group.isEmpty()};
    return action();
}

// Whether QSettings can read the store file. A copy is parsed, because QSettings caches a file
// per process and reports a format error only to the first object that reads it.
bool readableFile(const QString& path, QSettings::Format format) {
    QFile original(path);
    QTemporaryFile copy;
    if (!original.open(QIODevice::ReadOnly) || !copy.open()) {
        return true; // unreadable for other reasons: QSettings reports those itself
    }
    copy.write(original.readAll());
    copy.flush();
    QSettings probe(copy.fileName(), format);
    probe.allKeys();
    return probe.status() != QSettings::FormatError;
}

} // namespace

// The settings object shared by the nodes of one root.
class QSettingsPreferences::Backing {
public:
    explicit Backing(Opener open) : open_(std::move(open)), settings_(open_()) {}

    QSettings& settings() { return *settings_; }

    // Reads the store. A store file that cannot be read is kept aside and a fresh one begins.
    void checkReadable() {
        const QString path = settings_->fileName();
        const QSettings::Format format = settings_->format();
        if (QFileInfo(path).isFile() && !readableFile(path, format)) {
            // The lock QSettings takes while it writes the file keeps other writers out; another
            // process may have kept the file aside already.
            QLockFile lock(path + QStringLiteral(".lock"));
            if (!lock.tryLock(kLockTimeoutMs)) {
                throw BackingStoreError(QStringLiteral("Cannot lock the settings store %1")
                                            .arg(QDir::toNativeSeparators(path)));
            }
            if (QFileInfo(path).isFile() && !readableFile(path, format)) {
                settings_.reset();
                try {
                    keepDamagedFile(path, QStringLiteral("not in the format of the store"));
                } catch (...) {
                    settings_ = open_();
                    throw;
                }
            }
            settings_.reset();
            settings_ = open_();
        }
        settings_->sync(); // nothing is staged in QSettings here: this only reads
        checkStatus();
    }

    void checkStatus() const {
        switch (settings_->status()) {
        case QSettings::NoError:
            return;
        case QSettings::AccessError:
            throw AccessDeniedError(QStringLiteral("No access to the settings store %1")
                                        .arg(QDir::toNativeSeparators(settings_->fileName())));
        case QSettings::FormatError:
            throw BackingStoreError(QStringLiteral("The settings store %1 is damaged")
                                        .arg(QDir::toNativeSeparators(settings_->fileName())));
        }
    }

private:
    Opener open_;
    std::unique_ptr<QSettings> settings_;
};

Preferences& QSettingsPreferences::userRoot() {
    static QSettingsPreferences root([] {
        auto settings =
            std::make_unique<QSettings>(QSettings::NativeFormat, QSettings::UserScope,
                                        QStringLiteral("brindle"), QStringLiteral("Tallyra"));
        // The user's own store only, like a per-user preferences root.
        settings->setFallbacksEnabled(false);
        return settings;
    });
    return root;
}

QSettingsPreferences::QSettingsPreferences(Opener open)
    : QSettingsPreferences(std::make_shared<Backing>(std::move(open)), nullptr, QString()) {
    backing_->checkReadable();
}

QSettingsPreferences::QSettingsPreferences(std::shared_ptr<Backing> backing,
                                           QSettingsPreferences* parent, const QString& name)
    : Preferences(parent, name), backing_(std::move(backing)) {}

QSettingsPreferences::~QSettingsPreferences() = default;

QString QSettingsPreferences::group() const {
    if (isRoot()) {
        return {};
    }
    const QString above = static_cast<const QSettingsPreferences*>(parent())->group();
    return above.isEmpty() ? name() : above + QLatin1Char('/') + name();
}

QString QSettingsPreferences::fullKey(const QString& key) const {
    const QString g = group();
    return g.isEmpty() ? key : g + QLatin1Char('/') + key;
}

QString QSettingsPreferences::getSpi(const QString& key, bool* found) const {
    const auto staged = pending_.constFind(key);
    if (staged != pending_.constEnd()) {
        *found = staged->has_value();
        return *found ? **staged : QString();
    }
    const QVariant value = backing_->settings().value(fullKey(key));
    *found = value.isValid();
    return *found ? value.toString() : QString();
}

void QSettingsPreferences::putSpi(const QString& key, const QString& value) {
    pending_.insert(key, value);
}

void QSettingsPreferences::removeSpi(const QString& key) {
    pending_.insert(key, std::nullopt);
}

QStringList QSettingsPreferences::keysSpi() const {
    QSettings& settings = backing_->settings();
    QStringList keys = inGroup(settings, group(), [&] { return settings.childKeys(); });
    for (auto it = pending_.begin(); it != pending_.end(); ++it) {
        if (it.value()) {
            keys.append(it.key());
        } else {
            keys.removeAll(it.key());
        }
    }
    return keys;
}

QStringList QSettingsPreferences::childrenNamesSpi() const {
    QSettings& settings = backing_->settings();
    return inGroup(settings, group(), [&] { return settings.childGroups(); });
}

Preferences& QSettingsPreferences::childSpi(const QString& name) {
    return adopt(std::unique_ptr<Preferences>(new QSettingsPreferences(backing_, this, name)));
}

void QSettingsPreferences::removeNodeSpi() {
    pending_.clear();
    backing_->checkReadable();
    QSettings& settings = backing_->settings();
    settings.remove(group());
    settings.sync();
    backing_->checkStatus();
}

void QSettingsPreferences::syncSpi() {
    backing_->settings().sync();
    backing_->checkStatus();
}

void QSettingsPreferences::write(const Pending& changes) {
    backing_->checkReadable();
    QSettings& settings = backing_->settings();
    Pending before;
    for (auto it = changes.begin(); it != changes.end(); ++it) {
        const QVariant old = settings.value(fullKey(it.key()));
        before.insert(it.key(), old.isValid() ? std::optional(old.toString()) : std::nullopt);
    }
    const auto apply = [&](const Pending& entries) {
        for (auto it = entries.begin(); it != entries.end(); ++it) {
            const QString k = fullKey(it.key());
            if (it.value()) {
                settings.setValue(k, *it.value());
                continue;
            }
            // QSettings::remove would also drop a child group of the same name; keep it.
            QList<std::pair<QString, QVariant>> kept;
            inGroup(settings, k, [&] {
                for (const QString& sub : settings.allKeys()) {
                    kept.append({sub, settings.value(sub)});
                }
                return 0;
            });
            settings.remove(k);
            for (const auto& [sub, value] : kept) {
                settings.setValue(k + QLatin1Char('/') + sub, value);
            }
        }
    };
    apply(changes);
    // QSettings writes only the keys set or removed here over the file as it is now.
    settings.sync();
    try {
        backing_->checkStatus();
    } catch (...) {
        apply(before); // what a later write of QSettings carries is what was there
        throw;
    }
}

void QSettingsPreferences::flushSpi() {
    if (pending_.isEmpty()) {
        return;
    }
    write(pending_);
    pending_.clear();
}

void QSettingsPreferences::putAllSpi(const QList<std::pair<QString, QString>>& entries) {
    Pending changes = pending_;
    for (const auto& [key, value] : entries) {
        changes.insert(key, value);
    }
    write(changes);
    pending_.clear();
}

} // namespace serwedge::prefs

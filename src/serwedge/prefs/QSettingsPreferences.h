#pragma once

#include "serwedge/prefs/Preferences.h"

#include <QMap>

#include <functional>
#include <memory>
#include <optional>

class QSettings;

namespace serwedge::prefs {

// The default back-end: the platform's per-user settings store through QSettings in its native
// format (the registry on Windows, an INI file under ~/.config on Linux), organisation "brindle",
// application "Tallyra", without fallbacks to system-wide settings. A node path maps to a settings
// group.
//
// Puts and removes are staged in the node and handed to QSettings only when they are written, so
// that QSettings merges exactly this process's changes into what other processes stored. Before
// anything is written the store is read; a store that QSettings finds damaged is kept aside with
// keepDamagedFile() when it is a file, and a fresh one is written.
class QSettingsPreferences : public Preferences {
public:
    using Opener = std::function<std::unique_ptr<QSettings>()>;

    // The process's user root, opened on first use.
    static Preferences& userRoot();

    // A root over the settings objects that open() makes (tests, tools). It is opened again after
    // a damaged store was kept aside.
    explicit QSettingsPreferences(Opener open);
    ~QSettingsPreferences() override;

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
    class Backing;
    using Pending = QMap<QString, std::optional<QString>>; // a value put, or none: removed

    QSettingsPreferences(std::shared_ptr<Backing> backing, QSettingsPreferences* parent,
                         const QString& name);
    QString group() const;                     // "com/brindle/Tallyra", empty for the root
    QString fullKey(const QString& key) const; // group + "/" + key
    void write(const Pending& changes);

    std::shared_ptr<Backing> backing_;
    Pending pending_;
};

} // namespace serwedge::prefs

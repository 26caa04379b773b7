#pragma once

#include "serwedge/prefs/Preferences.h"

#include <memory>

class QSettings;

namespace serwedge::prefs {

// The default back-end: the platform's per-user settings store through QSettings in its native
// format (the registry on Windows, an INI file under ~/.config on Linux), organisation "brindle",
// application "Tallyra". A node path maps to a settings group.
class QSettingsPreferences : public Preferences {
public:
    // The process's user root, opened on first use.
    static Preferences& userRoot();

    // A root over the given settings object (tests, tools).
    explicit QSettingsPreferences(std::shared_ptr<QSettings> settings);
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

private:
    QSettingsPreferences(std::shared_ptr<QSettings> settings, QSettingsPreferences* parent,
                         const QString& name);
    QString group() const;                     // "com/brindle/Tallyra", empty for the root
    QString fullKey(const QString& key) const; // group + "/" + key
    void checkStatus() const;

    std::shared_ptr<QSettings> settings_;
};

} // namespace serwedge::prefs

#pragma once

#include "serwedge/prefs/Preferences.h"

#include <QMap>

namespace serwedge::prefs {

// A store that lives only in memory: settings read from an exported file, and tests.
class MemoryPreferences : public Preferences {
public:
    MemoryPreferences() : MemoryPreferences(nullptr, QString()) {}

protected:
    QString getSpi(const QString& key, bool* found) const override {
        const auto it = entries_.constFind(key);
        *found = it != entries_.constEnd();
        return *found ? *it : QString();
    }
    void putSpi(const QString& key, const QString& value) override { entries_.insert(key, value); }
    void removeSpi(const QString& key) override { entries_.remove(key); }
    QStringList keysSpi() const override { return entries_.keys(); }
    QStringList childrenNamesSpi() const override { return {}; }
    Preferences& childSpi(const QString& name) override {
        return adopt(std::unique_ptr<Preferences>(new MemoryPreferences(this, name)));
    }
    void removeNodeSpi() override { entries_.clear(); }
    void syncSpi() override {}
    void flushSpi() override {}

    MemoryPreferences(MemoryPreferences* parent, const QString& name) : Preferences(parent, name) {}

private:
    QMap<QString, QString> entries_;
};

} // namespace serwedge::prefs

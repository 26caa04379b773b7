#include "serwedge/prefs/QSettingsPreferences.h"

#include <QSettings>

namespace serwedge::prefs {

namespace {

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

} // namespace

Preferences& QSettingsPreferences::userRoot() {
    static QSettingsPreferences root(
        std::make_shared<QSettings>(QSettings::NativeFormat, QSettings::UserScope,
                                    QStringLiteral("brindle"), QStringLiteral("Tallyra")));
    return root;
}

QSettingsPreferences::QSettingsPreferences(std::shared_ptr<QSettings> settings)
    : QSettingsPreferences(std::move(settings), nullptr, QString()) {}

QSettingsPreferences::QSettingsPreferences(std::shared_ptr<QSettings> settings,
                                           QSettingsPreferences* parent, const QString& name)
    : Preferences(parent, name), settings_(std::move(settings)) {}

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
    const QVariant value = settings_->value(fullKey(key));
    *found = value.isValid();
    return *found ? value.toString() : QString();
}

void QSettingsPreferences::putSpi(const QString& key, const QString& value) {
    settings_->setValue(fullKey(key), value);
}

void QSettingsPreferences::removeSpi(const QString& key) {
    // QSettings::remove would also drop a child group of the same name; keep the children.
    const QString k = fullKey(key);
    const bool hasChildGroup =
        inGroup(*settings_, group(), [&] { return settings_->childGroups().contains(key); });
    if (!hasChildGroup) {
        settings_->remove(k);
        return;
    }
    // Save the child group, remove, restore it.
    QList<std::pair<QString, QVariant>> kept;
    inGroup(*settings_, k, [&] {
        for (const QString& sub : settings_->allKeys()) {
            kept.append({sub, settings_->value(sub)});
        }
        return 0;
    });
    settings_->remove(k);
    for (const auto& [sub, value] : kept) {
        settings_->setValue(k + QLatin1Char('/') + sub, value);
    }
}

QStringList QSettingsPreferences::keysSpi() const {
    return inGroup(*settings_, group(), [&] { return settings_->childKeys(); });
}

QStringList QSettingsPreferences::childrenNamesSpi() const {
    return inGroup(*settings_, group(), [&] { return settings_->childGroups(); });
}

Preferences& QSettingsPreferences::childSpi(const QString& name) {
    return adopt(std::unique_ptr<Preferences>(new QSettingsPreferences(settings_, this, name)));
}

void QSettingsPreferences::removeNodeSpi() {
    settings_->remove(group());
}

void QSettingsPreferences::checkStatus() const {
    switch (settings_->status()) {
    case QSettings::NoError:
        return;
    case QSettings::AccessError:
        throw AccessDeniedError(
            QStringLiteral("No access to the settings store %1").arg(settings_->fileName()));
    case QSettings::FormatError:
        throw BackingStoreError(
            QStringLiteral("The settings store %1 is damaged").arg(settings_->fileName()));
    }
}

void QSettingsPreferences::syncSpi() {
    settings_->sync();
    checkStatus();
}

void QSettingsPreferences::flushSpi() {
    settings_->sync();
    checkStatus();
}

} // namespace serwedge::prefs

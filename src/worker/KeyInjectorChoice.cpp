#include "worker/KeyInjectorChoice.h"

#include "platform/KeyBackends.h"
#include "props/Props.h"
#include "serwedge/prefs/QSettingsPreferences.h"
#include "serwedge/prefs/SettingsStore.h"
#include "worker/WorkerBundle.h"

#include <QLoggingCategory>

#include <algorithm>
#include <mutex>
#include <optional>
#include <stdexcept>

Q_LOGGING_CATEGORY(lcKeys, "tallyra.keys")

namespace serwedge::worker {

namespace {

constexpr const char* kChoiceProperty = "tallyra.keys";

QString portalNodePath() {
    return QLatin1String(prefs::kNodePath) + QStringLiteral("/portal");
}

} // namespace

std::shared_ptr<platform::KeyInjector> createSessionKeyInjector(const KeyInjectorHooks& hooks) {
    static std::mutex mutex;
    static std::optional<platform::KeyBackend> chosen;

    const platform::DesktopSession session = platform::desktopSessionFromEnvironment();
    const bool wayland = platform::isWaylandSession(session);
    const std::string choice = props::get(kChoiceProperty, "auto");
    std::vector<platform::KeyBackend> order;
    try {
        order = platform::keyBackendsToTry(session, choice);
    } catch (const std::invalid_argument& e) {
        throw platform::KeyInjectorError(e.what());
    }

    std::lock_guard lock(mutex);
    if (chosen && std::find(order.begin(), order.end(), *chosen) != order.end())
        order = {*chosen};
    QStringList failures;
    for (platform::KeyBackend backend : order) {
        try {
            std::shared_ptr<platform::KeyInjector> injector =
                backend == platform::KeyBackend::Portal ? createPortalKeyInjector(hooks)
                                                        : platform::createKeyInjector(backend);
            if (chosen != backend) {
                chosen = backend;
                qCInfo(lcKeys).nospace()
                    << "keystrokes through " << platform::keyBackendName(backend) << " ("
                    << (wayland ? "Wayland" : "X11") << " session, desktop \""
                    << session.currentDesktop.c_str() << "\", tallyra.keys=" << choice.c_str()
                    << ")";
            }
            return injector;
        } catch (const std::exception& e) {
            failures << QString::fromLatin1(platform::keyBackendName(backend)) +
                            QStringLiteral(": ") + QString::fromUtf8(e.what());
        }
    }
    const QString details = failures.join(QStringLiteral("; "));
    if (wayland)
        throw NoKeyInjectionError(
            (workerBundle().getString("no.key.injection.on.wayland") + details).toStdString());
    if (failures.size() == 1)
        throw platform::KeyInjectorError(details.section(QStringLiteral(": "), 1).toStdString());
    throw platform::KeyInjectorError(details.toStdString());
}

QString storedPortalToken() {
    try {
        return prefs::QSettingsPreferences::userRoot()
            .node(portalNodePath())
            .get(QStringLiteral("restoreToken"), {});
    } catch (const std::exception& e) {
        qCWarning(lcKeys) << "the portal's restore token cannot be read:" << e.what();
        return {};
    }
}

void storePortalToken(const QString& token) {
    try {
        prefs::Preferences& node = prefs::QSettingsPreferences::userRoot().node(portalNodePath());
        node.put(QStringLiteral("restoreToken"), token);
        node.flush();
    } catch (const std::exception& e) {
        qCWarning(lcKeys) << "the portal's restore token cannot be kept:" << e.what();
    }
}

} // namespace serwedge::worker

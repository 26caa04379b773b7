#include "worker/KeyInjectorChoice.h"

#include "platform/portal/PortalKeyInjector.h"
#include "platform/wayland/WaylandConnection.h"
#include "worker/WorkerBundle.h"

#include <QCoreApplication>

namespace serwedge::worker {

std::unique_ptr<platform::KeyInjector> createPortalKeyInjector(const KeyInjectorHooks& hooks) {
    platform::PortalOptions options;
    options.restoreToken = storedPortalToken().toStdString();
    options.layoutKeymap = platform::wayland::readSessionKeymap();
    options.tokenReceived = [](const std::string& token) {
        // The settings store belongs to the main thread.
        QMetaObject::invokeMethod(
            QCoreApplication::instance(),
            [t = QString::fromStdString(token)] { storePortalToken(t); }, Qt::QueuedConnection);
    };
    options.stateChanged = [hooks](platform::PortalState state, const std::string& detail) {
        const QString reason = QString::fromStdString(detail);
        switch (state) {
        case platform::PortalState::Asking:
            if (hooks.status)
                hooks.status(workerBundle().getString("allow.remote.input"));
            break;
        case platform::PortalState::Started:
            if (hooks.status)
                hooks.status({});
            break;
        case platform::PortalState::Refused:
        case platform::PortalState::Ended:
            if (hooks.status)
                hooks.status({});
            if (hooks.important)
                hooks.important(workerBundle().getString(state == platform::PortalState::Refused
                                                             ? "remote.input.refused"
                                                             : "remote.input.ended") +
                                reason);
            break;
        }
    };
    return std::make_unique<platform::PortalKeyInjector>(std::move(options));
}

} // namespace serwedge::worker

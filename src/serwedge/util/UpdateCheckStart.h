#pragma once

#include "serwedge/util/UpdateWorker.h"

#include <functional>
#include <memory>
#include <optional>

namespace serwedge::config {
class Config;
}

namespace serwedge::util {

// The update server's host compiled into the program (CMake's TALLYRA_UPDATE_HOST); empty when
// this build makes no update check.
QString compiledUpdateHost();

// The address to check at this start, or none. An explicit address (the "TALLYRA_UPDATE_URL"
// property) is checked on every start; otherwise the compiled host is checked when draw(),
// an integer from 0 to 3, gives 0. Nothing is checked while the setting is off.
std::optional<QString> updateAddressForThisStart(bool checkForUpdates, const QString& explicitUrl,
                                                 const QString& host,
                                                 const std::function<int()>& draw);

// Starts the update check of the window's start-up when this start calls for one, with the
// running version, the language "en" (the program's default locale) and the view as receiver.
// Call on the user-interface thread; the caller keeps the worker for as long as the view lives.
std::unique_ptr<UpdateWorker> maybeStartUpdateCheck(const config::Config& config,
                                                    UpdateWorkerView* view);

} // namespace serwedge::util

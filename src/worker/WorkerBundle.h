#pragma once

#include "config/Catalogue.h"

namespace serwedge::worker {

// The worker catalogue "serwedge.worker.WorkerBundle": texts of the reading worker, the
// keystroke engine and port detection.
Catalogue& workerBundle();

} // namespace serwedge::worker

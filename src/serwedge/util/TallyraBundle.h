#pragma once

#include "config/Catalogue.h"

namespace serwedge {

// The window catalogue "serwedge.Tallyra": texts of the main window, its dialogs, the update
// check and port detection's dialog.
Catalogue& tallyraBundle();

} // namespace serwedge

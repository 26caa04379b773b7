#pragma once

#include "config/Catalogue.h"

namespace serwedge::config {

// The configuration catalogue "serwedge.config.ConfigBundle": display texts of the option
// enumerations and of the instrument presets, and the presets' set-up messages.
Catalogue& configBundle();

} // namespace serwedge::config

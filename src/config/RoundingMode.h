#pragma once

namespace serwedge::config {

// Rounding modes of decimal arithmetic.
enum class RoundingMode {
    UP,        // away from zero
    DOWN,      // towards zero
    CEILING,   // towards positive infinity
    FLOOR,     // towards negative infinity
    HALF_UP,   // nearest, ties away from zero
    HALF_DOWN, // nearest, ties towards zero
    HALF_EVEN  // nearest, ties to the even neighbour
};

} // namespace serwedge::config

// Includes a header of the window layer. Built twice: for a target that links the window
// library (it compiles), and for one that links only the reading worker (it must not).
#include "serwedge/WeightToKeyFrame2.h"

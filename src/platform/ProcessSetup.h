#pragma once

// What the platform's runtime needs to be told before anything else runs: the first call in
// the main function of both programs. Per platform (chosen by CMake).

namespace platform {

void prepareProcess();

} // namespace platform

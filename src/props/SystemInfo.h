#pragma once

#include <string>

namespace props::detail {

// Operating-system facts, one implementation per platform.
std::string osName();
std::string osArch();
std::string userHome();
std::string currentDirectory();

} // namespace props::detail

#pragma once

// The commands of tallyra-cli. Each takes the arguments after its name and returns the exit
// status.

#include <string>
#include <vector>

// settings show|export FILE|import FILE [--shared]
int runSettingsCommand(const std::vector<std::string>& args);

#pragma once

#include <string>
#include <vector>

// The commands of tallyra-cli. Each takes the arguments after its name and returns the exit
// status: 0 normal end, 1 port / input / worker failure, 2 refused option or wrong usage,
// 3 driver library not loadable.

int runPresetsCommand(const std::vector<std::string>& args);
int runReplayCommand(const std::vector<std::string>& args);
int runReadCommand(const std::vector<std::string>& args);
int runPortsCommand(const std::vector<std::string>& args);
int runSettingsCommand(const std::vector<std::string>& args);

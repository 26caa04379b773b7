#pragma once

// The commands of tallyra-cli; each returns the process exit status.

#include <string>
#include <vector>

// "ports": one line per serial port, NAME<TAB>FRIENDLY TEXT. Exit 3 when the serial driver
// library cannot be loaded.
int runPortsCommand(const std::vector<std::string>& args);

#pragma once

#include "config/Config.h"

#include <QString>
#include <QStringList>

#include <functional>
#include <optional>
#include <stdexcept>
#include <string>
#include <vector>

namespace tallyra::cli {

// A refused option or wrong usage: the tool ends with exit status 2 and this message.
class UsageError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// An input file that cannot be read: exit status 1.
class InputError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// Options of the reading commands besides the settings.
struct RunOptions {
    QString port;
    std::optional<int> count;
    std::optional<double> seconds;
    bool type = false;
    bool quiet = false; // no line on standard output
    QStringList positional;
};

// Loads a base configuration from an exported settings file or from the stored settings.
using SettingsLoader = std::function<bool(serwedge::config::Config&, const QString& file)>;

// Builds the configuration of a run from the command line: the settings an empty store loads,
// or the stored / exported settings; then the instrument with its line settings; then every
// explicit option. Applies the rules the window applies before a start, writing warnings to
// `warnings`. Throws UsageError for a refused value.
serwedge::config::Config buildConfig(const std::vector<std::string>& args, RunOptions& run,
                                     QStringList& warnings, const SettingsLoader& loadStored = {},
                                     const SettingsLoader& loadFile = {});

// The record an empty settings store loads.
serwedge::config::Config loadDefaults();

// Help text of the settings options.
const char* settingsHelp();

} // namespace tallyra::cli

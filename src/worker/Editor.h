#pragma once

#include "config/ConfigHelper.h"

#include <QString>

namespace serwedge::config {
class Config;
}

namespace serwedge::worker {

// Removes or keeps a number of characters at the start or the end of a value.
class Editor {
public:
    // Reads edit operation, position and number of characters once.
    explicit Editor(const config::Config& config);
    Editor(config::ConfigHelper::EditOperation operation,
           config::ConfigHelper::EditPosition position, int numCharacters);

    // True when there is anything to edit (more than 0 characters).
    bool enabled() const { return numCharacters_ > 0; }

    // The edited value; a null value stays null, an empty one is returned unchanged. Throws
    // EditIndexError when the value is shorter than the number of characters.
    QString edit(const QString& value) const;

private:
    config::ConfigHelper::EditOperation editOperation_;
    config::ConfigHelper::EditPosition editPosition_;
    int numCharacters_;
};

} // namespace serwedge::worker

#pragma once

#include "worker/Editor.h"
#include "worker/NumberFormatter.h"
#include "worker/Remover.h"

#include <QString>

#include <optional>

namespace serwedge::config {
class Config;
}

namespace serwedge::worker {

// The worker-side steps for one extracted value, in their fixed order: editing, character
// removal, then for numeric instruments whitespace removal and number formatting. The
// reading workers, the command-line tool and the tests all run values through this.
class ValueChain {
public:
    // Reads every parameter once. numeric = false for the text (barcode) worker, which takes
    // the value after editing and character removal unchanged. Throws config::NumberFormatError
    // when an enabled math operand is not a number.
    ValueChain(const config::Config& config, bool numeric);

    // The processed value ("" when nothing is left). Throws a LineError (kind and message) when
    // the line cannot be processed: an edit longer than the value, a value that is not a
    // number, a division by zero.
    QString process(const QString& extracted) const;

private:
    Editor editor_;
    Remover remover_;
    std::optional<NumberFormatter> formatter_;
};

} // namespace serwedge::worker

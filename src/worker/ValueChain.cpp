#include "worker/ValueChain.h"

#include "config/Config.h"

namespace serwedge::worker {

ValueChain::ValueChain(const config::Config& config, bool numeric)
    : editor_(config), remover_(config) {
    if (numeric) {
        formatter_.emplace(config);
    }
}

QString ValueChain::process(const QString& extracted) const {
    QString value = extracted;
    if (editor_.enabled()) {
        value = editor_.edit(value);
    }
    if (remover_.enabled()) {
        value = remover_.removeCharacters(value);
    }
    if (!formatter_) {
        return value;
    }
    value = removeWhitespace(value);
    if (value.isEmpty()) {
        return QStringLiteral("");
    }
    return formatter_->format(value);
}

} // namespace serwedge::worker

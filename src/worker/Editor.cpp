#include "worker/Editor.h"

#include "config/Config.h"
#include "worker/LineError.h"

namespace serwedge::worker {

using config::ConfigHelper::EditOperation;
using config::ConfigHelper::EditPosition;

Editor::Editor(const config::Config& config)
    : Editor(config.getEditOperation(), config.getEditPosition(),
             config.getEditNumCharactersAsInt()) {}

Editor::Editor(EditOperation operation, EditPosition position, int numCharacters)
    : editOperation_(operation), editPosition_(position), numCharacters_(numCharacters) {}

QString Editor::edit(const QString& value) const {
    if (value.isNull() || numCharacters_ <= 0 || value.isEmpty()) {
        return value;
    }
    const qsizetype n = numCharacters_;
    const qsizetype length = value.size();
    const bool remove = editOperation_ == EditOperation::REMOVE;
    if (n > length) {
        throw EditIndexError(
            QStringLiteral("cannot %1 the %2 %3 characters of \"%4\", which has only %5")
                .arg(remove ? QStringLiteral("remove") : QStringLiteral("keep"))
                .arg(editPosition_ == EditPosition::FIRST ? QStringLiteral("first")
                                                          : QStringLiteral("last"))
                .arg(n)
                .arg(value.size() > 40 ? value.left(40) + QStringLiteral("...") : value)
                .arg(length));
    }
    if (editPosition_ == EditPosition::FIRST) {
        return remove ? value.mid(n) : value.left(n);
    }
    return remove ? value.left(length - n) : value.right(n);
}

} // namespace serwedge::worker

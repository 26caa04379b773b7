#include "worker/Remover.h"

#include "config/Config.h"

namespace serwedge::worker {

Remover::Remover(const config::Config& config) : Remover(config.getRemoveCharacters()) {}

Remover::Remover(QString removeCharacters) : removeCharacters_(std::move(removeCharacters)) {
    for (const QChar c : removeCharacters_) {
        if (c.unicode() < 256) {
            latin1_.set(c.unicode());
        } else {
            hasWide_ = true;
        }
    }
}

QString Remover::removeCharacters(const QString& value) const {
    if (value.isEmpty() || removeCharacters_.isEmpty()) {
        return value;
    }
    QString result;
    result.reserve(value.size());
    for (const QChar c : value) {
        const bool listed = c.unicode() < 256 ? latin1_.test(c.unicode())
                                              : hasWide_ && removeCharacters_.contains(c);
        if (!listed) {
            result += c;
        }
    }
    return result;
}

QString removeWhitespace(const QString& value) {
    auto isSpace = [](QChar c) {
        const char16_t u = c.unicode();
        return u == u' ' || (u >= u'\t' && u <= u'\r');
    };
    qsizetype i = 0;
    while (i < value.size() && !isSpace(value[i])) {
        ++i;
    }
    if (i == value.size()) {
        return value; // the usual case: nothing to delete, no copy
    }
    QString result;
    result.reserve(value.size());
    result.append(value.constData(), i);
    for (; i < value.size(); ++i) {
        if (!isSpace(value[i])) {
            result += value[i];
        }
    }
    return result;
}

} // namespace serwedge::worker

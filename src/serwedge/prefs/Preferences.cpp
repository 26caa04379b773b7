#include "serwedge/prefs/Preferences.h"

#include "config/ConfigBundle.h"
#include "config/IntParse.h"

#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QMutex>

#include <cstdio>

namespace serwedge::prefs {

namespace {

QMutex sinkMutex;
DiagnosticSink& sinkSlot() {
    static DiagnosticSink sink;
    return sink;
}
DiagnosticSink& noticeSlot() {
    static DiagnosticSink sink;
    return sink;
}

void checkKey(const QString& key) {
    if (key.isEmpty() || key.size() > Preferences::kMaxKeyLength) {
        throw std::invalid_argument("Preference keys must have 1 to 80 characters: " +
                                    key.left(100).toStdString());
    }
}

void checkValue(const QString& key, const QString& value) {
    if (value.size() > Preferences::kMaxValueLength) {
        throw std::invalid_argument("The value of the preference " + key.toStdString() +
                                    " is longer than 8192 characters");
    }
}

} // namespace

void setDiagnosticSink(DiagnosticSink sink) {
    QMutexLocker lock(&sinkMutex);
    sinkSlot() = std::move(sink);
}

void diagnostic(const QString& text) {
    QMutexLocker lock(&sinkMutex);
    if (sinkSlot()) {
        sinkSlot()(text);
        return;
    }
    std::fputs(text.toLocal8Bit().constData(), stdout);
    std::fputc('\n', stdout);
    std::fflush(stdout);
}

void setNoticeSink(DiagnosticSink sink) {
    QMutexLocker lock(&sinkMutex);
    noticeSlot() = std::move(sink);
}

void notice(const QString& text) {
    DiagnosticSink sink;
    {
        QMutexLocker lock(&sinkMutex);
        sink = noticeSlot();
    }
    if (sink) {
        sink(text);
    } else {
        diagnostic(text);
    }
}

QString keepDamagedFile(const QString& path, const QString& reason) {
    const QString stem = path + QStringLiteral(".damaged-") +
                         QDateTime::currentDateTime().toString(QStringLiteral("yyyyMMdd-HHmmss"));
    QString kept = stem;
    for (int n = 2; QFile::exists(kept); ++n) {
        kept = stem + QLatin1Char('-') + QString::number(n);
    }
    QFile file(path);
    if (!file.rename(kept)) {
        throw BackingStoreError(
            QStringLiteral("The settings store %1 is damaged (%2) and cannot be moved aside: %3")
                .arg(QDir::toNativeSeparators(path), reason, file.errorString()));
    }
    notice(config::configBundle().format(
        "settings.store.damaged.kept",
        {QDir::toNativeSeparators(path), reason, QDir::toNativeSeparators(kept)}));
    return kept;
}

Preferences::Preferences(Preferences* parent, QString name)
    : parent_(parent), name_(std::move(name)) {}

Preferences::~Preferences() = default;

QString Preferences::get(const QString& key, const QString& def) const {
    checkNotRemoved();
    bool found = false;
    QString value = getSpi(key, &found);
    if (!found) {
        return def;
    }
    // A stored empty text is a present text, never a null one.
    return value.isNull() ? QStringLiteral("") : value;
}

int Preferences::getInt(const QString& key, int def) const {
    checkNotRemoved();
    bool found = false;
    const QString text = getSpi(key, &found);
    if (!found) {
        return def;
    }
    const auto value = config::parseDecimalInt(text);
    return value ? *value : def;
}

bool Preferences::getBoolean(const QString& key, bool def) const {
    checkNotRemoved();
    bool found = false;
    const QString text = getSpi(key, &found);
    if (found && text.compare(QLatin1String("true"), Qt::CaseInsensitive) == 0) {
        return true;
    }
    if (found && text.compare(QLatin1String("false"), Qt::CaseInsensitive) == 0) {
        return false;
    }
    return def;
}

void Preferences::put(const QString& key, const QString& value) {
    checkKey(key);
    checkValue(key, value);
    checkNotRemoved();
    putSpi(key, value);
}

void Preferences::putInt(const QString& key, int value) {
    put(key, QString::number(value));
}

void Preferences::putBoolean(const QString& key, bool value) {
    put(key, value ? QStringLiteral("true") : QStringLiteral("false"));
}

void Preferences::remove(const QString& key) {
    checkNotRemoved();
    removeSpi(key);
}

void Preferences::putAll(const QList<std::pair<QString, QString>>& entries) {
    for (const auto& [key, value] : entries) {
        checkKey(key);
        checkValue(key, value);
    }
    checkNotRemoved();
    putAllSpi(entries);
}

void Preferences::putAllSpi(const QList<std::pair<QString, QString>>& entries) {
    QList<std::pair<QString, std::optional<QString>>> before;
    for (const auto& [key, value] : entries) {
        bool found = false;
        const QString old = getSpi(key, &found);
        before.append({key, found ? std::optional<QString>(old) : std::nullopt});
    }
    try {
        for (const auto& [key, value] : entries) {
            putSpi(key, value);
        }
        flushSpi();
    } catch (...) {
        // Later entries first, so that a key given twice gets its first earlier value back.
        for (auto it = before.crbegin(); it != before.crend(); ++it) {
            if (it->second) {
                putSpi(it->first, *it->second);
            } else {
                removeSpi(it->first);
            }
        }
        throw;
    }
}

QStringList Preferences::keys() const {
    checkNotRemoved();
    QStringList list = keysSpi();
    list.sort();
    list.removeDuplicates();
    return list;
}

QStringList Preferences::childrenNames() const {
    checkNotRemoved();
    QStringList list = childrenNamesSpi();
    for (const auto& [name, kid] : children_) {
        list.append(name);
    }
    list.sort();
    list.removeDuplicates();
    return list;
}

Preferences& Preferences::node(const QString& path) {
    checkNotRemoved();
    Preferences* at = this;
    QString rest = path;
    if (rest.startsWith(QLatin1Char('/'))) {
        while (at->parent_) {
            at = at->parent_;
        }
        rest = rest.mid(1);
    }
    if (rest.endsWith(QLatin1Char('/')) || rest.contains(QLatin1String("//"))) {
        throw std::invalid_argument("Malformed preferences node path: " + path.toStdString());
    }
    if (rest.isEmpty()) {
        return *at;
    }
    for (const QString& name : rest.split(QLatin1Char('/'))) {
        at = &at->child(name);
    }
    return *at;
}

bool Preferences::nodeExists(const QString& path) {
    if (removed_) {
        return false;
    }
    Preferences* at = this;
    QString rest = path;
    if (rest.startsWith(QLatin1Char('/'))) {
        while (at->parent_) {
            at = at->parent_;
        }
        rest = rest.mid(1);
    }
    if (rest.isEmpty()) {
        return true;
    }
    for (const QString& name : rest.split(QLatin1Char('/'))) {
        if (Preferences* kid = at->cachedChild(name)) {
            at = kid;
        } else if (at->childrenNamesSpi().contains(name)) {
            at = &at->child(name);
        } else {
            return false;
        }
    }
    return true;
}

Preferences& Preferences::child(const QString& name) {
    if (Preferences* kid = cachedChild(name)) {
        return *kid;
    }
    if (name.isEmpty() || name.size() > kMaxNameLength || name.contains(QLatin1Char('/'))) {
        throw std::invalid_argument("Preferences node names must have 1 to 80 characters and "
                                    "no '/': " +
                                    name.left(100).toStdString());
    }
    return childSpi(name);
}

Preferences* Preferences::cachedChild(const QString& name) const {
    const auto it = children_.find(name);
    return it == children_.end() ? nullptr : it->second.get();
}

Preferences& Preferences::adopt(std::unique_ptr<Preferences> kid) {
    Preferences& ref = *kid;
    children_[kid->name()] = std::move(kid);
    return ref;
}

void Preferences::removeNode() {
    checkNotRemoved();
    if (isRoot()) {
        throw std::logic_error("The root preferences node cannot be removed");
    }
    removeSubtree();
    auto it = parent_->children_.find(name_);
    if (it != parent_->children_.end() && it->second.get() == this) {
        parent_->removedChildren_.push_back(std::move(it->second));
        parent_->children_.erase(it);
    }
}

void Preferences::removeSubtree() {
    // Children known only to the backing store are instantiated so that they are removed too.
    for (const QString& name : childrenNamesSpi()) {
        child(name);
    }
    for (auto& [name, kid] : children_) {
        kid->removeSubtree();
        removedChildren_.push_back(std::move(kid));
    }
    children_.clear();
    removed_ = true;
    removeNodeSpi();
}

void Preferences::forSubtree(const std::function<void(Preferences&)>& action) {
    action(*this);
    for (auto& [name, kid] : children_) {
        kid->forSubtree(action);
    }
}

void Preferences::flush() {
    forSubtree([](Preferences& p) { p.flushSpi(); });
}

void Preferences::sync() {
    checkNotRemoved();
    forSubtree([](Preferences& p) { p.syncSpi(); });
}

QString Preferences::absolutePath() const {
    if (!parent_) {
        return QStringLiteral("/");
    }
    const QString above = parent_->absolutePath();
    return above == QLatin1String("/") ? above + name_ : above + QLatin1Char('/') + name_;
}

void Preferences::checkNotRemoved() const {
    if (removed_) {
        throw std::logic_error("The preferences node " + absolutePath().toStdString() +
                               " has been removed");
    }
}

} // namespace serwedge::prefs

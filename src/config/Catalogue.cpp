#include "config/Catalogue.h"

#include <QTranslator>

#include <atomic>

namespace serwedge {
namespace {

std::mutex& languageMutex() {
    static std::mutex m;
    return m;
}

QString& currentLanguage() {
    static QString lang = QStringLiteral("en");
    return lang;
}

} // namespace

Catalogue::Catalogue(QString fileBase, QString name, std::vector<const char*> keys)
    : fileBase_(std::move(fileBase)), name_(std::move(name)), keys_(std::move(keys)) {}

Catalogue::~Catalogue() = default;

void Catalogue::setLanguage(const QString& code) {
    std::lock_guard lock(languageMutex());
    currentLanguage() = code.isEmpty() ? QStringLiteral("en") : code.toLower();
}

QString Catalogue::language() {
    std::lock_guard lock(languageMutex());
    return currentLanguage();
}

QStringList Catalogue::availableLanguages() {
    return {QStringLiteral("en"), QStringLiteral("de")};
}

const QTranslator* Catalogue::translator(const QString& language) const {
    std::lock_guard lock(mutex_);
    for (const auto& [lang, tr] : loaded_) {
        if (lang == language)
            return tr.get();
    }
    auto tr = std::make_unique<QTranslator>();
    const QString path = QStringLiteral(":/i18n/%1_%2").arg(fileBase_, language);
    if (!tr->load(path))
        tr.reset();
    const QTranslator* result = tr.get();
    loaded_.emplace_back(language, std::move(tr));
    return result;
}

QString Catalogue::lookup(const QString& language, const QByteArray& key) const {
    const QTranslator* tr = translator(language);
    if (!tr)
        return {};
    // ID-based catalogues store every text under an empty context.
    return tr->translate(nullptr, key.constData());
}

QString Catalogue::getString(const char* key) const {
    const QByteArray k(key);
    QString text = lookup(language(), k);
    if (text.isEmpty())
        text = lookup(QStringLiteral("en"), k);
    return text.isEmpty() ? QString::fromUtf8(k) : text;
}

QString Catalogue::getString(const QString& key) const {
    return getString(key.toUtf8().constData());
}

QString Catalogue::format(const char* key, const QStringList& args) const {
    return formatMessage(getString(key), args);
}

QString Catalogue::formatMessage(const QString& pattern, const QStringList& args) {
    // One pass, so that an argument containing "{1}" is not replaced again.
    QString out;
    out.reserve(pattern.size());
    for (qsizetype i = 0; i < pattern.size(); ++i) {
        if (pattern[i] == QLatin1Char('{')) {
            const qsizetype close = pattern.indexOf(QLatin1Char('}'), i + 1);
            if (close > i + 1) {
                bool ok = false;
                const int n = pattern.mid(i + 1, close - i - 1).toInt(&ok);
                if (ok && n >= 0 && n < args.size()) {
                    out += args[n];
                    i = close;
                    continue;
                }
            }
        }
        out += pattern[i];
    }
    return out;
}

bool Catalogue::contains(const QString& key, const QString& language) const {
    const QString lang = language.isEmpty() ? Catalogue::language() : language;
    return !lookup(lang, key.toUtf8()).isEmpty();
}

QStringList Catalogue::missingKeys(const QString& language) const {
    QStringList missing;
    for (const char* k : keys_) {
        if (lookup(language, QByteArray(k)).isEmpty())
            missing << QString::fromUtf8(k);
    }
    return missing;
}

} // namespace serwedge

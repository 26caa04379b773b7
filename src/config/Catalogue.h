#pragma once

#include <QString>
#include <QStringList>

#include <memory>
#include <mutex>
#include <vector>

class QTranslator;

namespace serwedge {

// A message catalogue: user-visible texts looked up by key, in English or German.
// Each catalogue keeps the registry of every key its code uses; the start-up check and the
// completeness test resolve that list.
class Catalogue {
public:
    // fileBase names the compiled catalogue (":/i18n/<fileBase>_<language>"); name is the
    // catalogue's own name, such as "serwedge.config.ConfigBundle".
    Catalogue(QString fileBase, QString name, std::vector<const char*> keys);
    ~Catalogue();
    Catalogue(const Catalogue&) = delete;
    Catalogue& operator=(const Catalogue&) = delete;

    // Text of the key in the current language; English when the language lacks it; the key
    // itself when no catalogue has it.
    QString getString(const char* key) const;
    QString getString(const QString& key) const;

    // The key's text with "{0}", "{1}", ... replaced by the arguments.
    QString format(const char* key, const QStringList& args) const;
    static QString formatMessage(const QString& pattern, const QStringList& args);

    // True when the key resolves in the given language ("" = current).
    bool contains(const QString& key, const QString& language = {}) const;

    // Registered keys that do not resolve in the given language.
    QStringList missingKeys(const QString& language) const;

    const std::vector<const char*>& keys() const { return keys_; }
    const QString& name() const { return name_; }

    // The language of every catalogue: "en" (the default) or "de". Unknown codes fall back to
    // English texts.
    static void setLanguage(const QString& code);
    static QString language();
    static QStringList availableLanguages();

private:
    const QTranslator* translator(const QString& language) const;
    QString lookup(const QString& language, const QByteArray& key) const;

    QString fileBase_;
    QString name_;
    std::vector<const char*> keys_;
    mutable std::mutex mutex_;
    mutable std::vector<std::pair<QString, std::unique_ptr<QTranslator>>> loaded_;
};

} // namespace serwedge

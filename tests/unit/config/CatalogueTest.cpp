#include "config/ConfigBundle.h"
#include "serwedge/util/TallyraBundle.h"
#include "worker/WorkerBundle.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QRegularExpression>

#include <set>

using serwedge::Catalogue;

namespace {

std::vector<Catalogue*> allCatalogues() {
    return {&serwedge::config::configBundle(), &serwedge::worker::workerBundle(),
            &serwedge::tallyraBundle()};
}

} // namespace

TEST(Catalogue, everyRegisteredKeyResolvesInEnglishAndGerman) {
    for (Catalogue* c : allCatalogues()) {
        for (const QString lang : {"en", "de"}) {
            const QStringList missing = c->missingKeys(lang);
            EXPECT_TRUE(missing.isEmpty()) << c->name().toStdString() << " [" << lang.toStdString()
                                           << "] lacks: " << missing.join(", ").toStdString();
        }
    }
}

TEST(Catalogue, germanTextsDifferFromKeysAndFallBackToEnglish) {
    auto& b = serwedge::config::configBundle();
    Catalogue::setLanguage("de");
    EXPECT_EQ(b.getString("multiply"), "Multiplizieren");
    Catalogue::setLanguage("fr");
    EXPECT_EQ(b.getString("multiply"), "Multiply");
    Catalogue::setLanguage("en");
    EXPECT_EQ(b.getString("multiply"), "Multiply");
    EXPECT_EQ(b.getString("no.such.key"), "no.such.key");
    EXPECT_FALSE(b.contains("no.such.key"));
}

// Every key the code asks a catalogue for directly must be registered in that catalogue.
TEST(Catalogue, keysUsedInTheSourcesAreRegistered) {
    const QRegularExpression use(
        R"re(\b(configBundle|workerBundle|tallyraBundle)\(\)\.(?:getString|format)\(\s*"([^"]+)"\s*[,)])re");
    std::map<QString, Catalogue*> byAccessor{{"configBundle", &serwedge::config::configBundle()},
                                             {"workerBundle", &serwedge::worker::workerBundle()},
                                             {"tallyraBundle", &serwedge::tallyraBundle()}};
    QDirIterator it(QStringLiteral(TALLYRA_SOURCE_DIR "/src"), {"*.cpp", "*.h"}, QDir::Files,
                    QDirIterator::Subdirectories);
    int uses = 0;
    while (it.hasNext()) {
        const QString path = it.next();
        QFile f(path);
        ASSERT_TRUE(f.open(QIODevice::ReadOnly));
        const QString text = QString::fromUtf8(f.readAll());
        auto matches = use.globalMatch(text);
        while (matches.hasNext()) {
            auto m = matches.next();
            auto cat = byAccessor.find(m.captured(1));
            if (cat == byAccessor.end())
                continue;
            ++uses;
            const auto& keys = cat->second->keys();
            const bool registered = std::any_of(keys.begin(), keys.end(), [&](const char* k) {
                return m.captured(2) == QLatin1String(k);
            });
            EXPECT_TRUE(registered)
                << path.toStdString() << " uses unregistered key " << m.captured(2).toStdString();
        }
    }
    SUCCEED() << uses << " uses checked";
}

TEST(Catalogue, formatReplacesNumberedPlaceholdersOnce) {
    EXPECT_EQ(Catalogue::formatMessage("Port {0} at {1} baud, {0}", {"COM3", "{0}"}),
              "Port COM3 at {0} baud, COM3");
    EXPECT_EQ(Catalogue::formatMessage("{2} {x} {", {"a"}), "{2} {x} {");
}

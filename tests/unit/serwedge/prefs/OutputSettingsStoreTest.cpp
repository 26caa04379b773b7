// The journal and MQTT settings in the store: they round-trip, older stores load defaults,
// invalid values are named, and the broker password never leaves the machine in an export.

#include "serwedge/prefs/MemoryPreferences.h"
#include "serwedge/prefs/SettingsStore.h"

#include <gtest/gtest.h>

#include <QBuffer>

namespace {

using serwedge::config::Config;
using serwedge::config::OutputSettings;
using serwedge::prefs::MemoryPreferences;
using serwedge::prefs::SettingsStore;

OutputSettings everythingSet() {
    OutputSettings o;
    o.journal = true;
    o.journalFolder = QStringLiteral("/srv/journal");
    o.journalDays = QStringLiteral("0");
    o.mqtt = true;
    o.mqttHost = QStringLiteral("broker.lab");
    o.mqttPort = QStringLiteral("8883");
    o.mqttTls = true;
    o.mqttCaFile = QStringLiteral("/etc/ssl/site.pem");
    o.mqttUser = QStringLiteral("station7");
    o.mqttPassword = QStringLiteral("s3cr\u00e9t");
    o.mqttTopic = QStringLiteral("site/<hostname>/<port>");
    o.mqttRetain = true;
    return o;
}

TEST(OutputSettingsStore, roundTripOlderStoresAndInvalidValues) {
    MemoryPreferences root;
    Config saved;
    saved.outputs = everythingSet();
    SettingsStore(root).saveConfig(saved);
    Config loaded;
    EXPECT_TRUE(SettingsStore(root).loadConfig(loaded, {}));
    EXPECT_EQ(loaded.outputs, saved.outputs);
    // Copies carry them, and a change of one of them is a change of the record.
    Config copy = Config::copyConfig(loaded);
    EXPECT_FALSE(Config::hasChanged(loaded, copy));
    copy.outputs.mqttRetain = false;
    EXPECT_TRUE(Config::hasChanged(loaded, copy));

    // A store written before these settings existed loads them as defaults.
    MemoryPreferences old;
    old.node(serwedge::prefs::kNodePath).put(QStringLiteral("delay"), QStringLiteral("20"));
    Config fromOld;
    EXPECT_TRUE(SettingsStore(old).loadConfig(fromOld, {}));
    EXPECT_EQ(fromOld.outputs, OutputSettings());

    MemoryPreferences bad;
    for (const auto& [k, v] : {std::pair{"journalDays", "-1"},
                               {"mqttPort", "70000"},
                               {"mqttTopic", "a/#"},
                               {"mqttHost", "two words"}})
        bad.node(serwedge::prefs::kNodePath).put(QLatin1String(k), QLatin1String(v));
    Config fromBad;
    QStringList invalid;
    EXPECT_FALSE(SettingsStore(bad).loadConfig(fromBad, {}, &invalid));
    EXPECT_EQ(invalid, (QStringList{"journalDays", "mqttHost", "mqttPort", "mqttTopic"}));
    EXPECT_EQ(fromBad.outputs, OutputSettings());
}

TEST(OutputSettingsStore, anExportCarriesEverythingButThePassword) {
    MemoryPreferences root;
    Config saved;
    saved.outputs = everythingSet();
    SettingsStore(root).saveConfig(saved);
    QBuffer out;
    out.open(QIODevice::WriteOnly);
    SettingsStore(root).exportTo(out);
    EXPECT_FALSE(out.data().contains("s3cr"));
    EXPECT_FALSE(out.data().contains("mqttPassword"));

    MemoryPreferences other;
    QBuffer in;
    in.setData(out.data());
    in.open(QIODevice::ReadOnly);
    SettingsStore(other).importFrom(in);
    Config imported;
    SettingsStore(other).loadConfig(imported, {});
    OutputSettings expected = everythingSet();
    expected.mqttPassword.clear();
    EXPECT_EQ(imported.outputs, expected);
    // The password stays in the store it was saved in.
    EXPECT_EQ(root.node(serwedge::prefs::kNodePath).get("mqttPassword", {}), "s3cr\u00e9t");
}

} // namespace

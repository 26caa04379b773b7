#include "PrefsTestSupport.h"

#include "config/ConfigBundle.h"
#include "serwedge/prefs/FilePreferences.h"
#include "serwedge/prefs/MemoryPreferences.h"
#include "serwedge/prefs/QSettingsPreferences.h"
#include "serwedge/prefs/SettingRules.h"
#include "serwedge/prefs/SettingsStore.h"

#include <QBuffer>
#include <QDir>
#include <QSettings>
#include <QStandardPaths>

using namespace prefstest;
using serwedge::prefs::MemoryPreferences;
using serwedge::prefs::Preferences;
using serwedge::prefs::SettingsStore;

namespace {

const QString kNode = QStringLiteral("/com/brindle/Tallyra");

// Settings of the user in a temporary folder, never the real ones.
class IsolatedSettings : public ::testing::Environment {
public:
    void SetUp() override {
        QStandardPaths::setTestModeEnabled(true);
        QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope, dir.path());
        QSettings::setPath(QSettings::IniFormat, QSettings::UserScope, dir.path());
    }
    QTemporaryDir dir;
};
IsolatedSettings* isolated =
    static_cast<IsolatedSettings*>(::testing::AddGlobalTestEnvironment(new IsolatedSettings));

struct Loaded {
    Config config;
    bool valid;
    QStringList invalid;
};

Loaded loadFrom(Preferences& root, const QStringList& ports = {}) {
    Loaded l;
    l.valid = SettingsStore(root).loadConfig(l.config, ports, &l.invalid);
    return l;
}

Loaded loadWith(std::initializer_list<std::pair<const char*, const char*>> stored,
                const QStringList& ports = {}) {
    MemoryPreferences root;
    for (const auto& [k, v] : stored) {
        root.node(kNode).put(QLatin1String(k), QString::fromUtf8(v));
    }
    return loadFrom(root, ports);
}

// A preferences document whose settings node holds the given entry elements.
QByteArray document(const QByteArray& entries) {
    return "<preferences EXTERNAL_XML_VERSION=\"1.0\"><root type=\"user\"><map/><node name=\"com\">"
           "<map/><node name=\"brindle\"><map/><node name=\"Tallyra\"><map>" +
           entries + "</map></node></node></node></root></preferences>";
}

QByteArray exportOf(Preferences& root) {
    QBuffer buffer;
    buffer.open(QIODevice::WriteOnly);
    SettingsStore(root).exportTo(buffer);
    return buffer.data();
}

serwedge::prefs::ImportResult importInto(Preferences& root, const QByteArray& xml) {
    QBuffer buffer;
    buffer.setData(xml);
    buffer.open(QIODevice::ReadOnly);
    return SettingsStore(root).importFrom(buffer);
}

// A store whose backing data fails in a chosen way on flush.
class FailingPreferences : public MemoryPreferences {
public:
    explicit FailingPreferences(bool accessDenied, FailingPreferences* parent = nullptr,
                                const QString& name = {})
        : MemoryPreferences(parent, name), accessDenied_(accessDenied) {}

protected:
    void flushSpi() override {
        if (accessDenied_) {
            throw serwedge::prefs::AccessDeniedError(QStringLiteral("no rights"));
        }
        throw serwedge::prefs::BackingStoreError(QStringLiteral("disk gone"));
    }
    Preferences& childSpi(const QString& name) override {
        return adopt(std::make_unique<FailingPreferences>(accessDenied_, this, name));
    }

private:
    bool accessDenied_;
};

} // namespace

TEST(LoadConfig, anEmptyStoreGivesTheLoadDefaultsAndCountsAsValid) {
    const Loaded l = loadWith({});
    EXPECT_TRUE(l.valid);
    expectSameConfig(l.config, loadDefaults());
}

TEST(LoadConfig, invalidStoredValuesAreReplacedByTheirDefaultsAndReported) {
    struct Case {
        const char* key;
        const char* stored;
        bool valid;
        std::function<bool(const Config&)> holds;
    };
    const Case cases[] = {
        {"bitRate", "15", false, [](const Config& c) { return c.getBitRate() == 7; }},
        {"bitRate", "14", true, [](const Config& c) { return c.getBitRate() == 14; }},
        {"bitRate", "-1", false, [](const Config& c) { return c.getBitRate() == 7; }},
        // Text that is no number reads as the default, which is valid.
        {"bitRate", "fast", true, [](const Config& c) { return c.getBitRate() == 7; }},
        {"dataBits", "4", false, [](const Config& c) { return c.getDataBits() == 3; }},
        {"parity", "5", false, [](const Config& c) { return c.getParity() == 0; }},
        {"inputTerminator", "256", false,
         [](const Config& c) { return c.getInputTerminator() == 13; }},
        {"inputTerminator", "0", true, [](const Config& c) { return c.getInputTerminator() == 0; }},
        {"sound", "cowbell", false, [](const Config& c) { return c.getSound() == H::Sound::NONE; }},
        {"sound", "COWBELL", true,
         [](const Config& c) { return c.getSound() == H::Sound::COWBELL; }},
        {"instrument", "NO_SUCH", false,
         [](const Config& c) { return c.getInstrument() == H::Instrument::GENERIC; }},
        {"delay", "2000", false, [](const Config& c) { return c.getDelay() == "20"; }},
        {"delay", "", true,
         [](const Config& c) { return c.getDelay().isEmpty() && c.getDelayAsInt() == 20; }},
        {"decimalPlaces", "8", false,
         [](const Config& c) { return c.getDecimalPlaces().isEmpty(); }},
        {"mathOperand", "0", false, [](const Config& c) { return c.getMathOperand().isEmpty(); }},
        {"removeCharacters", "\xe2\x82\xac", false,
         [](const Config& c) { return c.getRemoveCharacters().isEmpty(); }},
        {"customRegEx", "Wt\\(x\\)", false,
         [](const Config& c) { return c.getCustomRegEx().isEmpty(); }},
        {"connect", "", false,
         [](const Config& c) { return c.getConnect() == H::Connect::MANUAL; }},
        {"minimizeToTray", "TRUE", true, [](const Config& c) { return c.minimizeToTray; }},
        {"checkForUpdates", "no", true, [](const Config& c) { return c.checkForUpdates; }},
        {"requestMode", "interval", false,
         [](const Config& c) { return c.getRequestMode() == H::RequestMode::NONE; }},
        {"requestIntervalMs", "50", false,
         [](const Config& c) { return c.getRequestIntervalMsAsInt() == 1000; }},
        {"requestCommand", "S<999>", false,
         [](const Config& c) { return c.getRequestCommand().isEmpty(); }},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.key) + "=" + c.stored);
        const Loaded l = loadWith({{c.key, c.stored}});
        EXPECT_EQ(l.valid, c.valid);
        EXPECT_EQ(l.invalid.contains(QLatin1String(c.key)), !c.valid);
        EXPECT_TRUE(c.holds(l.config));
    }
}

// Settings written before the request keys existed: the instrument asked on start still is,
// and every other one is asked for nothing.
TEST(LoadConfig, settingsWithoutRequestKeysTakeThePresetsRequestDefaults) {
    const Loaded mitutoyo = loadWith({{"instrument", "MITUTOYO"}});
    EXPECT_TRUE(mitutoyo.valid);
    EXPECT_EQ(mitutoyo.config.getRequestMode(), H::RequestMode::ON_START);
    EXPECT_EQ(mitutoyo.config.getRequestCommand(), "1<13>");
    EXPECT_FALSE(mitutoyo.config.stableOnly);

    const Loaded mettler = loadWith({{"instrument", "METTLER_DIALOG"}});
    EXPECT_EQ(mettler.config.getRequestMode(), H::RequestMode::NONE);
    EXPECT_EQ(mettler.config.getRequestCommand(), "SI<13><10>");

    const Loaded chosen = loadWith({{"instrument", "MITUTOYO"}, {"requestMode", "NONE"}});
    EXPECT_EQ(chosen.config.getRequestMode(), H::RequestMode::NONE);
}

TEST(LoadConfig, thePortIsReadOnlyWhenThePortListIsNotEmpty) {
    MemoryPreferences root;
    root.node(kNode).put(QStringLiteral("port"), QStringLiteral("COM7"));
    Config c;
    c.setPort(QStringLiteral("COM1"));
    SettingsStore(root).loadConfig(c, {});
    EXPECT_EQ(c.getPort(), QStringLiteral("COM1"));
    EXPECT_EQ(c.getPrevPort(), QStringLiteral("COM1"));

    SettingsStore(root).loadConfig(c, {QStringLiteral("COM3")});
    EXPECT_EQ(c.getPort(), QStringLiteral("COM7"));

    MemoryPreferences empty;
    SettingsStore(empty).loadConfig(c, {QStringLiteral("COM3"), QStringLiteral("COM4")});
    EXPECT_EQ(c.getPort(), QStringLiteral("COM3"));
    EXPECT_EQ(c.getPrevPort(), QStringLiteral("COM3"));
}

TEST(SaveConfig, thePortOfThisRunBecomesThePreviousPortAndNoPortWritesNeither) {
    MemoryPreferences root;
    Config c = unusualConfig();
    SettingsStore(root).saveConfig(c);
    Preferences& n = root.node(kNode);
    EXPECT_EQ(n.get(QStringLiteral("prevPort"), {}), c.getPort());
    EXPECT_EQ(n.get(QStringLiteral("port"), {}), c.getPort());
    EXPECT_EQ(n.keys().size(), 38 + 11); // and the journal and MQTT settings but a password

    MemoryPreferences other;
    c.setPort(QString());
    SettingsStore(other).saveConfig(c);
    EXPECT_FALSE(other.node(kNode).keys().contains(QStringLiteral("port")));
    EXPECT_FALSE(other.node(kNode).keys().contains(QStringLiteral("prevPort")));
}

TEST(SaveConfig, aStoreFailureIsReportedAndSwallowedButAnAccessRefusalReachesTheCaller) {
    Diagnostics diagnostics;
    FailingPreferences broken(false);
    EXPECT_NO_THROW(SettingsStore(broken).saveConfig(unusualConfig()));
    EXPECT_TRUE(diagnostics.has(QStringLiteral("saveConfig exception: disk gone")));

    FailingPreferences refusing(true);
    EXPECT_THROW(SettingsStore(refusing).saveConfig(unusualConfig()),
                 serwedge::prefs::AccessDeniedError);
}

TEST(SaveNecessity, aRequestedSaveOrAChangedRecordMakesASaveDueOnce) {
    Config c = unusualConfig();
    serwedge::prefs::SaveNecessity necessity(c);
    EXPECT_FALSE(necessity.isSaveNecessary(c));
    necessity.setSaveNecessary();
    EXPECT_TRUE(necessity.isSaveNecessary(c));
    EXPECT_FALSE(necessity.isSaveNecessary(c));
    c.setDelay(QStringLiteral("21"));
    EXPECT_TRUE(necessity.isSaveNecessary(c));
    EXPECT_FALSE(necessity.isSaveNecessary(c));
    c.setPrevPort(QStringLiteral("COM9")); // not a setting of its own
    EXPECT_FALSE(necessity.isSaveNecessary(c));
}

// ---- round trips of every setting ----

class RoundTrip : public ::testing::TestWithParam<int> {
protected:
    Config record() const { return GetParam() == 0 ? unusualConfig() : loadDefaults(); }
    void expectLoadsBack(Preferences& root) {
        const Config saved = record();
        const Loaded l = loadFrom(root, {QStringLiteral("COM1")});
        EXPECT_TRUE(l.valid) << l.invalid.join(',').toStdString();
        if (saved.getPort().isEmpty()) {
            Config expected = saved;
            expected.setPort(QStringLiteral("COM1"));
            expectSameConfig(l.config, expected);
        } else {
            expectSameConfig(l.config, saved);
            EXPECT_EQ(l.config.getPrevPort(), saved.getPort());
        }
    }
    QTemporaryDir dir;
};

TEST_P(RoundTrip, throughTheSettingsFile) {
    const QString file = dir.filePath(QStringLiteral("prefs.txt"));
    {
        serwedge::prefs::FilePreferencesFactory factory(file);
        SettingsStore(factory.userRoot()).saveConfig(record());
    }
    serwedge::prefs::FilePreferencesFactory fresh(file);
    expectLoadsBack(fresh.userRoot());
}

TEST_P(RoundTrip, throughThePlatformStore) {
    const QString file = QSettings(QSettings::NativeFormat, QSettings::UserScope,
                                   QStringLiteral("brindle"), QStringLiteral("Tallyra"))
                             .fileName();
    ASSERT_TRUE(file.startsWith(isolated->dir.path())) << file.toStdString();
    QFile::remove(file);
    const auto open = [file] { return std::make_unique<QSettings>(file, QSettings::IniFormat); };
    {
        serwedge::prefs::QSettingsPreferences root(open);
        SettingsStore(root).saveConfig(record());
    }
    // A second root reads what the first one wrote to disk.
    serwedge::prefs::QSettingsPreferences root(open);
    expectLoadsBack(root);
}

TEST_P(RoundTrip, throughExportAndImport) {
    MemoryPreferences source;
    SettingsStore(source).saveConfig(record());
    const QByteArray xml = exportOf(source);
    MemoryPreferences target;
    const auto result = importInto(target, xml);
    EXPECT_EQ(result.applied, source.node(kNode).keys().size());
    expectLoadsBack(target);
}

INSTANTIATE_TEST_SUITE_P(Records, RoundTrip, ::testing::Values(0, 1));

// A store QSettings cannot read is kept aside, reported once, and a fresh one begins. A failed
// import leaves the store file byte for byte as it was.
TEST(PlatformStore, aDamagedStoreIsKeptAsideAndAFailedImportWritesNothing) {
    QTemporaryDir dir;
    const QString file = dir.filePath(QStringLiteral("Tallyra.conf"));
    QByteArray garbage;
    for (int i = 0; i < 2048; ++i) {
        garbage.append(char((i * 7919 + 13) % 256));
    }
    writeAll(file, garbage);
    const auto open = [file] { return std::make_unique<QSettings>(file, QSettings::IniFormat); };
    Diagnostics diagnostics;
    serwedge::prefs::QSettingsPreferences root(open);
    const QStringList kept = QDir(dir.path()).entryList({QStringLiteral("*.damaged-*")});
    ASSERT_EQ(kept.size(), 1);
    EXPECT_EQ(readAll(dir.filePath(kept.front())), garbage);
    ASSERT_EQ(diagnostics.lines.size(), 1);
    EXPECT_TRUE(diagnostics.lines.front().contains(QDir::toNativeSeparators(file)));

    importInto(root, document("<entry key=\"delay\" value=\"35\"/>"));
    const QByteArray written = readAll(file);
    EXPECT_TRUE(written.contains("delay=35"));
    EXPECT_THROW(importInto(root, document("<entry key=\"bitRate\" value=\"abc\"/>")),
                 serwedge::prefs::InvalidPreferencesFormatError);
    EXPECT_EQ(readAll(file), written);
    EXPECT_EQ(diagnostics.lines.size(), 1);
}

// ---- export and import ----

TEST(ExportImport, theExportHasTheStandardPreferencesLayout) {
    MemoryPreferences root;
    root.node(kNode).put(QStringLiteral("bitRate"), QStringLiteral("7"));
    root.node(kNode).put(QStringLiteral("customRegEx"), QStringLiteral("a<b>&\"c\"\n"));
    const QString xml = QString::fromUtf8(exportOf(root));
    const QStringList expectedInOrder = {
        QStringLiteral("<?xml version=\"1.0\" encoding=\"UTF-8\" standalone=\"no\"?>"),
        QStringLiteral("<!DOCTYPE preferences SYSTEM \"http://java.sun.com/dtd/preferences.dtd\">"),
        QStringLiteral("<preferences EXTERNAL_XML_VERSION=\"1.0\">"),
        QStringLiteral("<root type=\"user\">"),
        QStringLiteral("<node name=\"com\">"),
        QStringLiteral("<node name=\"brindle\">"),
        QStringLiteral("<node name=\"Tallyra\">"),
        QStringLiteral("<map>"),
        QStringLiteral("<entry key=\"bitRate\" value=\"7\"/>"),
        QStringLiteral("<entry key=\"customRegEx\" value=\"a&lt;b&gt;&amp;&quot;c&quot;&#10;\"/>"),
    };
    qsizetype at = 0;
    for (const QString& part : expectedInOrder) {
        const qsizetype found = xml.indexOf(part, at);
        ASSERT_GE(found, 0) << part.toStdString() << "\n" << xml.toStdString();
        at = found + part.size();
    }
}

// Control characters, which XML cannot carry, are escaped in a marked document; documents
// without the mark, as other programs write them, keep their backslashes.
TEST(ExportImport, everyCharacterInEveryEntryRoundTripsAndUnmarkedDocumentsKeepBackslashes) {
    MemoryPreferences source;
    Preferences& node = source.node(kNode);
    const QString odd =
        allByteValues() + QChar(0xD800) + QChar(0xDC00) + QChar(0xFFFF) + "x" + QChar(0xDC00);
    for (const QString& key : serwedge::prefs::settingKeys() + QStringList{"k\\\x01"}) {
        node.put(key, odd);
    }
    const QByteArray xml = exportOf(source);
    EXPECT_TRUE(xml.contains("<?tallyra-escapes backslash?>"));
    MemoryPreferences target;
    QBuffer in;
    in.setData(xml);
    in.open(QIODevice::ReadOnly);
    serwedge::prefs::importPreferences(in, target, kNode);
    EXPECT_EQ(target.node(kNode).keys(), node.keys());
    for (const QString& key : node.keys()) {
        EXPECT_EQ(target.node(kNode).get(key, {}), odd) << key.toStdString();
    }

    importInto(target, document("<entry key=\"customRegEx\" value=\"Wt\\s?(\\d+)\\\\\"/>"
                                "<entry key=\"port\" value=\"\\\\.\\u0041\\\"/>"));
    EXPECT_EQ(target.node(kNode).get("customRegEx", {}), QStringLiteral("Wt\\s?(\\d+)\\\\"));
    EXPECT_EQ(target.node(kNode).get("port", {}), QStringLiteral("\\\\.\\u0041\\"));
}

// The import's rules know every setting the program saves and accept what it saves.
TEST(ExportImport, everySavedSettingHasARuleThatAcceptsItsSavedForm) {
    for (const Config& config : {unusualConfig(), loadDefaults()}) {
        for (const auto& [key, value] : serwedge::prefs::storedForm(config)) {
            EXPECT_EQ(serwedge::prefs::isValidStoredValue(key, value), std::optional<bool>(true))
                << key.toStdString();
        }
    }
    EXPECT_EQ(serwedge::prefs::settingKeys().size(),
              serwedge::prefs::storedForm(unusualConfig()).size());
}

TEST(ExportImport, foreignNodesAndEntriesAreIgnoredAndOtherStoredEntriesStay) {
    MemoryPreferences root;
    root.node(QStringLiteral("/com/brindle/Other"))
        .put(QStringLiteral("x"), QStringLiteral("mine"));
    root.node(kNode).put(QStringLiteral("keyNotInFile"), QStringLiteral("stays"));
    root.node(kNode).put(QStringLiteral("delay"), QStringLiteral("20"));
    const QByteArray xml = R"(<?xml version="1.0" encoding="UTF-8"?>
<!DOCTYPE preferences SYSTEM "http://java.sun.com/dtd/preferences.dtd">
<preferences EXTERNAL_XML_VERSION="1.0">
  <root type="user">
    <map><entry key="rootKey" value="evil"/></map>
    <node name="com">
      <map/>
      <node name="brindle">
        <map><entry key="delay" value="999"/></map>
        <node name="Other"><map><entry key="x" value="overwritten"/></map></node>
        <node name="Evil"><map><entry key="y" value="z"/></map></node>
        <node name="Tallyra">
          <map><entry key="delay" value="35"/><entry key="junk" value=""/><entry key="x" value=""/>
            <entry key="junk" value="again"/></map>
          <node name="sub"><map><entry key="delay" value="1"/></map></node>
        </node>
      </node>
    </node>
  </root>
</preferences>
)";
    const auto result = importInto(root, xml);
    EXPECT_EQ(result.applied, 1);
    EXPECT_EQ(result.ignored, 5);
    EXPECT_EQ(result.unknownKeys, (QStringList{QStringLiteral("junk"), QStringLiteral("x")}));
    EXPECT_EQ(root.node(kNode).get(QStringLiteral("delay"), {}), QStringLiteral("35"));
    EXPECT_FALSE(root.node(kNode).keys().contains(QStringLiteral("junk")));
    EXPECT_EQ(root.node(kNode).get(QStringLiteral("keyNotInFile"), {}), QStringLiteral("stays"));
    EXPECT_EQ(root.node(QStringLiteral("/com/brindle/Other")).get(QStringLiteral("x"), {}),
              QStringLiteral("mine"));
    EXPECT_FALSE(root.nodeExists(QStringLiteral("/com/brindle/Evil")));
    EXPECT_FALSE(root.nodeExists(QStringLiteral("/com/brindle/Tallyra/sub")));
    EXPECT_TRUE(root.keys().isEmpty());
}

TEST(ExportImport, badDocumentsAreRefusedClearlyAndChangeNothing) {
    const QByteArray head = "<?xml version=\"1.0\"?>\n";
    const QByteArray open = "<preferences EXTERNAL_XML_VERSION=\"1.0\"><root type=\"user\"><map/>"
                            "<node name=\"com\"><map/><node name=\"brindle\"><map/>"
                            "<node name=\"Tallyra\"><map>";
    const QByteArray close = "</map></node></node></node></root></preferences>";
    const QByteArray entry = "<entry key=\"delay\" value=\"35\"/>";

    QByteArray deep = head + "<preferences><root type=\"user\">";
    for (int i = 0; i < 1000; ++i) {
        deep += "<node name=\"n\">";
    }
    QByteArray manyEntries = head + open;
    for (int i = 0; i < 20000; ++i) {
        manyEntries += "<entry key=\"k\" value=\"\"/>";
    }
    manyEntries += close;
    QByteArray million = head + open;
    million.reserve(40 * 1000 * 1000);
    for (int i = 0; i < 1000000; ++i) {
        million += "<entry key=\"k\" value=\"v\"/>";
    }
    million += close;

    struct Case {
        const char* what;
        QByteArray xml;
        std::string message;
    };
    std::vector<Case> cases = {
        {"not XML", "delay=35\n", ""},
        {"empty", "", ""},
        {"external entity",
         head + "<!DOCTYPE preferences [<!ENTITY x SYSTEM \"file:///etc/passwd\">]>" + open +
             "<entry key=\"delay\" value=\"&x;\"/>" + close,
         "entity"},
        {"internal entity expansion",
         head + "<!DOCTYPE preferences [<!ENTITY a \"aaaaaaaaaa\"><!ENTITY b \"&a;&a;&a;&a;\">]>" +
             open + "<entry key=\"delay\" value=\"&b;\"/>" + close,
         "entity"},
        {"a thousand levels", deep, "nested"},
        {"twenty thousand entries", manyEntries, "entries"},
        {"a million entries", million, "larger"},
        {"truncated", head + open + entry + "<entry key=\"x\" val", ""},
        {"wrong document element", head + "<settings/>", "preferences"},
        {"text junk", head + open + "junk" + entry + close, "text"},
        {"entry without value", head + open + "<entry key=\"delay\"/>" + close, "value"},
        {"too long a key",
         head + open + "<entry key=\"" + QByteArray(81, 'k') + "\" value=\"\"/>" + close, "80"},
        {"unknown version", head + "<preferences EXTERNAL_XML_VERSION=\"2.0\"/>", "version"},
        {"unknown escapes", "<?tallyra-escapes percent?>" + document(entry), "percent"},
        {"bad escape",
         "<?tallyra-escapes backslash?>" + document("<entry key=\"a\\q\" value=\"\"/>"), "escape"},
        {"short escape",
         "<?tallyra-escapes backslash?>" + document("<entry key=\"a\\u0G\" value=\"\"/>"),
         "escape"},
    };
    // A value the panels would refuse refuses the whole file, named with its key.
    for (const auto& [key, value] : {std::pair{"bitRate", "abc"},
                                     {"bitRate", "15"},
                                     {"customRegEx", "(("},
                                     {"customRegEx", "x"},
                                     {"sound", "cowbell"},
                                     {"checkForUpdates", "no"},
                                     {"inputTerminator", "256"},
                                     {"removeCharacters", "\xe2\x82\xac"}}) {
        cases.push_back({key,
                         document("<entry key=\"parity\" value=\"1\"/><entry key=\"" +
                                  QByteArray(key) + "\" value=\"" + value + "\"/>"),
                         serwedge::config::configBundle()
                             .format("import.invalid.setting", {key, QString::fromUtf8(value)})
                             .toStdString()});
    }
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        MemoryPreferences root;
        root.node(kNode).put(QStringLiteral("delay"), QStringLiteral("20"));
        try {
            importInto(root, c.xml);
            ADD_FAILURE() << "accepted";
        } catch (const serwedge::prefs::InvalidPreferencesFormatError& e) {
            EXPECT_NE(std::string(e.what()).find(c.message), std::string::npos) << e.what();
        }
        EXPECT_EQ(root.node(kNode).keys(), QStringList{QStringLiteral("delay")});
        EXPECT_EQ(root.node(kNode).get(QStringLiteral("delay"), {}), QStringLiteral("20"));
    }
}

TEST(ExportImport, aConfigLoadsFromAnExportFileWithoutTouchingTheStore) {
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("Tallyra.xml"));
    MemoryPreferences source;
    SettingsStore(source).saveConfig(unusualConfig());
    writeAll(path, exportOf(source));

    QString error;
    bool valid = false;
    const auto loaded =
        serwedge::prefs::loadConfigFromExport(path, {QStringLiteral("COM1")}, &error, &valid);
    ASSERT_TRUE(loaded.has_value()) << error.toStdString();
    EXPECT_TRUE(valid);
    expectSameConfig(*loaded, unusualConfig());

    writeAll(path, "not xml");
    EXPECT_FALSE(serwedge::prefs::loadConfigFromExport(path, {}, &error).has_value());
    EXPECT_TRUE(error.contains(path));
    EXPECT_FALSE(
        serwedge::prefs::loadConfigFromExport(dir.filePath("missing.xml"), {}, &error).has_value());
}

TEST(SharedInstallation, theSharedFileLiesBelowProgramDataOrVarLib) {
    const QByteArray saved = qgetenv("ProgramData");
    qputenv("ProgramData", "C:/ProgramData");
    EXPECT_EQ(serwedge::prefs::sharedPreferencesFile(),
              QStringLiteral("C:/ProgramData/Brindle/TallyraCrew/prefs.txt"));
    qunsetenv("ProgramData");
    EXPECT_EQ(serwedge::prefs::sharedPreferencesFile(),
              QStringLiteral("/var/lib/Brindle/TallyraCrew/prefs.txt"));
    if (!saved.isNull()) {
        qputenv("ProgramData", saved);
    }
}

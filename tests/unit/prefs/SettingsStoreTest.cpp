#include "PrefsTestSupport.h"

#include "serwedge/prefs/FilePreferences.h"
#include "serwedge/prefs/MemoryPreferences.h"
#include "serwedge/prefs/QSettingsPreferences.h"
#include "serwedge/prefs/SettingsStore.h"

#include <QBuffer>
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
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.key) + "=" + c.stored);
        const Loaded l = loadWith({{c.key, c.stored}});
        EXPECT_EQ(l.valid, c.valid);
        EXPECT_EQ(l.invalid.contains(QLatin1String(c.key)), !c.valid);
        EXPECT_TRUE(c.holds(l.config));
    }
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
    EXPECT_EQ(n.keys().size(), 33 + 11); // and the journal and MQTT settings but a password

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
    auto settings =
        std::make_shared<QSettings>(QSettings::NativeFormat, QSettings::UserScope,
                                    QStringLiteral("brindle"), QStringLiteral("Tallyra"));
    ASSERT_TRUE(settings->fileName().startsWith(isolated->dir.path()))
        << settings->fileName().toStdString();
    settings->clear();
    {
        serwedge::prefs::QSettingsPreferences root(settings);
        SettingsStore(root).saveConfig(record());
    }
    // A second settings object reads what the first one wrote to disk.
    auto reread = std::make_shared<QSettings>(settings->fileName(), QSettings::IniFormat);
    serwedge::prefs::QSettingsPreferences root(reread);
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

TEST(ExportImport, aValueXmlCannotCarryFailsTheExportClearly) {
    MemoryPreferences root;
    root.node(kNode).put(QStringLiteral("customRegEx"), QStringLiteral("bell\a"));
    try {
        exportOf(root);
        FAIL() << "exported a control character";
    } catch (const serwedge::prefs::BackingStoreError& e) {
        EXPECT_NE(std::string(e.what()).find("customRegEx"), std::string::npos);
    }
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
          <map><entry key="delay" value="35"/></map>
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
    EXPECT_EQ(root.node(kNode).get(QStringLiteral("delay"), {}), QStringLiteral("35"));
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
        const char* message;
    };
    const Case cases[] = {
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
    };
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

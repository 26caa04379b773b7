#include "PrefsTestSupport.h"
#include "ReferenceProperties.h"

#include "props/Props.h"
#include "serwedge/prefs/FilePreferences.h"
#include "serwedge/prefs/Properties.h"

#include <QDir>

using namespace prefstest;
using serwedge::prefs::FilePreferences;
using serwedge::prefs::FilePreferencesFactory;
using serwedge::prefs::Preferences;

namespace {

class FilePrefs : public ::testing::Test {
protected:
    QString file() const { return dir.filePath(QStringLiteral("prefs.txt")); }
    QMap<QString, QString> fileEntries() const {
        return serwedge::prefs::properties::parse(readAll(file()));
    }

    QTemporaryDir dir;
    Diagnostics diagnostics;
};

} // namespace

TEST_F(FilePrefs, missingFileStartsEmptyAndTheFirstPutCreatesItWithTheCommentFirst) {
    FilePreferencesFactory factory(file());
    Preferences& node = factory.userRoot().node(QStringLiteral("/com/brindle/Tallyra"));
    EXPECT_TRUE(node.keys().isEmpty());
    EXPECT_FALSE(QFile::exists(file()));
    node.put(QStringLiteral("bitRate"), QStringLiteral("7"));
    const QByteArray bytes = readAll(file());
    EXPECT_TRUE(bytes.startsWith("#FilePreferences\n")) << bytes.toStdString();
    EXPECT_TRUE(bytes.contains("\ncom.brindle.Tallyra.bitRate=7\n"));
}

TEST_F(FilePrefs, nodesBelowTheRootGiveDottedFullKeysAndASyncLoadsOnlyTheNodesOwnEntries) {
    {
        FilePreferencesFactory factory(file());
        Preferences& x = factory.userRoot().node(QStringLiteral("x"));
        x.put(QStringLiteral("a"), QStringLiteral("1"));
        x.node(QStringLiteral("y")).put(QStringLiteral("b"), QStringLiteral("2"));
    }
    const auto entries = fileEntries();
    EXPECT_EQ(entries.value(QStringLiteral("x.a")), QStringLiteral("1"));
    EXPECT_EQ(entries.value(QStringLiteral("x.y.b")), QStringLiteral("2"));
    EXPECT_EQ(entries.size(), 2);

    FilePreferencesFactory fresh(file());
    Preferences& x = fresh.userRoot().node(QStringLiteral("x"));
    EXPECT_EQ(x.keys(), QStringList{QStringLiteral("a")});
    EXPECT_EQ(x.node(QStringLiteral("y")).get(QStringLiteral("b"), {}), QStringLiteral("2"));
}

TEST_F(FilePrefs, aBackslashIsDoubledInTheFileAndReadsBackSingle) {
    const QString pattern = QStringLiteral("Wt\\s?");
    {
        FilePreferencesFactory factory(file());
        factory.userRoot()
            .node(QStringLiteral("/com/brindle/Tallyra"))
            .put(QStringLiteral("customRegEx"), pattern);
    }
    EXPECT_TRUE(readAll(file()).contains("com.brindle.Tallyra.customRegEx=Wt\\\\s?\n"));
    FilePreferencesFactory fresh(file());
    EXPECT_EQ(fresh.userRoot()
                  .node(QStringLiteral("/com/brindle/Tallyra"))
                  .get(QStringLiteral("customRegEx"), {}),
              pattern);
}

TEST_F(FilePrefs, specialTextsRoundTripAsKeysAndValuesAndAStandardReaderAgrees) {
    const QStringList texts = specialTexts();
    {
        FilePreferencesFactory factory(file());
        Preferences& node = factory.userRoot().node(QStringLiteral("n"));
        for (int i = 0; i < texts.size(); ++i) {
            node.put(QStringLiteral("v%1").arg(i), texts[i]);
        }
    }
    FilePreferencesFactory fresh(file());
    Preferences& node = fresh.userRoot().node(QStringLiteral("n"));
    const auto reference = reference::read(readAll(file()).toStdString());
    for (int i = 0; i < texts.size(); ++i) {
        const QString key = QStringLiteral("v%1").arg(i);
        EXPECT_EQ(node.get(key, QStringLiteral("<missing>")), texts[i]) << i;
        EXPECT_EQ(qs(reference.at(u16(QStringLiteral("n.") + key))), texts[i]) << i;
    }
}

TEST_F(FilePrefs, entriesOfOtherNodesAndProgramsSurviveEveryRewrite) {
    writeAll(file(), "# written by hand\nother.program.key=keep me\ntopLevel=1\n"
                     "com.brindle.Tallyra.sub.deep=also kept\ncom.brindle.Tallyra.old=2\n");
    FilePreferencesFactory factory(file());
    Preferences& node = factory.userRoot().node(QStringLiteral("/com/brindle/Tallyra"));
    EXPECT_EQ(node.keys(), QStringList{QStringLiteral("old")});
    node.put(QStringLiteral("bitRate"), QStringLiteral("7"));
    node.remove(QStringLiteral("old"));
    const auto entries = fileEntries();
    EXPECT_EQ(entries.value(QStringLiteral("other.program.key")), QStringLiteral("keep me"));
    EXPECT_EQ(entries.value(QStringLiteral("topLevel")), QStringLiteral("1"));
    EXPECT_EQ(entries.value(QStringLiteral("com.brindle.Tallyra.sub.deep")),
              QStringLiteral("also kept"));
    EXPECT_FALSE(entries.contains(QStringLiteral("com.brindle.Tallyra.old")));
    EXPECT_EQ(entries.value(QStringLiteral("com.brindle.Tallyra.bitRate")), QStringLiteral("7"));
}

TEST_F(FilePrefs, everySyncRereadsTheFileWrittenByAnotherStore) {
    FilePreferencesFactory first(file());
    FilePreferencesFactory second(file());
    Preferences& a = first.userRoot().node(QStringLiteral("n"));
    Preferences& b = second.userRoot().node(QStringLiteral("n"));
    a.put(QStringLiteral("k"), QStringLiteral("from a"));
    EXPECT_EQ(b.get(QStringLiteral("k"), QStringLiteral("none")), QStringLiteral("none"));
    b.sync();
    EXPECT_EQ(b.get(QStringLiteral("k"), {}), QStringLiteral("from a"));
    // A flush of b writes b's entries over the file again, a's entry included after the sync.
    b.put(QStringLiteral("l"), QStringLiteral("from b"));
    EXPECT_EQ(fileEntries().value(QStringLiteral("n.k")), QStringLiteral("from a"));
    EXPECT_EQ(fileEntries().value(QStringLiteral("n.l")), QStringLiteral("from b"));
}

TEST_F(FilePrefs, removingANodeRemovesItsEntriesAndThoseOfItsChildrenFromTheFile) {
    FilePreferencesFactory factory(file());
    Preferences& x = factory.userRoot().node(QStringLiteral("x"));
    x.put(QStringLiteral("a"), QStringLiteral("1"));
    x.node(QStringLiteral("y")).put(QStringLiteral("b"), QStringLiteral("2"));
    factory.userRoot().node(QStringLiteral("z")).put(QStringLiteral("c"), QStringLiteral("3"));
    x.removeNode();
    EXPECT_TRUE(x.isRemoved());
    EXPECT_EQ(fileEntries().keys(), QStringList{QStringLiteral("z.c")});
    EXPECT_THROW(x.get(QStringLiteral("a"), {}), std::logic_error);
    // The node can be created anew.
    EXPECT_TRUE(factory.userRoot().node(QStringLiteral("x")).keys().isEmpty());
}

TEST_F(FilePrefs, diagnosticsNameTheFileAndEveryNodeCreated) {
    FilePreferencesFactory factory(QStringLiteral("relative-prefs.txt"));
    factory.userRoot().node(QStringLiteral("/com/brindle"));
    EXPECT_TRUE(diagnostics.has(QStringLiteral("Instantiating root preferences")));
    EXPECT_TRUE(diagnostics.has(QStringLiteral("Instantiating node com")));
    EXPECT_TRUE(diagnostics.has(QStringLiteral("Instantiating node brindle")));
    EXPECT_TRUE(diagnostics.has(
        QStringLiteral("Preferences file is ") +
        QDir::toNativeSeparators(QDir::current().absoluteFilePath("relative-prefs.txt"))))
        << diagnostics.lines.join('|').toStdString();
    EXPECT_EQ(&factory.systemRoot(), &factory.userRoot());
}

TEST_F(FilePrefs, thePropertyNamesTheFileAndTheHomeDirectoryIsTheFallback) {
    props::set(props::kPrefsFileProperty, file().toStdString());
    EXPECT_EQ(FilePreferencesFactory().getPreferencesFile(), file());
    props::set(props::kPrefsFileProperty, "");
    props::set("user.home", dir.path().toStdString());
    EXPECT_EQ(FilePreferencesFactory().getPreferencesFile(), dir.filePath(".fileprefs"));
    props::remove(props::kPrefsFileProperty);
}

// A file that cannot be trusted is neither read nor overwritten: the node starts empty, the
// failures are reported, and the bytes on disk stay as they were.
TEST_F(FilePrefs, damagedFilesAreReportedAndLeftUntouched) {
    struct Case {
        const char* what;
        QByteArray contents;
        const char* message;
    };
    QByteArray big("#FilePreferences\n");
    while (big.size() <= FilePreferencesFactory::kMaxFileSize) {
        big.append("com.brindle.Tallyra.padding=xxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxx\n");
    }
    const Case cases[] = {
        {"larger than 1 MiB", big, "1 MiB"},
        {"malformed escape", "com.brindle.Tallyra.bitRate=\\u00zz\n", "damaged"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        writeAll(file(), c.contents);
        FilePreferencesFactory factory(file());
        Preferences& node = factory.userRoot().node(QStringLiteral("/com/brindle/Tallyra"));
        EXPECT_TRUE(diagnostics.has(QStringLiteral("Unable to sync on creation of node com")));
        EXPECT_TRUE(node.keys().isEmpty());
        node.put(QStringLiteral("bitRate"), QStringLiteral("9"));
        EXPECT_TRUE(diagnostics.has(QStringLiteral("Unable to flush after putting bitRate")));
        try {
            node.flush();
            ADD_FAILURE() << "flush accepted the damaged file";
        } catch (const serwedge::prefs::BackingStoreError& e) {
            EXPECT_NE(std::string(e.what()).find(c.message), std::string::npos) << e.what();
            EXPECT_NE(std::string(e.what()).find(QDir::toNativeSeparators(file()).toStdString()),
                      std::string::npos);
        }
        EXPECT_EQ(readAll(file()), c.contents);
        diagnostics.lines.clear();
    }
}

TEST_F(FilePrefs, aHundredMegabyteFileIsRefusedWithoutReadingIt) {
    {
        QFile f(file());
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        ASSERT_TRUE(f.resize(100LL * 1024 * 1024)); // sparse: costs no disk space
    }
    FilePreferencesFactory factory(file());
    EXPECT_THROW(factory.readFile(), serwedge::prefs::BackingStoreError);
    EXPECT_EQ(QFileInfo(file()).size(), 100LL * 1024 * 1024);
}

TEST_F(FilePrefs, junkAndATruncatedLastLineStillLoadWhatIsReadable) {
    QByteArray data("\x01\x02\xff\x00garbage\x00=\x7f\n", 15);
    data.append("com.brindle.Tallyra.delay=35\ncom.brindle.Tallyra.customRegEx=(\\\\d+)\\");
    writeAll(file(), data);
    FilePreferencesFactory factory(file());
    Preferences& node = factory.userRoot().node(QStringLiteral("/com/brindle/Tallyra"));
    EXPECT_EQ(node.get(QStringLiteral("delay"), {}), QStringLiteral("35"));
    EXPECT_EQ(node.get(QStringLiteral("customRegEx"), {}), QStringLiteral("(\\d+)"));
}

TEST_F(FilePrefs, aFailedWriteIsOnlyReportedAndTheNodeKeepsItsValue) {
    const QString locked = dir.filePath(QStringLiteral("ro"));
    QDir().mkpath(locked);
    QFile::setPermissions(locked, QFileDevice::ReadOwner | QFileDevice::ExeOwner);
    // Root, and Windows (where a folder's read-only mark does not stop new files), write anyway.
    if (QFile probe(locked + QStringLiteral("/probe")); probe.open(QIODevice::WriteOnly)) {
        probe.remove();
        GTEST_SKIP() << "a read-only folder does not stop this user from writing";
    }
    FilePreferencesFactory factory(locked + QStringLiteral("/prefs.txt"));
    Preferences& node = factory.userRoot().node(QStringLiteral("n"));
    node.put(QStringLiteral("k"), QStringLiteral("v"));
    EXPECT_TRUE(diagnostics.has(QStringLiteral("Unable to flush after putting k")));
    EXPECT_EQ(node.get(QStringLiteral("k"), {}), QStringLiteral("v"));
    QFile::setPermissions(locked,
                          QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner);
}

#include "PrefsTestSupport.h"
#include "ReferenceProperties.h"

#include "props/Props.h"
#include "serwedge/prefs/FilePreferences.h"
#include "serwedge/prefs/Properties.h"

#include <QDir>

#include <unistd.h>

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
    EXPECT_TRUE(diagnostics.has(QStringLiteral("Preferences file is ") +
                                QDir::current().absoluteFilePath("relative-prefs.txt")))
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

// A file that cannot be trusted is not read: it is kept aside under a new name, reported once
// with its path and reason, and a fresh file takes its place.
TEST_F(FilePrefs, damagedFilesAreKeptAsideReportedOnceAndAFreshOneIsWritten) {
    QByteArray big("#FilePreferences\n");
    big.append(QByteArray(FilePreferencesFactory::kMaxFileSize, 'x'));
    const std::pair<QByteArray, const char*> cases[] = {
        {big, "1 MiB"}, {"com.brindle.Tallyra.bitRate=\\u00zz\n", "\\u"}};
    for (const auto& [contents, reason] : cases) {
        SCOPED_TRACE(reason);
        QDir(dir.path()).removeRecursively();
        QDir().mkpath(dir.path());
        writeAll(file(), contents);
        FilePreferencesFactory factory(file());
        Preferences& node = factory.userRoot().node(QStringLiteral("/com/brindle/Tallyra"));
        EXPECT_TRUE(node.keys().isEmpty());
        node.put(QStringLiteral("bitRate"), QStringLiteral("9"));

        const QStringList kept = QDir(dir.path()).entryList({QStringLiteral("*.damaged-*")});
        ASSERT_EQ(kept.size(), 1);
        EXPECT_EQ(readAll(dir.filePath(kept.front())), contents);
        const QStringList reports = diagnostics.lines.filter(QStringLiteral("damaged"));
        ASSERT_EQ(reports.size(), 1) << diagnostics.lines.join('|').toStdString();
        for (const QString& part :
             {QDir::toNativeSeparators(file()), kept.front(), QString::fromUtf8(reason)}) {
            EXPECT_TRUE(reports.front().contains(part)) << part.toStdString();
        }
        EXPECT_EQ(fileEntries(), (QMap<QString, QString>{{"com.brindle.Tallyra.bitRate", "9"}}));
        diagnostics.lines.clear();
    }
}

TEST_F(FilePrefs, aHundredMegabyteFileIsKeptAsideWithoutReadingIt) {
    {
        QFile f(file());
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        ASSERT_TRUE(f.resize(100LL * 1024 * 1024)); // sparse: costs no disk space
    }
    EXPECT_TRUE(FilePreferencesFactory(file()).readFile().isEmpty());
    const QStringList kept = QDir(dir.path()).entryList({QStringLiteral("*.damaged-*")});
    ASSERT_EQ(kept.size(), 1);
    EXPECT_EQ(QFileInfo(dir.filePath(kept.front())).size(), 100LL * 1024 * 1024);
}

// Writer and reader share one limit: what would not be read back is not written.
TEST_F(FilePrefs, aWriteBeyondTheReadLimitIsRefusedAndChangesNothing) {
    writeAll(file(),
             "other.program.k=" + QByteArray(FilePreferencesFactory::kMaxFileSize - 20000, 'v'));
    FilePreferencesFactory factory(file());
    Preferences& node = factory.userRoot().node(QStringLiteral("/com/brindle/Tallyra"));
    node.putAll({{QStringLiteral("small"), QStringLiteral("fits")}});
    const QByteArray before = readAll(file());
    // 5,000 characters outside ASCII take 30,000 bytes as \uXXXX escapes.
    try {
        node.putAll({{QStringLiteral("a"), QStringLiteral("x")},
                     {QStringLiteral("big"), QString(5000, QChar(0x20AC))}});
        ADD_FAILURE() << "wrote beyond the limit";
    } catch (const serwedge::prefs::BackingStoreError& e) {
        EXPECT_NE(std::string(e.what()).find("nothing was written"), std::string::npos);
    }
    EXPECT_EQ(readAll(file()), before);
    EXPECT_EQ(node.keys(), QStringList{QStringLiteral("small")});
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
    if (::geteuid() == 0) {
        GTEST_SKIP() << "permissions do not stop root";
    }
    const QString locked = dir.filePath(QStringLiteral("ro"));
    QDir().mkpath(locked);
    QFile::setPermissions(locked, QFileDevice::ReadOwner | QFileDevice::ExeOwner);
    FilePreferencesFactory factory(locked + QStringLiteral("/prefs.txt"));
    Preferences& node = factory.userRoot().node(QStringLiteral("n"));
    node.put(QStringLiteral("k"), QStringLiteral("v"));
    EXPECT_TRUE(diagnostics.has(QStringLiteral("Unable to flush after putting k")));
    EXPECT_EQ(node.get(QStringLiteral("k"), {}), QStringLiteral("v"));
    QFile::setPermissions(locked,
                          QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner);
}

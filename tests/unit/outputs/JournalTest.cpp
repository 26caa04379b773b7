// The journal of readings: what each line holds, the file of each day, failures of the disk
// and a process killed while it writes.

#include "outputs/Journal.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QJsonDocument>
#include <QJsonObject>
#include <QTemporaryDir>

#include <csignal>
#include <mutex>
#include <sys/wait.h>
#include <unistd.h>

namespace {

using serwedge::outputs::Journal;
using serwedge::outputs::JournalOptions;
using serwedge::outputs::JournalReport;
using serwedge::outputs::Reading;
using Kind = JournalReport::Kind;

Reading reading(int count, const QDateTime& instant = QDateTime::currentDateTime()) {
    Reading r;
    r.instant = instant;
    r.port = QStringLiteral("/dev/ttyUSB0");
    r.preset = QStringLiteral("KERN_572");
    r.count = count;
    r.raw = QStringLiteral("ST,+%1.00  g\r\n").arg(count);
    r.value = QStringLiteral("%1.00").arg(count);
    r.typed = true;
    return r;
}

// The lines of a file, each parsed; a line that does not parse gives an empty object.
std::vector<QJsonObject> linesOf(const QString& path, QByteArray* text = nullptr) {
    QFile f(path);
    f.open(QIODevice::ReadOnly);
    const QByteArray all = f.readAll();
    if (text)
        *text = all;
    std::vector<QJsonObject> lines;
    for (const QByteArray& l : all.split('\n')) {
        if (!l.isEmpty())
            lines.push_back(QJsonDocument::fromJson(l).object());
    }
    return lines;
}

// What the journal reported, in order (its thread writes, the test reads under the lock).
struct Reports {
    std::mutex mutex;
    std::vector<JournalReport> all;
    Journal::Listener listener() {
        return [this](const JournalReport& r) {
            std::lock_guard lock(mutex);
            all.push_back(r);
        };
    }
};

class JournalTest : public ::testing::Test {
public:
    QTemporaryDir dir;
    QString folder() const { return dir.filePath(QStringLiteral("journal")); }
    QString dayFile(const QDate& day) const {
        return QDir(folder()).filePath(Journal::fileName(day));
    }
};

TEST_F(JournalTest, eachLineHoldsOneReadingWithEveryField) {
    const QDateTime at(QDate(2024, 5, 1), QTime(10, 42, 13, 123));
    Reading odd = reading(2, at);
    odd.raw = QString::fromLatin1("\x02\"q\\\xB0\xFF\r\n", 9);
    odd.value.clear();
    odd.error = true;
    odd.typed = false;
    odd.failure = QStringLiteral("Extraction error: no group 2");
    Reading status = reading(3, at);
    status.status = QStringLiteral("UNSTABLE");
    status.ignored = true;
    {
        Journal journal(JournalOptions(folder()), {});
        journal.append(reading(1, at));
        journal.append(std::vector<Reading>{odd, status});
        ASSERT_TRUE(journal.waitUntilWritten(5000));
    }
    const auto lines = linesOf(dayFile(at.date()));
    ASSERT_EQ(lines.size(), 3u);
    const QJsonObject& first = lines[0];
    EXPECT_EQ(first.value("time").toString().left(23), "2024-05-01T10:42:13.123");
    EXPECT_EQ(QDateTime::fromString(first.value("time").toString(), Qt::ISODateWithMs), at);
    EXPECT_FALSE(first.value("zone").toString().isEmpty());
    EXPECT_EQ(first.value("port").toString(), "/dev/ttyUSB0");
    EXPECT_EQ(first.value("preset").toString(), "KERN_572");
    EXPECT_EQ(first.value("line").toInt(), 1);
    EXPECT_EQ(first.value("raw").toString(), "ST,+1.00  g\r\n");
    EXPECT_EQ(first.value("value").toString(), "1.00");
    EXPECT_TRUE(first.value("typed").toBool());
    EXPECT_FALSE(first.value("error").toBool());
    EXPECT_FALSE(first.contains("failure"));

    // Every byte comes back as it was received, control characters and Latin-1 included.
    EXPECT_EQ(lines[1].value("raw").toString(), odd.raw);
    EXPECT_TRUE(lines[1].value("value").isNull());
    EXPECT_TRUE(lines[1].value("error").toBool());
    EXPECT_FALSE(lines[1].value("typed").toBool());
    EXPECT_EQ(lines[1].value("failure").toString(), odd.failure);
    EXPECT_EQ(lines[2].value("status").toString(), "UNSTABLE");
    EXPECT_TRUE(lines[2].value("ignored").toBool());
}

TEST_F(JournalTest, readingsGoToTheFileOfTheirDayAndOldFilesAreRemoved) {
    const QDate day(2024, 3, 31);
    QDir().mkpath(folder());
    for (const QString& name :
         {Journal::fileName(day.addDays(-10)), Journal::fileName(day.addDays(-3)),
          QStringLiteral("tallyra-notes.jsonl"), QStringLiteral("other.txt")}) {
        QFile f(QDir(folder()).filePath(name));
        f.open(QIODevice::WriteOnly);
    }
    {
        JournalOptions options(folder());
        options.retentionDays = 5;
        options.today = [day] { return day.addDays(1); };
        Journal journal(options, {});
        journal.append(reading(1, QDateTime(day, QTime(23, 59, 59, 900))));
        journal.append(reading(2, QDateTime(day.addDays(1), QTime(0, 0, 0, 50))));
        ASSERT_TRUE(journal.waitUntilWritten(5000));
    }
    const auto before = linesOf(dayFile(day));
    const auto after = linesOf(dayFile(day.addDays(1)));
    ASSERT_EQ(before.size(), 1u);
    ASSERT_EQ(after.size(), 1u);
    EXPECT_EQ(before[0].value("line").toInt(), 1);
    EXPECT_EQ(after[0].value("line").toInt(), 2);

    const QStringList left = QDir(folder()).entryList(QDir::Files, QDir::Name);
    EXPECT_EQ(left,
              (QStringList{"other.txt", Journal::fileName(day.addDays(-3)), Journal::fileName(day),
                           Journal::fileName(day.addDays(1)), "tallyra-notes.jsonl"}));
}

// Two ways the disk fails: the folder is a file, and the disk is full (the day file leads to
// /dev/full). Either is reported once; readings wait, within the bound, and are written in
// order once the disk works again.
TEST_F(JournalTest, aJournalThatCannotBeWrittenIsReportedOnceAndCatchesUp) {
    const QDate today = QDate::currentDate();
    const struct {
        const char* name;
        std::function<void(JournalTest&)> breakIt;
        std::function<void(JournalTest&)> mendIt;
        QString reason;
    } cases[] = {
        {"folder is a file",
         [](JournalTest& t) {
             QFile f(t.folder());
             f.open(QIODevice::WriteOnly);
         },
         [](JournalTest& t) { QFile::remove(t.folder()); }, QStringLiteral("Not a directory")},
        {"disk full",
         [today](JournalTest& t) {
             QDir().mkpath(t.folder());
             QFile::link(QStringLiteral("/dev/full"), t.dayFile(today));
         },
         [today](JournalTest& t) { QFile::remove(t.dayFile(today)); },
         QStringLiteral("No space left on device")},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        QDir(folder()).removeRecursively();
        QFile::remove(folder());
        c.breakIt(*this);
        Reports reports;
        JournalOptions options(folder());
        options.maxPendingReadings = 10;
        Journal journal(options, reports.listener());
        for (int i = 1; i <= 25; ++i)
            journal.append(reading(i));
        EXPECT_FALSE(journal.waitUntilWritten(1500));
        c.mendIt(*this);
        ASSERT_TRUE(journal.waitUntilWritten(5000));

        // One failure, then the drops (counted before or after it), then the recovery.
        std::lock_guard lock(reports.mutex);
        const auto& all = reports.all;
        ASSERT_FALSE(all.empty());
        EXPECT_EQ(std::count_if(all.begin(), all.end(),
                                [](const auto& r) { return r.kind == Kind::WriteFailed; }),
                  1);
        EXPECT_EQ(all.back().kind, Kind::Recovered);
        for (const JournalReport& r : all) {
            if (r.kind == Kind::WriteFailed) {
                EXPECT_EQ(r.detail.toStdString(), c.reason.toStdString());
            }
        }
        EXPECT_TRUE(std::any_of(all.begin(), all.end(), [](const auto& r) {
            return r.kind == Kind::Dropped && r.count == 15u;
        }));
        const auto lines = linesOf(dayFile(today));
        ASSERT_EQ(lines.size(), 10u);
        for (int i = 0; i < 10; ++i)
            EXPECT_EQ(lines[size_t(i)].value("line").toInt(), 16 + i);
    }
}

TEST_F(JournalTest, aKilledProcessLeavesEveryWrittenLineParseable) {
    const QString path = dayFile(QDate::currentDate());
    const pid_t child = ::fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
        Journal journal(JournalOptions(folder()), {});
        for (int i = 1;; ++i) {
            Reading r = reading(i);
            r.raw += QString(i % 300, u'x'); // lines of many lengths
            journal.append(r);
            if (i % 50 == 0)
                ::usleep(1000);
        }
    }
    for (int i = 0; i < 500 && QFileInfo(path).size() < 200000; ++i)
        ::usleep(10000);
    ::kill(child, SIGKILL);
    ::waitpid(child, nullptr, 0);

    QByteArray text;
    auto lines = linesOf(path, &text);
    // Only the line being written when the process died may be cut short.
    if (!text.endsWith('\n'))
        lines.pop_back();
    ASSERT_GT(lines.size(), 100u);
    for (size_t i = 0; i < lines.size(); ++i)
        ASSERT_EQ(lines[i].value("line").toInt(), int(i + 1)) << "line " << i + 1;
}

} // namespace

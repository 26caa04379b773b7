// The journal when the disk fails (a folder that is a file, a disk that is full) and when the
// process writing it is killed: POSIX only (/dev/full, fork).

#include "JournalTestSupport.h"

#include <csignal>
#include <sys/wait.h>
#include <unistd.h>

namespace {

using namespace journaltest;

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

// The journal of readings: what each line holds and the file of each day.

#include "JournalTestSupport.h"

namespace {

using namespace journaltest;

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

} // namespace

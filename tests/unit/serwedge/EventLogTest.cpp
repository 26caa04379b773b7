// The event log: styles, time stamps, colouring of received lines, thread-safe logging, the
// line limit and following the newest line.

#include "WindowTestSupport.h"

#include "worker/DataLine.h"

#include <QRegularExpression>
#include <QScrollBar>

#include <thread>

using namespace windowtest;
using serwedge::EventLog;
using serwedge::worker::DataLine;

namespace {

class EventLogTest : public ::testing::Test {
protected:
    using Pieces = std::vector<std::pair<QString, QString>>;
};

DataLine line(const QString& raw, const QString& processed) {
    return DataLine(raw, processed, 1, QDateTime(QDate(2024, 5, 6), QTime(7, 8, 9)), false);
}

struct ColourCase {
    const char* name;
    QString raw;
    QString processed;
    std::vector<std::pair<QString, QString>> pieces; // after the time stamp
};

} // namespace

TEST_F(EventLogTest, receivedLinesAreColouredByWhatWasTyped) {
    const QString stamp = "07:08:09 ";
    const std::vector<ColourCase> cases = {
        {"value inside the line",
         "ST,+000012.34  g\r",
         "12.34",
         {{"ST,+0000", "ignored"}, {"12.34", "typed"}, {"  g<13>", "ignored"}}},
        {"value at the start", "12.5\r", "12.5", {{"12.5", "typed"}, {"<13>", "ignored"}}},
        {"value to the end", "W 7", "7", {{"W ", "ignored"}, {"7", "typed"}}},
        {"comma typed, point received",
         "N 12.50 kg",
         "12,50",
         {{"N ", "ignored"}, {"12.50", "typed"}, {" kg", "ignored"}}},
        {"point typed, comma received",
         "N 3,25 kg",
         "3.25",
         {{"N ", "ignored"}, {"3,25", "typed"}, {" kg", "ignored"}}},
    };
    for (const ColourCase& c : cases) {
        EventLog log;
        log.displayLine(line(c.raw, c.processed));
        Pieces expected{{stamp, "regular"}};
        expected.insert(expected.end(), c.pieces.begin(), c.pieces.end());
        EXPECT_EQ(log.lastLinePieces(), expected) << c.name;
    }
}

TEST_F(EventLogTest, linesWithoutValueOrWithUnplaceableValueAreShownWhole) {
    struct Case {
        const char* name;
        QString raw;
        QString processed;
        const char* style;
    };
    const std::vector<Case> cases = {
        {"nothing extracted", "ST,OL\r", "", "ignored"},
        {"value changed by arithmetic", "ST,+000012.34  g\r", "24.68", "unknown"},
        {"control character before the value",
         "\x02"
         "12.5\r",
         "12.5", "unknown"},
        {"markup-like text before the value", "<b>12.5", "12.5", "unknown"},
    };
    for (const Case& c : cases) {
        EventLog log;
        log.displayLine(line(c.raw, c.processed));
        const QString shown = "07:08:09 " + DataLine::transformControlChars(c.raw);
        EXPECT_EQ(log.lastLinePieces(), (Pieces{{shown, c.style}})) << c.name;
    }
}

// A withheld line says why: out-of-range and error lines stand out, headers and values not yet
// stable do not flood the log.
TEST_F(EventLogTest, withheldLinesAreShownWithTheirKind) {
    using K = serwedge::config::ConfigHelper::StatusKind;
    const std::pair<K, const char*> cases[] = {
        {K::OVERLOAD, "important"},  {K::UNDERLOAD, "important"}, {K::ERROR, "important"},
        {K::NOT_A_VALUE, "regular"}, {K::UNSTABLE, "regular"},
    };
    for (const auto& [kind, style] : cases) {
        EventLog log;
        log.displayLine(DataLine("S +\r\n", "", 1, QDateTime(QDate(2024, 5, 6), QTime(7, 8, 9)),
                                 false, {kind, true}));
        EXPECT_EQ(log.lastLinePieces(),
                  (Pieces{{"07:08:09 " + kind.toString() + ": S +<13><10>", style}}))
            << kind.name().toStdString();
    }
    EXPECT_EQ(K(K::OVERLOAD).toString(), "Overload");
}

TEST_F(EventLogTest, stylesHaveTheirColoursAndUnknownIsEmphasised) {
    EventLog log;
    const auto fg = [&](const char* s) { return log.style(s).foreground().color(); };
    EXPECT_EQ(fg("typed"), fg("unknown"));
    EXPECT_NE(fg("typed"), fg("important"));
    EXPECT_NE(fg("typed"), fg("ignored"));
    EXPECT_NE(fg("important"), fg("ignored"));
    EXPECT_EQ(log.style("unknown").fontWeight(), QFont::Bold);
    EXPECT_NE(log.style("typed").fontWeight(), QFont::Bold);
    EXPECT_FALSE(log.style("regular").hasProperty(QTextFormat::ForegroundBrush));
    EXPECT_TRUE(QFontInfo(log.font()).fixedPitch());
}

TEST_F(EventLogTest, coloursKeepTheirContrastOnLightAndDarkBackgrounds) {
    for (const QColor background :
         {QColor("#ffffff"), QColor("#f0f0f0"), QColor("#e8e8e8"), QColor("#000000"),
          QColor("#1e1e1e"), QColor("#2b2b2b"), QColor("#353535")}) {
        const EventLog::Colours c = EventLog::coloursFor(background);
        for (const QColor& fg : {c.typed, c.important, c.ignored})
            EXPECT_GE(EventLog::contrast(fg, background), 4.5)
                << fg.name().toStdString() << " on " << background.name().toStdString();
    }
}

TEST_F(EventLogTest, ignoredGreyStandsApartFromBlackTextOnLightBackgrounds) {
    for (const QColor background : {QColor("#ffffff"), QColor("#f0f0f0"), QColor("#e8e8e8")}) {
        const QColor ignored = EventLog::coloursFor(background).ignored;
        EXPECT_GE(EventLog::contrast(ignored, Qt::black), 3.5)
            << ignored.name().toStdString() << " on " << background.name().toStdString();
    }
}

TEST_F(EventLogTest, eventsAreTimeStampedInTwentyFourHourForm) {
    EXPECT_EQ(EventLog::timeStamp(QTime(0, 5, 9)), "00:05:09 ");
    EXPECT_EQ(EventLog::timeStamp(QTime(23, 59, 1)), "23:59:01 ");
    EventLog log;
    log.logEvent("port opened");
    log.logImportantEvent("parity error");
    const QStringList lines = log.toPlainText().split('\n');
    ASSERT_EQ(lines.size(), 3); // the last is empty after the final line feed
    const QRegularExpression form("^\\d\\d:\\d\\d:\\d\\d (.*)$");
    EXPECT_EQ(form.match(lines[0]).captured(1), "port opened");
    EXPECT_EQ(form.match(lines[1]).captured(1), "parity error");
    EXPECT_EQ(log.lastLinePieces().at(0).second, "important");
}

TEST_F(EventLogTest, eventsFromOtherThreadsArriveWholeAndInOrder) {
    EventLog log;
    std::vector<std::thread> threads;
    for (int t = 0; t < 4; ++t)
        threads.emplace_back([&log, t] {
            for (int i = 0; i < 200; ++i)
                (i % 2 ? log.logImportantEvent(QStringLiteral("thread %1 line %2").arg(t).arg(i))
                       : log.logEvent(QStringLiteral("thread %1 line %2").arg(t).arg(i)));
        });
    for (auto& th : threads)
        th.join();
    ASSERT_TRUE(pumpUntil([&] { return log.document()->blockCount() == 801; }));
    std::vector<int> next(4, 0);
    const QRegularExpression form("^\\d\\d:\\d\\d:\\d\\d thread (\\d) line (\\d+)$");
    const QStringList lines = log.toPlainText().split('\n', Qt::SkipEmptyParts);
    ASSERT_EQ(lines.size(), 800);
    for (const QString& l : lines) {
        const auto m = form.match(l);
        ASSERT_TRUE(m.hasMatch()) << l.toStdString();
        const int t = m.captured(1).toInt();
        EXPECT_EQ(m.captured(2).toInt(), next[t]++) << "thread " << t;
    }
}

TEST_F(EventLogTest, onlyTheNewestLinesAreKept) {
    EventLog log;
    log.setMaximumLines(50);
    for (int i = 0; i < 120; ++i)
        log.logEvent(QString::number(i));
    const QStringList lines = log.toPlainText().split('\n', Qt::SkipEmptyParts);
    ASSERT_EQ(lines.size(), 50);
    EXPECT_TRUE(lines.first().endsWith(" 70"));
    EXPECT_TRUE(lines.last().endsWith(" 119"));
    EXPECT_EQ(EventLog::kMaxLines, 100000);
    EXPECT_EQ(EventLog().maximumLines(), 100000);
}

TEST_F(EventLogTest, followsTheNewestLineUnlessTheUserScrolledUp) {
    EventLog log;
    log.resize(400, 200);
    log.show();
    for (int i = 0; i < 200; ++i)
        log.logEvent(QString::number(i));
    pump(20);
    QScrollBar* bar = log.verticalScrollBar();
    ASSERT_GT(bar->maximum(), 0);
    EXPECT_EQ(bar->value(), bar->maximum());
    bar->setValue(10);
    for (int i = 0; i < 20; ++i)
        log.logEvent("more");
    pump(20);
    EXPECT_EQ(bar->value(), 10);
    bar->setValue(bar->maximum());
    log.logEvent("again");
    pump(20);
    EXPECT_EQ(bar->value(), bar->maximum());
}

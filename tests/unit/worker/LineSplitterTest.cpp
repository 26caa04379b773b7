#include "worker/LineSplitter.h"

#include <gtest/gtest.h>

#include <QByteArray>
#include <QString>

#include <vector>

using serwedge::worker::LineSplitter;

namespace {

struct Collected : LineSplitter::Sink {
    void line(QString raw, bool error) override {
        lines.push_back(raw);
        errors.push_back(error);
    }
    void overlong() override { ++overlongs; }
    std::vector<QString> lines;
    std::vector<bool> errors;
    int overlongs = 0;
};

// Feeds the bytes in reads of `piece` bytes; errorAt marks the byte at that position.
Collected split(const QByteArray& bytes, qsizetype piece, qsizetype errorAt = -1,
                qsizetype maxLength = 64) {
    LineSplitter splitter('\r', maxLength);
    Collected sink;
    for (qsizetype at = 0; at < bytes.size();) {
        qsizetype n = std::min(piece, bytes.size() - at);
        // The driver ends a batch at a byte with an error indication.
        if (errorAt >= at && errorAt < at + n)
            n = errorAt - at + 1;
        splitter.feed(reinterpret_cast<const std::uint8_t*>(bytes.constData() + at),
                      static_cast<std::size_t>(n), at + n - 1 == errorAt, sink);
        at += n;
    }
    return sink;
}

} // namespace

TEST(LineSplitter, linesComeOutWholeAndInOrderHoweverTheBytesArrive) {
    QByteArray hundred;
    std::vector<QString> expected;
    for (int i = 0; i < 100; ++i) {
        const QByteArray line = "\nST,+" + QByteArray::number(i) + ".5 g\r";
        hundred += line;
        expected.push_back(QString::fromLatin1(line));
    }
    EXPECT_EQ(split(hundred, hundred.size()).lines, expected) << "100 lines in one read";
    EXPECT_EQ(split(hundred, 1).lines, expected) << "one byte per read";
    EXPECT_EQ(split(hundred, 7).lines, expected) << "reads that cut lines anywhere";

    // Every byte value but the terminator stays the character with the same code.
    QByteArray all;
    for (int b = 0; b < 256; ++b)
        all += b == '\r' ? char(0) : char(b);
    const Collected bytes = split(all + '\r', 1, -1, 256);
    ASSERT_EQ(bytes.lines.size(), 1u);
    EXPECT_EQ(bytes.lines[0], QString::fromLatin1(all + '\r'));
}

TEST(LineSplitter, anErrorIndicationMarksTheLineOfItsByteOnly) {
    const QByteArray bytes = "1.5\r2.5\r3.5\r";
    struct Case {
        qsizetype errorAt;
        std::vector<bool> marked;
    };
    const Case cases[] = {
        {0, {true, false, false}},  // first byte of a line
        {3, {true, false, false}},  // its terminator
        {4, {false, true, false}},  // first byte of the next line
        {10, {false, false, true}}, // inside the last line
    };
    for (const Case& c : cases) {
        for (qsizetype piece : {qsizetype(1), qsizetype(5), bytes.size()})
            EXPECT_EQ(split(bytes, piece, c.errorAt).errors, c.marked)
                << "error at " << c.errorAt << ", reads of " << piece;
    }
}

TEST(LineSplitter, anOverlongLineIsDiscardedUpToItsTerminator) {
    // 12.5, more blanks than a line may hold, 99 and the terminator: nothing of it is a line.
    const QByteArray overlong = "12.5" + QByteArray(70, ' ') + "99\r";
    for (qsizetype piece : {qsizetype(1), qsizetype(16), qsizetype(200)}) {
        const Collected c = split(overlong + "7\r" + overlong, piece);
        EXPECT_EQ(c.lines, std::vector<QString>{"7\r"}) << "reads of " << piece;
        EXPECT_EQ(c.overlongs, 2);
    }
    // A line of exactly the longest length, terminator not counted, is kept.
    EXPECT_EQ(split(QByteArray(64, 'x') + '\r', 10).lines.size(), 1u);

    LineSplitter splitter('\r', 64);
    Collected sink;
    const QByteArray flood(1000, 'x');
    splitter.feed(reinterpret_cast<const std::uint8_t*>(flood.constData()), 1000, false, sink);
    EXPECT_FALSE(splitter.hasPending()) << "nothing of an overlong line is kept";
    EXPECT_EQ(sink.overlongs, 1);
}

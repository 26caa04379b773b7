#pragma once

// Readings, the journal's files and a folder of its own for each journal test.

#include "outputs/Journal.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QJsonDocument>
#include <QJsonObject>
#include <QTemporaryDir>

#include <mutex>

namespace journaltest {

using serwedge::outputs::Journal;
using serwedge::outputs::JournalOptions;
using serwedge::outputs::JournalReport;
using serwedge::outputs::Reading;
using Kind = JournalReport::Kind;

inline Reading reading(int count, const QDateTime& instant = QDateTime::currentDateTime()) {
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
inline std::vector<QJsonObject> linesOf(const QString& path, QByteArray* text = nullptr) {
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

} // namespace journaltest

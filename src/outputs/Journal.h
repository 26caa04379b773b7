#pragma once

#include "outputs/Reading.h"

#include <QDate>
#include <QString>

#include <chrono>

#include <condition_variable>
#include <deque>
#include <functional>
#include <memory>
#include <mutex>
#include <thread>
#include <vector>

namespace serwedge::outputs {

class AppendFile;

// What the journal tells its owner. Delivered on the journal's own thread.
struct JournalReport {
    enum class Kind {
        WriteFailed, // the journal cannot be written (reported once until it works again)
        Recovered,   // writing works again; what waited meanwhile has been written
        Dropped,     // readings were dropped because too many waited (count: how many so far)
        Unwritten,   // at the end, readings that could still not be written (count)
    };
    Kind kind;
    QString path;   // the file or folder concerned
    QString detail; // the system's reason, for WriteFailed
    quint64 count = 0;
};

struct JournalOptions {
    explicit JournalOptions(QString folderPath = {}) : folder(std::move(folderPath)) {}

    QString folder;         // where the day files go; created when missing
    int retentionDays = 90; // day files older than this many days are removed; 0 keeps all
    // Today's date for the retention, faked by tests; the current date when empty.
    std::function<QDate()> today;
    // Readings that may wait in memory while the disk is slow or failing.
    qsizetype maxPendingReadings = 100000;
    qsizetype maxPendingBytes = 64 * 1024 * 1024;
};

// Appends every reading as one line of JSON to the file of its day, "tallyra-YYYY-MM-DD.jsonl"
// (the reading's local date). A thread of its own writes, so that no caller waits for the disk:
// each reading reaches the operating system within milliseconds (a lone one at once, a fast
// series in batches 10 ms apart; a killed process loses nothing that was written), and the file
// is synced to the disk once a second while readings come (a power failure loses at most the
// last second). A journal that cannot be written keeps what waits, within
// the bounds of the options, and tries again every second.
class Journal {
public:
    using Listener = std::function<void(const JournalReport&)>;

    Journal(JournalOptions options, Listener listener);
    // Writes what is waiting (one last attempt if the disk fails), syncs and ends the thread.
    ~Journal();
    Journal(const Journal&) = delete;
    Journal& operator=(const Journal&) = delete;

    // Never waits for the disk.
    void append(const Reading& reading);
    void append(const std::vector<Reading>& readings);

    // Waits until everything appended so far is written or the time is up; true when written.
    bool waitUntilWritten(int timeoutMs);
    // Readings dropped so far because too many waited.
    quint64 droppedCount();

    const QString& folder() const { return options_.folder; }
    // The platform's data folder for the journal (QStandardPaths::AppDataLocation).
    static QString defaultFolder();
    static QString fileName(const QDate& day);

private:
    void run();
    void enqueueLocked(const Reading& reading);
    // Writes one batch; false when the journal cannot be written now.
    bool writeBatch(std::deque<Reading>& batch);
    // Creates the folder when missing; false with error set when it cannot be used.
    bool prepareFolder(QString& error);
    bool openDay(const QDate& day, QString& error);
    QString pathOf(const QDate& day) const;
    void removeOldFiles(const QDate& today);
    bool syncIfDue(bool force);
    void report(JournalReport::Kind kind, const QString& path, const QString& detail,
                quint64 count = 0);

    JournalOptions options_;
    Listener listener_;

    std::mutex mutex_;
    std::condition_variable wake_;
    std::condition_variable written_;
    std::deque<Reading> pending_;
    qsizetype pendingBytes_ = 0;
    quint64 appended_ = 0;
    quint64 done_ = 0; // written or dropped
    quint64 dropped_ = 0;
    bool stop_ = false;
    bool idle_ = false; // the writer waits for readings

    // Writer thread only.
    std::unique_ptr<AppendFile> file_;
    QDate fileDay_;
    QDate retentionDay_;
    bool failing_ = false;
    bool dirty_ = false;
    bool startOnNewLine_ = false;
    std::chrono::steady_clock::time_point lastSync_;

    std::thread thread_;
};

} // namespace serwedge::outputs

#include "outputs/Journal.h"

#include "outputs/AppendFile.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>
#include <QStandardPaths>

#include <cerrno>
#include <cstring>
#include <utility>

namespace serwedge::outputs {

namespace {

using Clock = std::chrono::steady_clock;
constexpr auto kSyncInterval = std::chrono::seconds(1);
constexpr auto kRetryInterval = std::chrono::seconds(1);
constexpr auto kGather = std::chrono::milliseconds(10);

} // namespace

Journal::Journal(JournalOptions options, Listener listener)
    : options_(std::move(options)), listener_(std::move(listener)),
      file_(std::make_unique<AppendFile>()), lastSync_(Clock::now()) {
    thread_ = std::thread([this] { run(); });
}

Journal::~Journal() {
    {
        std::lock_guard lock(mutex_);
        stop_ = true;
    }
    wake_.notify_one();
    thread_.join();
}

QString Journal::defaultFolder() {
    return QStandardPaths::writableLocation(QStandardPaths::AppDataLocation);
}

QString Journal::fileName(const QDate& day) {
    return QStringLiteral("tallyra-%1.jsonl").arg(day.toString(Qt::ISODate));
}

void Journal::append(const Reading& reading) {
    bool wake;
    {
        std::lock_guard lock(mutex_);
        enqueueLocked(reading);
        wake = std::exchange(idle_, false);
    }
    if (wake)
        wake_.notify_one();
}

void Journal::append(const std::vector<Reading>& readings) {
    if (readings.empty())
        return;
    bool wake;
    {
        std::lock_guard lock(mutex_);
        for (const Reading& r : readings)
            enqueueLocked(r);
        wake = std::exchange(idle_, false);
    }
    if (wake)
        wake_.notify_one();
}

void Journal::enqueueLocked(const Reading& reading) {
    ++appended_;
    pending_.push_back(reading);
    pendingBytes_ += reading.footprint();
    // Too much waits (the disk fails or cannot keep up): the oldest readings go.
    while (pending_.size() > 1 && (qsizetype(pending_.size()) > options_.maxPendingReadings ||
                                   pendingBytes_ > options_.maxPendingBytes)) {
        pendingBytes_ -= pending_.front().footprint();
        pending_.pop_front();
        ++dropped_;
        ++done_;
    }
}

bool Journal::waitUntilWritten(int timeoutMs) {
    std::unique_lock lock(mutex_);
    const quint64 target = appended_;
    return written_.wait_for(lock, std::chrono::milliseconds(timeoutMs),
                             [&] { return done_ >= target; });
}

quint64 Journal::droppedCount() {
    std::lock_guard lock(mutex_);
    return dropped_;
}

void Journal::run() {
    // A folder that cannot be used is reported at once, not at the first reading.
    if (QString error; !prepareFolder(error)) {
        failing_ = true;
        report(JournalReport::Kind::WriteFailed, options_.folder, error);
    }
    std::deque<Reading> batch;
    quint64 droppedReported = 0;
    std::unique_lock lock(mutex_);
    for (;;) {
        const auto hasWork = [&] { return stop_ || (!pending_.empty() && !failing_); };
        if (!hasWork()) {
            // Only an idle writer is woken by a new reading: one wake-up per batch.
            idle_ = true;
            if (failing_)
                wake_.wait_for(lock, kRetryInterval, [&] { return stop_; });
            else if (dirty_)
                wake_.wait_until(lock, lastSync_ + kSyncInterval, hasWork);
            else
                wake_.wait(lock, hasWork);
            idle_ = false;
        }
        const bool stopping = stop_;
        batch.swap(pending_);
        pendingBytes_ = 0;
        const quint64 dropped = dropped_;
        lock.unlock();

        if (dropped != droppedReported) {
            droppedReported = dropped;
            report(JournalReport::Kind::Dropped, options_.folder, {}, dropped);
        }
        const size_t before = batch.size();
        const bool ok = batch.empty() || writeBatch(batch);
        const size_t written = before - batch.size();
        if (ok)
            syncIfDue(stopping);

        lock.lock();
        done_ += written;
        if (!batch.empty()) {
            if (stopping) {
                // The last attempt failed: what is left cannot be kept.
                const quint64 unwritten = batch.size();
                done_ += unwritten;
                batch.clear();
                lock.unlock();
                report(JournalReport::Kind::Unwritten, options_.folder, {}, unwritten);
                lock.lock();
            } else {
                // Kept in front of what arrived meanwhile, oldest first, within the bounds.
                for (auto it = batch.rbegin(); it != batch.rend(); ++it) {
                    pendingBytes_ += it->footprint();
                    pending_.push_front(std::move(*it));
                }
                batch.clear();
                while (pending_.size() > 1 &&
                       (qsizetype(pending_.size()) > options_.maxPendingReadings ||
                        pendingBytes_ > options_.maxPendingBytes)) {
                    pendingBytes_ -= pending_.front().footprint();
                    pending_.pop_front();
                    ++dropped_;
                    ++done_;
                }
            }
        }
        written_.notify_all();
        if (stopping && pending_.empty())
            break;
        // Readings that come fast are gathered for a moment and written together, instead of
        // waking this thread for each one; a lone reading is written at once.
        if (written > 0 && !stop_)
            wake_.wait_for(lock, kGather, [&] { return stop_; });
    }
    lock.unlock();
    if (file_->isOpen()) {
        syncIfDue(true);
        file_->close();
    }
}

bool Journal::writeBatch(std::deque<Reading>& batch) {
    QByteArray text;
    while (!batch.empty()) {
        // The readings of one day, in order, in one write.
        const QDate day = localDate(batch.front().instant);
        size_t n = 0;
        text.clear();
        if (startOnNewLine_)
            text.append('\n');
        while (n < batch.size() && localDate(batch[n].instant) == day) {
            appendJson(text, batch[n]);
            text.append('\n');
            ++n;
        }
        QString error;
        std::string writeError;
        const bool ok = openDay(day, error) &&
                        (file_->write(text.constData(), size_t(text.size()), writeError) ||
                         (error = QString::fromStdString(writeError), false));
        if (!ok) {
            file_->close();
            fileDay_ = QDate();
            if (!failing_) {
                failing_ = true;
                report(JournalReport::Kind::WriteFailed, pathOf(day), error);
            }
            return false;
        }
        startOnNewLine_ = false;
        dirty_ = true;
        batch.erase(batch.begin(), batch.begin() + std::ptrdiff_t(n));
        if (failing_) {
            failing_ = false;
            report(JournalReport::Kind::Recovered, pathOf(day), {});
        }
    }
    return true;
}

QString Journal::pathOf(const QDate& day) const {
    return QDir(options_.folder).filePath(fileName(day));
}

bool Journal::openDay(const QDate& day, QString& error) {
    if (file_->isOpen() && fileDay_ == day)
        return true;
    if (file_->isOpen()) {
        syncIfDue(true);
        file_->close();
    }
    if (!prepareFolder(error))
        return false;
    const QDate today = options_.today ? options_.today() : QDate::currentDate();
    if (retentionDay_ != today) {
        retentionDay_ = today;
        removeOldFiles(today);
    }
    bool endsInsideLine = false;
    std::string openError;
    if (!file_->open(QDir(options_.folder).filePath(fileName(day)).toStdString(), endsInsideLine,
                     openError)) {
        error = QString::fromStdString(openError);
        return false;
    }
    fileDay_ = day;
    // A line left unfinished by an earlier failure stays a line of its own.
    startOnNewLine_ = endsInsideLine;
    return true;
}

bool Journal::prepareFolder(QString& error) {
    const QFileInfo folder(options_.folder);
    if (folder.exists() && !folder.isDir()) {
        error = QString::fromUtf8(std::strerror(ENOTDIR));
        return false;
    }
    if (!folder.exists() && !QDir().mkpath(options_.folder)) {
        error = QString::fromUtf8(std::strerror(EACCES));
        return false;
    }
    return true;
}

void Journal::removeOldFiles(const QDate& today) {
    if (options_.retentionDays <= 0)
        return;
    static const QRegularExpression name(
        QStringLiteral("^tallyra-(\\d{4}-\\d{2}-\\d{2})\\.jsonl$"));
    const QDate oldestKept = today.addDays(-options_.retentionDays);
    const QDir dir(options_.folder);
    const QStringList files =
        dir.entryList({QStringLiteral("tallyra-*.jsonl")}, QDir::Files | QDir::NoDotAndDotDot);
    for (const QString& f : files) {
        const auto m = name.match(f);
        if (!m.hasMatch())
            continue;
        const QDate day = QDate::fromString(m.captured(1), Qt::ISODate);
        if (day.isValid() && day < oldestKept)
            QFile::remove(dir.filePath(f));
    }
}

bool Journal::syncIfDue(bool force) {
    if (!dirty_ || !file_->isOpen())
        return true;
    const auto now = Clock::now();
    if (!force && now - lastSync_ < kSyncInterval)
        return true;
    lastSync_ = now;
    dirty_ = false;
    std::string error;
    if (file_->sync(error))
        return true;
    file_->close();
    if (!failing_) {
        failing_ = true;
        report(JournalReport::Kind::WriteFailed, pathOf(fileDay_), QString::fromStdString(error));
    }
    fileDay_ = QDate();
    return false;
}

void Journal::report(JournalReport::Kind kind, const QString& path, const QString& detail,
                     quint64 count) {
    if (listener_)
        listener_(JournalReport{kind, path, detail, count});
}

} // namespace serwedge::outputs

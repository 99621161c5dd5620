#include "events/EventWriter.h"

#include <QAtomicInteger>
#include <QCoreApplication>
#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>
#include <QStorageInfo>
#include <QThread>
#include <QVariant>
#include <limits>

#ifdef Q_OS_UNIX
#include <sys/statvfs.h>
#endif

namespace events {

namespace {

// SQLite's primary result codes, as the driver reports them.
enum SqliteCode {
    Perm = 3,
    Busy = 5,
    Locked = 6,
    ReadOnly = 8,
    IoErr = 10,
    Corrupt = 11,
    Full = 13,
    CantOpen = 14,
    Auth = 23,
    NotADb = 26
};

QString nextConnectionName() {
    static QAtomicInteger<quint32> serial;
    return QStringLiteral("velmar-events-writer-%1").arg(serial.fetchAndAddRelaxed(1));
}

// 2: the program that wrote each row.
constexpr int schemaVersion = 2;

} // namespace

EventWriter::EventWriter(EventQueue &queue, Settings settings)
    : m_queue(queue)
    , m_settings(std::move(settings))
    , m_connection(nextConnectionName())
    , m_commit(this)
    , m_retry(this)
    , m_maintenance(this) {
    // The write-ahead log is kept small: it is folded into the file when it
    // holds a quarter of its limit and cut back to half of it, which it keeps
    // as room for the next commits (a full disk then still takes a commit
    // whose rows replace the oldest). One commit writes at most a quarter.
    m_walLimit = qBound<qint64>(64LL * 1024, m_settings.maxBytes / 64, 1024LL * 1024);
    m_budget = qMax<qint64>(m_settings.maxBytes - 2 * m_walLimit, 16LL * 1024);
    m_batchBytes = m_walLimit / 4;
    m_commitBytes = m_batchBytes;
    for (QTimer *timer : {&m_commit, &m_retry, &m_maintenance})
        timer->setTimerType(Qt::PreciseTimer);
    m_commit.setSingleShot(true);
    m_retry.setInterval(m_settings.retryMs);
    m_maintenance.setInterval(m_settings.maintenanceMs);
    connect(&m_commit, &QTimer::timeout, this, &EventWriter::writeNow);
    connect(&m_retry, &QTimer::timeout, this, &EventWriter::writeNow);
    connect(&m_maintenance, &QTimer::timeout, this, &EventWriter::maintain);
}

EventWriter::~EventWriter() = default;

void EventWriter::start() {
    m_sinceCommit.start();
    m_maintenance.start();
    if (open())
        maintain();
    writeNow();
}

void EventWriter::schedule() {
    // While failing, the retry takes what waits; trying at every event would
    // hammer a full disk.
    if (m_failing || m_commit.isActive())
        return;
    m_commit.start(qMax<qint64>(0, m_settings.commitMs - m_sinceCommit.elapsed()));
}

void EventWriter::finish() {
    m_maintenance.stop();
    // Everything held goes now, a commit's share at a time, unless the file
    // cannot be written.
    do {
        m_commit.stop();
        writeNow();
    } while (m_commit.isActive() && !m_failing);
    m_commit.stop();
    m_retry.stop();
    close();
    QThread::currentThread()->quit();
}

bool EventWriter::open() {
    if (m_open)
        return true;
    Fault f = openFile();
    if (f == Fault::Damaged) {
        close();
        f = setAsideDamaged() ? openFile() : Fault::Retry;
    }
    if (f != Fault::None) {
        close();
        return false;
    }
    m_open = true;
    return true;
}

EventWriter::Fault EventWriter::openFile() {
    const QString folder = QFileInfo(m_settings.path).absolutePath();
    if (!QDir().mkpath(folder)) {
        m_reason = QCoreApplication::translate("events::EventStore", "the folder %1 cannot be made")
                       .arg(QDir::toNativeSeparators(folder));
        return Fault::Retry;
    }
    if (!QSqlDatabase::contains(m_connection))
        QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), m_connection);
    db().setDatabaseName(m_settings.path);
    // Another program writing the same log gets a second to finish; the wait
    // is this thread's, never the panel's.
    db().setConnectOptions(QStringLiteral("QSQLITE_BUSY_TIMEOUT=1000"));
    if (!db().open())
        return fault(db().lastError());
    QSqlQuery query(db());
    if (!query.exec(QStringLiteral("PRAGMA user_version")) || !query.next())
        return fault(query.lastError());
    const int version = query.value(0).toInt();
    query.finish();
    // A new file: free pages can be handed back when the bound is lowered.
    if (version == 0 && !query.exec(QStringLiteral("PRAGMA auto_vacuum = INCREMENTAL")))
        return fault(query.lastError());
    const QString statements[] = {
        QStringLiteral("PRAGMA journal_mode = WAL"),
        // In WAL mode a commit is in the file once written, so a killed
        // program keeps it; only a power cut may lose the last commits.
        QStringLiteral("PRAGMA synchronous = NORMAL"),
        // Rows are appended and never read back here: a small page cache
        // does, and the panel's memory stays as it was.
        QStringLiteral("PRAGMA cache_size = -512"),
        QStringLiteral("PRAGMA journal_size_limit = %1").arg(m_walLimit / 2),
        QStringLiteral("PRAGMA wal_autocheckpoint = %1")
            .arg(qMax<qint64>(1, m_walLimit / 4 / 4096)),
        QStringLiteral("CREATE TABLE IF NOT EXISTS events(time TEXT NOT NULL, direction TEXT NOT "
                       "NULL, channel TEXT NOT NULL, origin TEXT NOT NULL, bytes TEXT NOT NULL, "
                       "meaning TEXT NOT NULL, program TEXT NOT NULL DEFAULT '')"),
        QStringLiteral("CREATE INDEX IF NOT EXISTS events_time ON events(time)")};
    for (const QString &statement : statements) {
        if (!query.exec(statement))
            return fault(query.lastError());
        query.finish();
    }
    if (const Fault f = migrate(query); f != Fault::None)
        return f;
    // A file of a later version keeps its number: the columns written here
    // are named, and its own program migrates it.
    if (version < schemaVersion &&
        !query.exec(QStringLiteral("PRAGMA user_version = %1").arg(schemaVersion)))
        return fault(query.lastError());
    if (!query.exec(QStringLiteral("PRAGMA page_size")) || !query.next())
        return fault(query.lastError());
    m_pageSize = qMax<qint64>(512, query.value(0).toLongLong());
    query.finish();
    if (m_rows < 0) {
        if (!query.exec(QStringLiteral("SELECT count(*) FROM events")) || !query.next())
            return fault(query.lastError());
        m_rows = query.value(0).toLongLong();
        query.finish();
    }
    m_insert = std::make_unique<QSqlQuery>(db());
    if (!m_insert->prepare(QStringLiteral("INSERT INTO events(time, direction, channel, origin, "
                                          "bytes, meaning, program) VALUES (?, ?, ?, ?, ?, ?, ?)")))
        return fault(m_insert->lastError());
    return Fault::None;
}

// A file of the first version gets the program's column; its rows name no
// program. The change is one statement: a file is never left half done.
EventWriter::Fault EventWriter::migrate(QSqlQuery &query) {
    if (!query.exec(QStringLiteral("PRAGMA table_info(events)")))
        return fault(query.lastError());
    bool hasProgram = false;
    while (query.next())
        hasProgram = hasProgram || query.value(1).toString() == QLatin1String("program");
    query.finish();
    if (!hasProgram && !query.exec(QStringLiteral("ALTER TABLE events ADD COLUMN program TEXT NOT "
                                                  "NULL DEFAULT ''")))
        return fault(query.lastError());
    query.finish();
    return Fault::None;
}

QSqlDatabase EventWriter::db() const {
    return QSqlDatabase::database(m_connection, false);
}

void EventWriter::close() {
    m_insert.reset();
    if (QSqlDatabase::contains(m_connection)) {
        QSqlDatabase::database(m_connection, false).close();
        QSqlDatabase::removeDatabase(m_connection);
    }
    m_open = false;
}

void EventWriter::writeNow() {
    m_queue.takeInto(m_held);
    Fault f = open() ? Fault::None : Fault::Retry;
    // What the write-ahead log holds goes into the file before anything
    // else is tried again, and gives its bytes back.
    if (f == Fault::None && m_failing)
        checkpoint();
    std::size_t count = 0;
    if (f == Fault::None && !m_held.empty()) {
        m_diskFull = false;
        f = commitHeld(&count);
        if (f == Fault::Damaged) {
            close();
            f = setAsideDamaged() && open() ? commitHeld(&count) : Fault::Retry;
        } else if (f == Fault::Retry && m_diskFull) {
            // Filled by others meanwhile: the oldest rows make room at once.
            checkpoint();
            f = commitHeld(&count);
        }
    }
    if (f == Fault::None && count > 0 && diskRoom() < 4 * m_walLimit)
        checkpoint();
    if (f != Fault::None) {
        close();
        failed(m_reason);
        return;
    }
    qint64 events = 0;
    for (std::size_t i = 0; i < count; ++i)
        events += m_held[i].wholeSize == EventQueue::droppedNote ? 0 : 1;
    m_held.erase(m_held.begin(), m_held.begin() + qsizetype(count));
    m_queue.setHeld(qsizetype(m_held.size()));
    m_failing = false;
    m_retry.stop();
    report(true, {});
    if (count > 0) {
        m_written += events;
        m_sinceCommit.restart();
        emit committed(m_written);
    }
    // What a flood brought beyond one commit's share waits for the next.
    if (!m_held.empty())
        m_commit.start(m_settings.commitMs);
}

// Commits the oldest events held, as many as one commit's share of the bound
// takes, so that neither the write-ahead log nor the file outgrows it.
EventWriter::Fault EventWriter::commitHeld(std::size_t *count) {
    // Statements rather than the driver's transaction calls: only a statement's
    // error carries SQLite's code (a full disk, a lock).
    QSqlQuery transaction(db());
    if (!transaction.exec(QStringLiteral("BEGIN")))
        return fault(transaction.lastError());
    // On a disk without room, a commit takes no more than the write-ahead
    // log holds without growing, the rows it replaces included.
    m_commitBytes = m_batchBytes;
    if (m_diskFull || diskRoom() < m_walLimit) {
        const qint64 wal = QFileInfo(m_settings.path + QStringLiteral("-wal")).size();
        m_commitBytes = qBound<qint64>(4096, wal / 8, m_batchBytes);
    }
    qint64 coming = 0;
    std::vector<Record> records;
    for (const EventQueue::Item &item : m_held) {
        if (coming >= m_commitBytes)
            break;
        records.push_back(EventText::record(item.event, qMax<qsizetype>(0, item.wholeSize)));
        const Record &r = records.back();
        // The text, the row's own overhead and its entry in the time index.
        coming += r.time.size() * 2 + r.direction.size() + r.channel.size() + r.origin.size() +
                  r.bytes.size() + r.meaning.size() + m_settings.program.size() + 24;
    }
    const qint64 rowsBefore = m_rows;
    Fault f = makeRoom(coming) ? Fault::None : m_trimFault;
    for (std::size_t i = 0; f == Fault::None && i < records.size(); ++i) {
        const Record &r = records[i];
        // A null text would be bound as NULL; the columns hold text. Bound
        // by place: values added to a prepared query pile up with each row.
        int column = 0;
        for (const QString &field :
             {r.time, r.direction, r.channel, r.origin, r.bytes, r.meaning, m_settings.program})
            m_insert->bindValue(column++, field.isNull() ? QStringLiteral("") : field);
        if (!m_insert->exec())
            f = fault(m_insert->lastError());
    }
    if (f == Fault::None && !transaction.exec(QStringLiteral("COMMIT")))
        f = fault(transaction.lastError());
    if (f != Fault::None) {
        transaction.exec(QStringLiteral("ROLLBACK"));
        m_rows = rowsBefore;
        return f;
    }
    m_rows += qint64(records.size());
    *count = records.size();
    return Fault::None;
}

// Deletes the oldest rows until those left and the coming bytes fit the
// budget and the disk, with a commit's share to spare: a steady flood trims
// at every other commit, each trim small enough for the write-ahead log's
// share. The pages of the rows deleted take the coming rows, so that on a
// full disk the file does not grow.
bool EventWriter::makeRoom(qint64 comingBytes) {
    const qint64 used = usedBytes();
    if (used < 0)
        return false; // m_trimFault set by usedBytes
    const qint64 room = qMin(m_budget - used, diskRoom());
    if (comingBytes <= room || m_rows <= 0)
        return true;
    const qint64 perRow = qMax<qint64>(1, used / qMax<qint64>(1, m_rows));
    const qint64 excess = comingBytes + m_commitBytes - room;
    const qint64 rows = qBound<qint64>(1, (excess + perRow - 1) / perRow, m_rows);
    QSqlQuery trim(db());
    trim.prepare(QStringLiteral(
        "DELETE FROM events WHERE rowid IN (SELECT rowid FROM events ORDER BY time LIMIT ?)"));
    trim.addBindValue(rows);
    if (!trim.exec()) {
        m_trimFault = fault(trim.lastError());
        return false;
    }
    m_rows -= trim.numRowsAffected();
    return true;
}

qint64 EventWriter::usedBytes() {
    QSqlQuery query(db());
    if (!query.exec(QStringLiteral("PRAGMA page_count")) || !query.next()) {
        m_trimFault = fault(query.lastError());
        return -1;
    }
    const qint64 pages = query.value(0).toLongLong();
    if (!query.exec(QStringLiteral("PRAGMA freelist_count")) || !query.next()) {
        m_trimFault = fault(query.lastError());
        return -1;
    }
    m_freePages = query.value(0).toLongLong();
    return (pages - m_freePages) * m_pageSize;
}

// What the file may still take without the disk running out: its free pages,
// and what the disk holds beyond the write-ahead log's limit, kept for it and
// for folding it into the file. Nothing beyond the free pages once a commit
// has found the disk full.
qint64 EventWriter::diskRoom() const {
    const qint64 inFile = m_freePages * m_pageSize;
    if (m_diskFull)
        return inFile;
    qint64 free = -1;
    if (m_settings.diskFree) {
        free = m_settings.diskFree();
    } else {
#ifdef Q_OS_UNIX
        struct statvfs disk {};
        const QByteArray folder = QFile::encodeName(QFileInfo(m_settings.path).absolutePath());
        if (::statvfs(folder.constData(), &disk) == 0)
            free = qint64(disk.f_bavail) * qint64(disk.f_frsize);
#else
        free = QStorageInfo(QFileInfo(m_settings.path).absolutePath()).bytesAvailable();
#endif
    }
    if (free < 0)
        return std::numeric_limits<qint64>::max() / 4;
    return inFile + qMax<qint64>(0, free - m_walLimit);
}

// Folds the write-ahead log into the file, so that the next commits write
// it again from its start instead of making it longer.
void EventWriter::checkpoint() {
    QSqlQuery query(db());
    if (query.exec(QStringLiteral("PRAGMA wal_checkpoint(PASSIVE)")))
        while (query.next()) {
        }
}

// At start and every hour: rows older than the days kept go, then the oldest
// while the rows pass the size, and free pages go back when the file is
// larger than its bound (a bound lowered since it grew).
void EventWriter::maintain() {
    if (!m_open || m_failing)
        return;
    const qint64 cutoff =
        QDateTime::currentMSecsSinceEpoch() - qint64(m_settings.keepDays) * 24 * 3600 * 1000;
    // In steps, each its own commit, so that the write-ahead log keeps to its
    // share however much has aged since the last start. A fault leaves the
    // rest for the next hour; one that stops writing shows at the next commit.
    QSqlQuery old(db());
    old.prepare(QStringLiteral("DELETE FROM events WHERE rowid IN (SELECT rowid FROM events "
                               "WHERE time < ? ORDER BY time LIMIT 1000)"));
    do {
        old.addBindValue(EventText::time(cutoff));
        if (!old.exec())
            return;
        m_rows -= old.numRowsAffected();
    } while (old.numRowsAffected() > 0);
    QSqlQuery query(db());
    if (!query.exec(QStringLiteral("BEGIN")))
        return;
    const qint64 rowsBefore = m_rows;
    if (!makeRoom(0) || !query.exec(QStringLiteral("COMMIT"))) {
        query.exec(QStringLiteral("ROLLBACK"));
        m_rows = rowsBefore;
        return;
    }
    // Each step of the vacuum hands one free page back.
    if (query.exec(QStringLiteral("PRAGMA page_count")) && query.next() &&
        query.value(0).toLongLong() * m_pageSize > m_budget &&
        query.exec(QStringLiteral("PRAGMA incremental_vacuum")))
        while (query.next()) {
        }
}

EventWriter::Fault EventWriter::fault(const QSqlError &error) {
    const int code = error.nativeErrorCode().toInt() & 0xff;
    const QString file = QDir::toNativeSeparators(m_settings.path);
    switch (code) {
    case Corrupt:
    case NotADb:
        m_reason = QCoreApplication::translate("events::EventStore", "%1 is damaged").arg(file);
        return Fault::Damaged;
    case Full:
        m_reason = QCoreApplication::translate("events::EventStore", "the disk is full");
        m_diskFull = true;
        break;
    case Busy:
    case Locked:
        m_reason =
            QCoreApplication::translate("events::EventStore", "%1 is in use by another program")
                .arg(file);
        break;
    case Perm:
    case ReadOnly:
    case CantOpen:
    case Auth:
        m_reason =
            QCoreApplication::translate("events::EventStore", "%1 cannot be written").arg(file);
        break;
    case IoErr:
        m_reason = QCoreApplication::translate("events::EventStore", "%1 cannot be written (%2)")
                       .arg(file, error.databaseText());
        break;
    default:
        m_reason = error.text().trimmed();
        if (m_reason.isEmpty())
            m_reason =
                QCoreApplication::translate("events::EventStore", "%1 cannot be written").arg(file);
    }
    return Fault::Retry;
}

// A damaged file is renamed with the time it was found, its write-ahead log
// beside it, and never deleted: what it holds may still be read by hand.
bool EventWriter::setAsideDamaged() {
    close();
    const QFileInfo info(m_settings.path);
    const QString stamp =
        QDateTime::currentDateTimeUtc().toString(QStringLiteral("yyyyMMdd'T'HHmmss'Z'"));
    QString target;
    for (int n = 1; target.isEmpty() || QFile::exists(target); ++n)
        target = info.dir().filePath(info.completeBaseName() + QStringLiteral("-damaged-") + stamp +
                                     (n > 1 ? QStringLiteral("-%1").arg(n) : QString()) +
                                     QLatin1Char('.') + info.suffix());
    if (!QFile::rename(m_settings.path, target)) {
        m_reason = QCoreApplication::translate("events::EventStore",
                                               "%1 is damaged and cannot be set aside")
                       .arg(QDir::toNativeSeparators(m_settings.path));
        return false;
    }
    // Left behind, the old write-ahead log would be read into the new file.
    for (const QString &suffix : {QStringLiteral("-wal"), QStringLiteral("-shm")}) {
        if (QFile::exists(m_settings.path + suffix) &&
            !QFile::rename(m_settings.path + suffix, target + suffix)) {
            m_reason = QCoreApplication::translate("events::EventStore",
                                                   "%1 is damaged and cannot be set aside")
                           .arg(QDir::toNativeSeparators(m_settings.path));
            return false;
        }
    }
    m_rows = 0;
    emit setAside(target);
    return true;
}

void EventWriter::failed(const QString &reason) {
    m_failing = true;
    m_queue.setHeld(qsizetype(m_held.size()));
    if (!m_retry.isActive())
        m_retry.start();
    report(false, reason);
}

void EventWriter::report(bool writing, const QString &reason) {
    if (m_reported == writing && m_reportedReason == reason)
        return;
    m_reported = writing;
    m_reportedReason = reason;
    emit stateChanged(writing, reason);
}

} // namespace events

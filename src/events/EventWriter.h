#pragma once

#include "events/EventQueue.h"

#include <QElapsedTimer>
#include <QObject>
#include <QString>
#include <QTimer>
#include <functional>
#include <memory>
#include <optional>
#include <vector>

class QSqlDatabase;
class QSqlError;
class QSqlQuery;

namespace events {

// The event log's own thread: it takes what the queue holds at most four
// times a second and commits it on its own connection, keeps the file within
// its age and size, and rides out a full disk, a locked, read-only or damaged
// file by holding what it took and trying again, so a caller never waits.
class EventWriter : public QObject {
    Q_OBJECT
public:
    struct Settings {
        QString path;
        int keepDays = 90;
        qint64 maxBytes = 0;
        int commitMs = 250;
        int retryMs = 5000;
        int maintenanceMs = 3600 * 1000;
        std::function<qint64()> diskFree; // the system's figure when empty
        QString program;                  // written in every row
    };

    EventWriter(EventQueue &queue, Settings settings);
    ~EventWriter() override;

    // Each runs on the writer's thread.
    void start();
    void schedule(); // events wait in the queue
    void finish();   // writes what is left, closes the file and ends the thread

signals:
    void stateChanged(bool writing, const QString &reason);
    void committed(qint64 events);
    void setAside(const QString &file);

private:
    enum class Fault { None, Retry, Damaged };

    bool open();
    Fault openFile();
    QSqlDatabase db() const;
    void close();
    void writeNow();
    Fault commitHeld(std::size_t *count);
    bool makeRoom(qint64 comingBytes);
    qint64 diskRoom() const;
    Fault migrate(QSqlQuery &query);
    void checkpoint();
    void maintain();
    qint64 usedBytes();
    Fault fault(const QSqlError &error);
    bool setAsideDamaged();
    void failed(const QString &reason);
    void report(bool writing, const QString &reason);

    EventQueue &m_queue;
    Settings m_settings;
    qint64 m_budget;          // bytes the rows and their index may take
    qint64 m_walLimit;        // bytes the write-ahead log keeps between commits
    qint64 m_batchBytes;      // the most one commit writes
    qint64 m_commitBytes = 0; // the most the commit under way writes
    QString m_connection;
    std::unique_ptr<QSqlQuery> m_insert;
    bool m_open = false;
    bool m_failing = false;
    qint64 m_rows = -1; // rows in the table, counted once per file
    qint64 m_pageSize = 4096;
    qint64 m_freePages = 0;  // pages of the file that rows may take again
    bool m_diskFull = false; // the last commit found no room on the disk
    qint64 m_written = 0;
    std::vector<EventQueue::Item> m_held;
    QString m_reason; // why the last step failed
    Fault m_trimFault = Fault::None;
    std::optional<bool> m_reported;
    QString m_reportedReason;
    QTimer m_commit;
    QTimer m_retry;
    QTimer m_maintenance;
    QElapsedTimer m_sinceCommit;
};

} // namespace events

#pragma once

#include "events/Event.h"
#include "events/EventQueue.h"

#include <QObject>
#include <QString>
#include <QThread>
#include <functional>

namespace events {

class EventWriter;

// How much the log keeps ([Events] KeepDays and MaxMB of the settings).
struct EventLimits {
    int keepDays = 90;
    qint64 maxBytes = 200LL * 1024 * 1024; // the file and its write-ahead log
    // The bytes the log's disk still takes (the system's figure when empty):
    // the disk is a bound too, the oldest rows making room on a full one.
    std::function<qint64()> diskFree;
};

// The store's pace; tests shorten it.
struct EventTiming {
    int commitMs = 250; // at most four commits a second
    int retryMs = 5000; // a file that cannot be written is tried again
    int maintenanceMs = 3600 * 1000;
    qsizetype queueCapacity = 10000; // events held while the file cannot keep up
};

// The persistent event log: every event appended is committed to an SQLite
// file by a thread of its own, at most four times a second, so appending
// costs the caller a copy and never waits on the disk. When the file cannot
// be written the events are held (up to a bound, then counted) and the state
// says why, once; writing resumes by itself.
class EventStore : public QObject {
    Q_OBJECT
public:
    explicit EventStore(const QString &path, EventLimits limits = {}, EventTiming timing = {},
                        QObject *parent = nullptr);
    // Writes what is still queued, then closes the file.
    ~EventStore() override;

    // $XDG_STATE_HOME/velmar-controller/events.sqlite (~/.local/state when
    // unset); C:\ini\events.sqlite on Windows, beside the program's other files.
    static QString defaultPath();
    // What this program's rows are marked with, so that two panels sharing
    // one log can be told apart: the host's name and the process's number.
    static QString thisProgram();

    QString path() const { return m_path; }
    // From any thread.
    void append(const Event &event);

    // The last state reported (writing until told otherwise).
    bool isWriting() const { return m_writing; }
    QString reason() const { return m_reason; }
    // Events appended and committed so far.
    qint64 written() const { return m_written; }

signals:
    // Once per change: writing, or not writing and why ("the disk is full").
    void stateChanged(bool writing, const QString &reason);
    // A damaged file was renamed to this name and a new one begun.
    void setAside(const QString &file);
    void committed(qint64 written);

private:
    QString m_path;
    EventQueue m_queue;
    EventWriter *m_writer;
    QThread m_thread;
    bool m_writing = true;
    QString m_reason;
    qint64 m_written = 0;
};

} // namespace events

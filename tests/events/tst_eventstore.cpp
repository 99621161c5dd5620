// The event log's store on a real SQLite file in a temporary folder: what a
// row keeps, the bounds of a flood, a full disk and a damaged file.
#include "SmallDisk.h"
#include "TestMain.h"
#include "events/EventQuery.h"
#include "events/EventQueue.h"
#include "events/EventStore.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QSignalSpy>
#include <QSqlDatabase>
#include <QSqlQuery>
#include <QTemporaryDir>
#include <QTest>

#include <csignal>
#include <sys/resource.h>

using events::Event;
using events::EventStore;
using events::Record;

namespace {

constexpr qint64 t0 = 1796782447123; // 2026-12-09T02:14:07.123Z

Event frame(qint64 at, Event::Direction direction, const QString &channel, const QString &origin,
            const QByteArray &bytes, const QString &meaning) {
    return {at, direction, channel, origin, bytes, meaning};
}

std::vector<Record> rows(const QString &path, const QString &filter = {}) {
    std::vector<Record> found;
    const QString error =
        events::EventQuery::read(path, {0, 4102444800000}, filter, [&](const Record &r) {
            found.push_back(r);
            return true;
        });
    if (!error.isEmpty())
        qWarning("%s", qPrintable(error));
    return found;
}

qint64 onDisk(const QString &path) {
    return QFileInfo(path).size() + QFileInfo(path + "-wal").size();
}

// Files may grow no further than this, as a full disk would have it.
struct FileSizeLimit {
    rlimit saved{};
    explicit FileSizeLimit(rlim_t bytes) {
        std::signal(SIGXFSZ, SIG_IGN);
        getrlimit(RLIMIT_FSIZE, &saved);
        rlimit tight = saved;
        tight.rlim_cur = bytes;
        setrlimit(RLIMIT_FSIZE, &tight);
    }
    ~FileSizeLimit() { setrlimit(RLIMIT_FSIZE, &saved); }
};

} // namespace

class TestEventStore : public QObject {
    Q_OBJECT
private:
    // Frames first to last - 1, paced as a line brings them: a few hundred,
    // then until the log has taken them (written, or held while it cannot).
    static bool feed(EventStore &store, int first, int last, qint64 writtenBefore) {
        const QByteArray text(64, 'c');
        for (int i = first; i < last; ++i) {
            store.append(frame(t0 + i, Event::Direction::Received, "serial Com1", "", text,
                               QStringLiteral("frame %1").arg(i)));
            if ((i % 500 == 499 || i == last - 1) &&
                !QTest::qWaitFor([&] { return store.written() == writtenBefore + i + 1 - first; },
                                 20000))
                return false;
        }
        return true;
    }

private slots:
    void rowsKeepTheirFields() {
        QTemporaryDir dir;
        const QString path = dir.filePath("state/velmar-controller/events.sqlite");
        QByteArray flood(100, 'x');
        {
            EventStore store(path);
            using D = Event::Direction;
            store.append(frame(t0, D::Sent, "serial Com1", "panel", "\x35\r", "camera 5"));
            store.append(frame(t0 + 1, D::Received, "serial Com1", "status poll",
                               QByteArray("\x01\x40\x08\x00", 4), "monitor 2, camera 5"));
            store.append(frame(t0 + 2, D::State, "serial Com1", "panel", {}, "port lost"));
            store.append(frame(t0 + 3, D::Ignored, "10.1.2.3:2000", "10.9.9.9:2000",
                               QByteArray("\x00\x01", 2), "not from the site in use"));
            store.append(frame(t0 + 4, D::Received, "serial Com1", "", flood, ""));
            store.append(frame(t0 + 5, D::Sent, "10.1.2.3:2000", "joystick",
                               QByteArray("\x00\x3f\r", 3), "camera 15"));
        } // closing writes what is queued
        const QString hex64 = QStringList(64, "78").join(' ');
        const QString me = EventStore::thisProgram();
        const std::vector<Record> expected{
            {"2026-12-09T02:14:07.123Z", "sent", "serial Com1", "panel", "35 0D", "camera 5", me},
            {"2026-12-09T02:14:07.124Z", "received", "serial Com1", "status poll", "01 40 08 00",
             "monitor 2, camera 5", me},
            {"2026-12-09T02:14:07.125Z", "state", "serial Com1", "panel", "", "port lost", me},
            {"2026-12-09T02:14:07.126Z", "ignored", "10.1.2.3:2000", "10.9.9.9:2000", "00 01",
             "not from the site in use", me},
            {"2026-12-09T02:14:07.127Z", "received", "serial Com1", "", hex64 + " ... (100 bytes)",
             "", me},
            {"2026-12-09T02:14:07.128Z", "sent", "10.1.2.3:2000", "joystick", "00 3F 0D",
             "camera 15", me}};
        QCOMPARE(rows(path), expected);

        // The filter looks at meaning, origin and channel; numbers are whole.
        const struct {
            const char *filter;
            int found;
        } filters[] = {{"camera 5", 2},  {"CAMERA 1", 0},    {"camera 15", 1},
                       {"monitor 2", 1}, {"status poll", 1}, {"com1", 4},
                       {"10.1.2.3", 2},  {"10.9.9", 1},      {"%", 0}};
        for (const auto &f : filters)
            QVERIFY2(int(rows(path, f.filter).size()) == f.found, f.filter);

        // The file holds one schema version, written in WAL mode.
        QFile file(path);
        QVERIFY(file.open(QIODevice::ReadOnly));
        const QByteArray header = file.read(100);
        QCOMPARE(header.left(16), QByteArray("SQLite format 3\0", 16));
        QCOMPARE(int(header[18]), 2); // WAL
        QCOMPARE(header.mid(60, 4), QByteArray("\0\0\0\2", 4));
    }

    void oldRowsGoAtStart() {
        QTemporaryDir dir;
        const QString path = dir.filePath("events.sqlite");
        const qint64 now = QDateTime::currentMSecsSinceEpoch();
        const qint64 day = 24 * 3600 * 1000;
        {
            EventStore store(path);
            for (const qint64 at : {now - 40 * day, now - 29 * day, now})
                store.append(frame(at, Event::Direction::State, "", "panel", {}, "started"));
        }
        {
            const EventStore trimming(path, {30, 200 << 20, {}}); // trims at start
        }
        const std::vector<Record> left = rows(path);
        QCOMPARE(left.size(), std::size_t(2));
        QCOMPARE(left[0].time, events::EventText::time(now - 29 * day));
    }

    void aFloodStaysWithinItsBounds() {
        QTemporaryDir dir;
        const QString path = dir.filePath("events.sqlite");
        const qint64 bound = 1 << 20;
        const int flood = 12000;
        qint64 largest = 0;
        {
            events::EventTiming timing;
            timing.commitMs = 10;
            timing.queueCapacity = 3000;
            EventStore store(path, {90, bound, {}}, timing);
            QElapsedTimer sinceCommit;
            sinceCommit.start();
            connect(&store, &EventStore::committed, this, [&] {
                largest = qMax(largest, onDisk(path));
                sinceCommit.restart();
            });
            const QByteArray text(200, 'a');
            for (int i = 0; i < flood; ++i) {
                store.append(frame(t0 + i, Event::Direction::Received, "serial Com1", "", text,
                                   QStringLiteral("frame %1").arg(i)));
                if (i % 1000 == 0)
                    QTest::qWait(20);
            }
            // Until the writer has taken in the flood.
            QTRY_VERIFY_WITH_TIMEOUT(sinceCommit.elapsed() > 500, 30000);
        }
        QVERIFY2(largest <= bound, qPrintable(QString::number(largest)));
        QVERIFY2(QFileInfo(path).size() <= bound, qPrintable(QString::number(onDisk(path))));
        // The oldest went; what the queue could not hold is counted, to the
        // last frame.
        const std::vector<Record> left = rows(path);
        QVERIFY(left.size() > 1000);
        qint64 notRecorded = 0;
        int frames = 0;
        for (const Record &r : left) {
            if (r.meaning.endsWith(" events not recorded"))
                notRecorded += r.meaning.section(' ', 0, 0).toLongLong();
            else
                ++frames;
        }
        QVERIFY(notRecorded > 0);
        QVERIFY(frames + notRecorded < flood);
        QVERIFY(left.front().meaning != "frame 0");
        QVERIFY2(left.back().meaning == QStringLiteral("frame %1").arg(flood - 1) ||
                     left.back().meaning.endsWith(" events not recorded"),
                 qPrintable(left.back().meaning));
    }

    void droppedEventsAreCountedWhereTheyWereDropped() {
        // Events dropped, some kept, more dropped before the writer takes
        // them: each gap is a row of its own, at its time and in its place.
        events::EventQueue queue(2);
        const auto push = [&](qint64 at) {
            queue.push(frame(at, Event::Direction::Sent, "serial Com1", "panel", "5",
                             QStringLiteral("frame %1").arg(at)));
        };
        std::vector<events::EventQueue::Item> taken;
        push(1), push(2), push(3);
        queue.takeInto(taken); // the writer holds them ...
        push(4);
        queue.setHeld(0); // ... until they are written
        push(5), push(6), push(7);
        queue.takeInto(taken);
        QStringList shown;
        for (const auto &item : taken)
            shown << QStringLiteral("%1 %2").arg(item.event.at).arg(item.event.meaning);
        QCOMPARE(shown,
                 QStringList({"1 frame 1", "2 frame 2", "3 1 events not recorded",
                              "4 1 events not recorded", "5 frame 5", "6 2 events not recorded"}));
    }

    void aFullDiskStopsNothingAndLosesNothing() {
        QTemporaryDir dir;
        const QString path = dir.filePath("events.sqlite");
        events::EventTiming timing;
        timing.retryMs = 100;
        EventStore store(path, {}, timing);
        const QByteArray text(64, 'b');
        store.append(
            frame(t0, Event::Direction::Sent, "serial Com1", "panel", "\x35\r", "camera 5"));
        QTRY_COMPARE(store.written(), 1);
        QSignalSpy states(&store, &EventStore::stateChanged);
        int appended = 1;
        {
            const FileSizeLimit full(
                rlim_t(qMax(QFileInfo(path).size(), QFileInfo(path + "-wal").size())));
            while (store.isWriting() && appended < 100000) {
                store.append(frame(t0 + appended, Event::Direction::Received, "serial Com1", "",
                                   text, QStringLiteral("frame %1").arg(appended)));
                ++appended;
                if (appended % 500 == 0)
                    QTest::qWait(50);
            }
            QVERIFY(!store.isWriting());
            // The panel goes on: appending costs what it did.
            QElapsedTimer clock;
            clock.start();
            for (int i = 0; i < 1000; ++i, ++appended)
                store.append(frame(t0 + appended, Event::Direction::Sent, "serial Com1", "panel",
                                   "\x36\r", "camera 6"));
            QVERIFY2(clock.elapsed() < 200, qPrintable(QString::number(clock.elapsed())));
            QTest::qWait(300); // tried again, still full
        }
        QTRY_VERIFY(store.isWriting());
        QTRY_COMPARE(store.written(), appended);
        // Said once each way, with the reason.
        QCOMPARE(states.size(), 2);
        QCOMPARE(states[0][0].toBool(), false);
        QVERIFY(!states[0][1].toString().isEmpty());
        QCOMPARE(states[1][0].toBool(), true);
        QCOMPARE(int(rows(path).size()), appended);
    }

    // A log of the first version (no program named in its rows) reads as it
    // is; the first writer carries it over: its rows stay, naming no program,
    // and the new ones name theirs.
    void aFirstVersionLogIsCarriedOver() {
        QTemporaryDir dir;
        const QString path = dir.filePath("events.sqlite");
        {
            QSqlDatabase db = QSqlDatabase::addDatabase("QSQLITE", "first version");
            db.setDatabaseName(path);
            QVERIFY(db.open());
            QSqlQuery q(db);
            for (const char *statement :
                 {"PRAGMA journal_mode = WAL",
                  "CREATE TABLE events(time TEXT NOT NULL, direction TEXT NOT NULL, channel TEXT "
                  "NOT NULL, origin TEXT NOT NULL, bytes TEXT NOT NULL, meaning TEXT NOT NULL)",
                  "CREATE INDEX events_time ON events(time)",
                  "INSERT INTO events VALUES('2026-12-09T02:14:07.123Z', 'sent', 'serial Com1', "
                  "'panel', '35 0D', 'camera 5')",
                  "PRAGMA user_version = 1"})
                QVERIFY2(q.exec(statement), statement);
            q.finish();
            db.close();
        }
        QSqlDatabase::removeDatabase("first version");
        const Record old{
            "2026-12-09T02:14:07.123Z", "sent", "serial Com1", "panel", "35 0D", "camera 5", ""};
        QCOMPARE(rows(path), std::vector<Record>{old});
        {
            EventStore store(path);
            store.append(frame(t0 + 1, Event::Direction::Sent, "serial Com1", "panel", "\x36\r",
                               "camera 6"));
        }
        const std::vector<Record> now = rows(path);
        QCOMPARE(now.size(), std::size_t(2));
        QCOMPARE(now[0], old);
        QCOMPARE(now[1].meaning, QStringLiteral("camera 6"));
        QCOMPARE(now[1].program, EventStore::thisProgram());
        QFile file(path);
        QVERIFY(file.open(QIODevice::ReadOnly));
        QCOMPARE(file.read(64).mid(60, 4), QByteArray("\0\0\0\2", 4));
    }

    // On a disk of 2 MB the log stays within the disk and keeps writing: the
    // oldest rows make room for the newest, and the write-ahead log never
    // takes what the rows need.
    void aSmallDiskKeepsTheNewestRows() {
        QTemporaryDir dir;
        const QString path = dir.filePath("events.sqlite");
        SmallDisk disk(dir.path(), 2 << 20);
        events::EventTiming timing;
        timing.commitMs = 20;
        timing.retryMs = 100;
        const int total = 20000; // some 6 MB of rows
        qint64 largest = 0;
        {
            EventStore store(path, {90, 200 << 20, [&] { return disk.free(); }}, timing);
            QSignalSpy states(&store, &EventStore::stateChanged);
            connect(&store, &EventStore::committed, this,
                    [&] { largest = qMax(largest, disk.used()); });
            QVERIFY(feed(store, 0, total, 0));
            for (const QList<QVariant> &state : std::as_const(states))
                QVERIFY2(state.value(0).toBool(), qPrintable(state.value(1).toString()));
            store.append(
                frame(t0 + total, Event::Direction::State, "", "program", {}, "program ended"));
        }
        QVERIFY2(largest <= disk.capacity(), qPrintable(QString::number(largest)));
        QVERIFY(disk.used() <= disk.capacity());
        const std::vector<Record> left = rows(path);
        QVERIFY(left.size() > 1000);
        QVERIFY(left.front().meaning != "frame 0");
        QCOMPARE(left.back().meaning, QStringLiteral("program ended"));
        QCOMPARE(left[left.size() - 2].meaning, QStringLiteral("frame %1").arg(total - 1));
    }

    // Filled to the last byte by another program, the disk leaves the log
    // the pages it has: the newest rows take the places of the oldest, and
    // writing never stops. Freed, the disk takes the rows that follow without
    // the oldest making room for them.
    void aFullDiskIsUsedAgainOnceFreed() {
        QTemporaryDir dir;
        const QString path = dir.filePath("events.sqlite");
        SmallDisk disk(dir.path(), 4 << 20);
        events::EventTiming timing;
        timing.commitMs = 20;
        timing.retryMs = 100;
        EventStore store(path, {90, 200 << 20, [&] { return disk.free(); }}, timing);
        QVERIFY(feed(store, 0, 3000, 0));
        QSignalSpy states(&store, &EventStore::stateChanged);
        QFile filler(dir.filePath("another program's file"));
        QVERIFY(filler.open(QIODevice::WriteOnly));
        QVERIFY(filler.write(QByteArray(int(disk.free()), 'f')) > 0);
        filler.close();
        QCOMPARE(disk.free(), 0);
        const qint64 full = qint64(rows(path).size());
        QVERIFY(feed(store, 3000, 6000, 3000));
        for (const QList<QVariant> &state : std::as_const(states))
            QVERIFY2(state.value(0).toBool(), qPrintable(state.value(1).toString()));
        QVERIFY(disk.used() <= disk.capacity());
        std::vector<Record> left = rows(path);
        QVERIFY(qint64(left.size()) <= full);
        QCOMPARE(left.back().meaning, QStringLiteral("frame 5999"));

        QVERIFY(filler.remove());
        const qint64 freed = qint64(left.size());
        QVERIFY(feed(store, 6000, 8000, 6000));
        left = rows(path);
        QCOMPARE(qint64(left.size()), freed + 2000);
        QCOMPARE(left.back().meaning, QStringLiteral("frame 7999"));
    }

    void aDamagedFileIsSetAsideAndANewOneBegun() {
        QTemporaryDir dir;
        const QString path = dir.filePath("events.sqlite");
        const QByteArray garbage = QByteArray("not an event log\n").repeated(500);
        QFile damaged(path);
        QVERIFY(damaged.open(QIODevice::WriteOnly));
        damaged.write(garbage);
        damaged.close();
        QString asideName;
        {
            EventStore store(path);
            QSignalSpy aside(&store, &EventStore::setAside);
            store.append(
                frame(t0, Event::Direction::Sent, "serial Com1", "panel", "\x35\r", "camera 5"));
            QTRY_COMPARE(store.written(), 1);
            QCOMPARE(aside.size(), 1);
            asideName = aside[0][0].toString();
            QVERIFY(store.isWriting());
        }
        QVERIFY2(QFileInfo(asideName).fileName().startsWith("events-damaged-20"),
                 qPrintable(asideName));
        QFile kept(asideName);
        QVERIFY(kept.open(QIODevice::ReadOnly));
        QCOMPARE(kept.readAll(), garbage);
        QCOMPARE(rows(path).size(), std::size_t(1));
    }
};

VELMAR_TEST_MAIN(TestEventStore)
#include "tst_eventstore.moc"

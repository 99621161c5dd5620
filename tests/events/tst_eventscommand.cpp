// velmar-controller --events FROM TO: the log's rows of a span as CSV, from the
// real program, with no display and nothing of the panel started.
#include "TestMain.h"
#include "events/EventStore.h"

#include <QDir>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>

namespace {
constexpr qint64 t0 = 1796782447123; // 2026-12-09T02:14:07.123Z
}

class TestEventsCommand : public QObject {
    Q_OBJECT
private:
    QTemporaryDir m_state;

private slots:
    void initTestCase() {
        QVERIFY(QDir().mkpath(m_state.filePath("velmar-controller")));
        events::EventStore store(m_state.filePath("velmar-controller/events.sqlite"));
        using D = events::Event::Direction;
        store.append({t0 - 60000, D::State, "", "panel", {}, "started"});
        store.append({t0, D::Sent, "serial Com1", "keyboard", "\x35\r", "camera 5"});
        store.append({t0 + 900, D::Received, "serial Com1", "status poll",
                      QByteArray("\x01\x40\x08\x00", 4), "monitor 2, camera 5"});
        store.append({t0 + 24 * 3600 * 1000, D::State, "serial Com1", "shutdown", {}, "ended"});
    }

    void printsTheRowsOfASpan_data() {
        QTest::addColumn<QStringList>("arguments");
        QTest::addColumn<int>("status");
        QTest::addColumn<QString>("out");

        // Each row names the program that wrote it: here, this test.
        const QString end = "," + events::EventStore::thisProgram() + "\r\n";
        const QString header = "time,direction,channel,origin,bytes,meaning,program\r\n";
        const QString started = "2026-12-09T02:13:07.123Z,state,,panel,,started" + end;
        const QString click =
            "2026-12-09T02:14:07.123Z,sent,serial Com1,keyboard,35 0D,camera 5" + end;
        const QString reply = "2026-12-09T02:14:08.023Z,received,serial Com1,status poll,01 40 "
                              "08 00,\"monitor 2, camera 5\"" +
                              end;
        const QString ended = "2026-12-10T02:14:07.123Z,state,serial Com1,shutdown,,ended" + end;
        QTest::newRow("a day") << QStringList{"2026-12-09", "2026-12-09"} << 0
                               << header + started + click + reply;
        QTest::newRow("two days") << QStringList{"2026-12-09", "2026-12-10"} << 0
                                  << header + started + click + reply + ended;
        QTest::newRow("a minute") << QStringList{"2026-12-09T02:14", "2026-12-09T02:14"} << 0
                                  << header + click + reply;
        QTest::newRow("a second") << QStringList{"2026-12-09T02:14:07", "2026-12-09T02:14:07"} << 0
                                  << header + click;
        QTest::newRow("in another zone")
            << QStringList{"2026-12-09T03:14:08+01:00", "2026-12-09T02:15Z"} << 0 << header + reply;
        QTest::newRow("nothing in it") << QStringList{"2026-12-11", "2026-12-12"} << 0 << header;
        // The last day a date can name ends after the year 9999.
        QTest::newRow("to the end of time")
            << QStringList{"2026-12-10", "9999-12-31"} << 0 << header + ended;
        QTest::newRow("from the start of time")
            << QStringList{"0001-01-01", "2026-12-09T02:13"} << 0 << header + started;
        QTest::newRow("not a date") << QStringList{"2026-13-01", "2026-12-12"} << 2 << QString();
        QTest::newRow("the wrong way round")
            << QStringList{"2026-12-10", "2026-12-09"} << 2 << QString();
        QTest::newRow("one time") << QStringList{"2026-12-10"} << 2 << QString();
        QTest::newRow("three times")
            << QStringList{"2026-12-09", "2026-12-10", "2026-12-11"} << 2 << QString();
    }

    void printsTheRowsOfASpan() {
        QFETCH(QStringList, arguments);
        QFETCH(int, status);
        QFETCH(QString, out);
        QCOMPARE(run(m_state.path(), arguments, status), out);
    }

    void aMissingLogIsSaid() {
        QTemporaryDir empty;
        QCOMPARE(run(empty.path(), {"2026-12-09", "2026-12-09"}, 1), QString());
        // Reading never makes a log.
        QVERIFY(!QDir(empty.path()).exists("velmar-controller"));
    }

private:
    static QString run(const QString &state, const QStringList &times, int status) {
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        for (const char *name : {"DISPLAY", "WAYLAND_DISPLAY", "QT_QPA_PLATFORM"})
            env.remove(QString::fromLatin1(name));
        env.insert("XDG_STATE_HOME", state);
        env.insert("TZ", "UTC"); // dates and times without a zone are local
        QProcess panel;
        panel.setProcessEnvironment(env);
        panel.start(QStringLiteral(VELMAR_PANEL_EXE), QStringList{"--events"} + times);
        if (!panel.waitForStarted() || !panel.waitForFinished(10000)) {
            panel.kill();
            panel.waitForFinished();
            return QStringLiteral("the panel did not end");
        }
        const QString err = QString::fromLocal8Bit(panel.readAllStandardError());
        if (panel.exitCode() != status || (status != 0) == err.isEmpty())
            return QStringLiteral("status %1: %2").arg(panel.exitCode()).arg(err);
        return QString::fromUtf8(panel.readAllStandardOutput());
    }
};

VELMAR_TEST_MAIN(TestEventsCommand)
#include "tst_eventscommand.moc"

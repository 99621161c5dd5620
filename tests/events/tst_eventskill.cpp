// A program killed while it appends to the event log: the file stays whole,
// and at most the last second of events is lost.
#include "TestMain.h"
#include "events/EventQuery.h"

#include <QDateTime>
#include <QProcess>
#include <QRandomGenerator>
#include <QSqlDatabase>
#include <QSqlQuery>
#include <QTemporaryDir>
#include <QTest>

#include <csignal>

class TestEventsKill : public QObject {
    Q_OBJECT
private slots:
    void aKilledProgramLosesAtMostTheLastSecond() {
        QTemporaryDir dir;
        const QString path = dir.filePath("events.sqlite");
        qint64 frames = 0;
        for (int round = 0; round < 8; ++round) {
            QProcess appender;
            appender.start(QStringLiteral(EVENTS_APPENDER), {path});
            QVERIFY(appender.waitForStarted());
            QVERIFY(appender.waitForReadyRead(10000));
            QCOMPARE(appender.readAllStandardOutput(), QByteArray("writing\n"));
            QTest::qWait(300 + QRandomGenerator::global()->bounded(1200));
            const qint64 killedAt = QDateTime::currentMSecsSinceEpoch();
            ::kill(static_cast<pid_t>(appender.processId()), SIGKILL);
            QVERIFY(appender.waitForFinished());

            // Each run's frames are there from its first, in order, without a gap,
            // up to less than a second before the kill.
            std::vector<events::Record> rows;
            const QString error = events::EventQuery::read(path, {0, killedAt + 1000}, {},
                                                           [&](const events::Record &r) {
                                                               rows.push_back(r);
                                                               return true;
                                                           });
            QVERIFY2(error.isEmpty(), qPrintable(error));
            QVERIFY(qint64(rows.size()) > frames);
            qint64 expected = 0;
            for (std::size_t i = std::size_t(frames); i < rows.size(); ++i)
                QCOMPARE(rows[i].meaning, QStringLiteral("frame %1").arg(expected++));
            const qint64 last =
                QDateTime::fromString(rows.back().time, Qt::ISODateWithMs).toMSecsSinceEpoch();
            QVERIFY2(killedAt - last <= 1000, qPrintable(QString::number(killedAt - last)));
            frames = qint64(rows.size());
        }
        {
            QSqlDatabase db = QSqlDatabase::addDatabase("QSQLITE", "check");
            db.setDatabaseName(path);
            QVERIFY(db.open());
            QSqlQuery check(db);
            QVERIFY(check.exec("PRAGMA integrity_check") && check.next());
            QCOMPARE(check.value(0).toString(), QStringLiteral("ok"));
        }
        QSqlDatabase::removeDatabase("check");
    }
};

VELMAR_TEST_MAIN(TestEventsKill)
#include "tst_eventskill.moc"

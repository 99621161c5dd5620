// Schedules on the fake clock in Rome's time: an entry across midnight, the
// entries still in force after a start (and those already applied before the
// program ended), and the days summer time begins and ends.
#include "AutomationRig.h"
#include "TestMain.h"

#include "automation/RunStateFile.h"

using devicelink::Origin;
using Run = automation::Automation::TourState::Run;

namespace {
const QByteArray dayAndNight = "[Salvo1]\nName=Day\nRoutes=1:1, 2:2\n"
                               "[Salvo2]\nName=Night\nRoutes=1:3, 2:4\n"
                               "[Tour1]\nMonitor=3\nSteps=5:10, 6:10\n"
                               "[Schedule1]\nAt=06:00\nAction=salvo Day\n"
                               "[Schedule2]\nAt=22:00\nAction=salvo Night\n"
                               "[Schedule3]\nAt=22:00\nAction=tour 1 start\n"
                               "[Schedule4]\nAt=06:00\nAction=tour 1 stop\n";

qint64 rome(int y, int mo, int d, int h, int mi) {
    return QDateTime(QDate(y, mo, d), QTime(h, mi), QTimeZone("Europe/Rome")).toMSecsSinceEpoch();
}

// The state file as the program leaves it, with the last entry applied then.
void applied(AutomationRig &rig, qint64 at) {
    automation::RunStateFile state;
    state.scheduleApplied = at;
    AutomationRig::writeTo(rig.statePath(), state.bytes());
}
} // namespace

class TestSchedules : public QObject {
    Q_OBJECT

private slots:
    void acrossMidnight() {
        AutomationRig rig("[Salvo1]\nName=Night\nRoutes=1:3\n"
                          "[Schedule1]\nAt=00:00\nDays=Tue\nAction=salvo Night\n");
        rig.setLocal(2027, 1, 18, 23, 59, 30); // a Monday
        applied(rig, rig.clock.ms - 60000);
        rig->start();
        QVERIFY(rig.switcher.calls.isEmpty());
        QCOMPARE(rig->scheduler().timer().interval(), 30000);
        rig.advance(29999);
        QVERIFY(rig.switcher.calls.isEmpty());
        rig.advance(1);
        QCOMPARE(rig.switcher.log(), QStringList{"route 1 3 by salvo Night"});
        QCOMPARE(rig.switcher.times("route"), QList<qint64>{rome(2027, 1, 19, 0, 0)});
        QCOMPARE(rig.notesOf("schedule 1"), QStringList{"due Tue 2027-01-19 00:00: salvo Night"});
        // Recorded, so that a restart does not apply it again.
        QCOMPARE(
            automation::RunStateFile::parse(AutomationRig::read(rig.statePath())).scheduleApplied,
            rig.clock.ms);
        // Not on Wednesday; again the Tuesday after.
        rig.clock.ms = rome(2027, 1, 20, 0, 1);
        rig.advance(0);
        QCOMPARE(rig.switcher.calls.size(), 1);
        rig.clock.ms = rome(2027, 1, 26, 0, 0);
        rig.advance(0);
        QCOMPARE(rig.switcher.calls.size(), 2);
    }

    // Each row: when the program starts, when it last applied an entry (0:
    // never), and what is applied at the start.
    void startingInsideAPeriod_data() {
        QTest::addColumn<qint64>("start");
        QTest::addColumn<qint64>("lastApplied");
        QTest::addColumn<QStringList>("routes");
        QTest::addColumn<Run>("tour");
        QTest::newRow("at night, first start")
            << rome(2027, 1, 18, 23, 0) << qint64(0)
            << QStringList{"route 1 3 by salvo Night", "route 2 4 by salvo Night",
                           "route 3 5 by tour 1"}
            << Run::Running;
        QTest::newRow("in the morning, first start")
            << rome(2027, 1, 19, 7, 0) << qint64(0)
            << QStringList{"route 1 1 by salvo Day", "route 2 2 by salvo Day"} << Run::Stopped;
        QTest::newRow("ended before the night entries")
            << rome(2027, 1, 18, 23, 0) << rome(2027, 1, 18, 21, 0)
            << QStringList{"route 1 3 by salvo Night", "route 2 4 by salvo Night",
                           "route 3 5 by tour 1"}
            << Run::Running;
        QTest::newRow("ended after them: the operator's choices stand")
            << rome(2027, 1, 18, 23, 0) << rome(2027, 1, 18, 22, 30) << QStringList{}
            << Run::Stopped;
    }
    void startingInsideAPeriod() {
        QFETCH(qint64, start);
        QFETCH(qint64, lastApplied);
        QFETCH(QStringList, routes);
        QFETCH(Run, tour);
        AutomationRig rig(dayAndNight);
        rig.clock.ms = start;
        if (lastApplied)
            applied(rig, lastApplied);
        rig->start();
        QCOMPARE(rig.switcher.log(), routes);
        QCOMPARE(rig.tour(1).run, tour);
        for (const QString &note : rig.notes) {
            if (note.startsWith(QLatin1String("schedule")))
                QVERIFY2(note.contains(QLatin1String("applied late")), qPrintable(note));
        }
    }

    void aTourByItsSchedule() {
        AutomationRig rig(dayAndNight);
        rig.clock.ms = rome(2027, 1, 18, 21, 59);
        applied(rig, rig.clock.ms);
        rig->start();
        rig.advance(60000);
        QCOMPARE(rig.tour(1).run, Run::Running);
        QVERIFY(rig.notesOf("tour 1").contains(QStringLiteral("started by schedule 3")));
        rig.clock.ms = rome(2027, 1, 19, 6, 0);
        rig.advance(0);
        QCOMPARE(rig.tour(1).run, Run::Stopped);
        QVERIFY(rig.notesOf("tour 1").contains(QStringLiteral("stopped by schedule 4")));
    }

    // 02:30 every day: on the day the clocks go forward it comes at 03:00;
    // on the day they go back it comes once, at the first 02:30.
    void summerTime_data() {
        QTest::addColumn<qint64>("from");
        QTest::addColumn<QList<qint64>>("due");
        const qint64 utcMarch28 =
            QDateTime(QDate(2027, 3, 28), QTime(0, 0), Qt::UTC).toMSecsSinceEpoch();
        const qint64 utcOctober31 =
            QDateTime(QDate(2027, 10, 31), QTime(0, 0), Qt::UTC).toMSecsSinceEpoch();
        QTest::newRow("spring") << utcMarch28 << QList<qint64>{utcMarch28 + 3600 * 1000};
        QTest::newRow("autumn") << utcOctober31 << QList<qint64>{utcOctober31 + 1800 * 1000};
    }
    void summerTime() {
        QFETCH(qint64, from);
        QFETCH(QList<qint64>, due);
        AutomationRig rig("[Salvo1]\nName=Night\nRoutes=1:3\n"
                          "[Schedule1]\nAt=02:30\nAction=salvo Night\n");
        rig.clock.ms = from;
        applied(rig, from);
        rig->start();
        // Minute by minute for three hours, as the timer wakes at the latest.
        for (int minute = 0; minute < 180; ++minute)
            rig.advance(60000);
        QCOMPARE(rig.switcher.times("route"), due);
    }
};

VELMAR_TEST_MAIN(TestSchedules)
#include "tst_schedules.moc"

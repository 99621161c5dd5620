// When schedule entries come due in local time: a day's time of day, the
// hour skipped and the hour repeated by summer time, midnight, and which of
// many entries due are still in force.
#include "TestMain.h"
#include "automation/ScheduleTimes.h"

#include <QDateTime>

using automation::AutomationFile;
using automation::ScheduleTimes;

namespace {
const QTimeZone rome("Europe/Rome");

qint64 utc(int y, int mo, int d, int h, int mi) {
    return QDateTime(QDate(y, mo, d), QTime(h, mi), Qt::UTC).toMSecsSinceEpoch();
}

AutomationFile::Schedule entry(int number, QTime at, quint8 days, AutomationFile::Action action) {
    return {number, at, days, std::move(action)};
}
AutomationFile::Action salvo(const char *name) {
    return {AutomationFile::Action::Kind::Salvo, QLatin1String(name), 0};
}
AutomationFile::Action tour(int n, bool start) {
    return {start ? AutomationFile::Action::Kind::TourStart
                  : AutomationFile::Action::Kind::TourStop,
            {},
            n};
}
} // namespace

class TestScheduleTimes : public QObject {
    Q_OBJECT

private slots:
    void initTestCase() { QVERIFY2(rome.isValid(), "the zone database is installed"); }

    void instant_data() {
        QTest::addColumn<QDate>("date");
        QTest::addColumn<QTime>("at");
        QTest::addColumn<qint64>("expected");
        QTest::newRow("winter") << QDate(2027, 1, 15) << QTime(22, 0) << utc(2027, 1, 15, 21, 0);
        QTest::newRow("summer") << QDate(2027, 7, 1) << QTime(22, 0) << utc(2027, 7, 1, 20, 0);
        QTest::newRow("midnight") << QDate(2027, 1, 16) << QTime(0, 0) << utc(2027, 1, 15, 23, 0);
        // 02:00 becomes 03:00 on 28 March 2027: 02:30 is not on any clock;
        // it comes due as the clocks go forward.
        QTest::newRow("the hour skipped")
            << QDate(2027, 3, 28) << QTime(2, 30) << utc(2027, 3, 28, 1, 0);
        QTest::newRow("just after it")
            << QDate(2027, 3, 28) << QTime(3, 0) << utc(2027, 3, 28, 1, 0);
        QTest::newRow("just before it")
            << QDate(2027, 3, 28) << QTime(1, 59) << utc(2027, 3, 28, 0, 59);
        // 03:00 becomes 02:00 on 31 October 2027: 02:30 comes twice, and
        // counts the first time.
        QTest::newRow("the hour repeated")
            << QDate(2027, 10, 31) << QTime(2, 30) << utc(2027, 10, 31, 0, 30);
        QTest::newRow("after it") << QDate(2027, 10, 31) << QTime(3, 0) << utc(2027, 10, 31, 2, 0);
    }
    void instant() {
        QFETCH(QDate, date);
        QFETCH(QTime, at);
        QFETCH(qint64, expected);
        QCOMPARE(ScheduleTimes(rome).instant(date, at), expected);
    }

    void acrossMidnightOnItsDay() {
        const ScheduleTimes times(rome);
        // Tuesday 00:00 only; 2027-01-18 is a Monday.
        const QList<AutomationFile::Schedule> s{entry(1, QTime(0, 0), 0x02, salvo("Night"))};
        const qint64 mondayLate = utc(2027, 1, 18, 22, 59); // 23:59 local
        const qint64 tuesdayEarly = utc(2027, 1, 18, 23, 1);
        QCOMPARE(times.between(s, mondayLate, tuesdayEarly),
                 (QList<ScheduleTimes::Due>{{utc(2027, 1, 18, 23, 0), 0}}));
        QCOMPARE(times.next(s, mondayLate), utc(2027, 1, 18, 23, 0));
        // Not on the Wednesday after.
        QCOMPARE(times.between(s, tuesdayEarly, tuesdayEarly + 24 * 3600 * 1000), {});
        QCOMPARE(times.next(s, tuesdayEarly), utc(2027, 1, 25, 23, 0));
    }

    void theRepeatedHourRunsOnce() {
        const ScheduleTimes times(rome);
        const QList<AutomationFile::Schedule> s{entry(1, QTime(2, 30), 0x7F, salvo("Night"))};
        // From before the first 02:30 to after the second.
        const QList<ScheduleTimes::Due> due =
            times.between(s, utc(2027, 10, 31, 0, 0), utc(2027, 10, 31, 2, 0));
        QCOMPARE(due.size(), 1);
        QCOMPARE(times.next(s, utc(2027, 10, 31, 0, 30)), utc(2027, 11, 1, 1, 30));
    }

    void aGapIsBounded() {
        const ScheduleTimes times(rome);
        const QList<AutomationFile::Schedule> s{entry(1, QTime(12, 0), 0x7F, salvo("Noon"))};
        // Years apart: a week of entries at most.
        const QList<ScheduleTimes::Due> due = times.between(s, 0, utc(2027, 1, 15, 13, 0));
        QVERIFY(due.size() <= 9);
        QCOMPARE(due.last().at, utc(2027, 1, 15, 11, 0));
    }

    void inForce_data() {
        QTest::addColumn<QList<int>>("due"); // schedule indexes, oldest first
        QTest::addColumn<QList<int>>("kept");
        // 0: salvo Day (monitors 1-2), 1: salvo Night (1-2), 2: salvo Lobby
        // (3), 3: tour 1 start, 4: tour 1 stop, 5: tour 2 start.
        QTest::newRow("the latest salvo") << QList<int>{0, 1, 0} << QList<int>{0};
        QTest::newRow("salvos of other monitors stay") << QList<int>{2, 0, 1} << QList<int>{2, 1};
        QTest::newRow("the latest of each tour") << QList<int>{3, 5, 4} << QList<int>{5, 4};
        QTest::newRow("all kinds") << QList<int>{4, 3, 1, 2, 0, 5} << QList<int>{3, 2, 0, 5};
    }
    void inForce() {
        QFETCH(QList<int>, due);
        QFETCH(QList<int>, kept);
        AutomationFile setup;
        setup.salvos = {{1, QStringLiteral("Day"), {{1, 1, 0}, {2, 2, 0}}},
                        {2, QStringLiteral("Night"), {{2, 3, 0}, {1, 4, 0}}},
                        {3, QStringLiteral("Lobby"), {{3, 5, 0}}}};
        setup.schedules = {entry(1, QTime(6, 0), 0x7F, salvo("Day")),
                           entry(2, QTime(22, 0), 0x7F, salvo("Night")),
                           entry(3, QTime(8, 0), 0x7F, salvo("Lobby")),
                           entry(4, QTime(9, 0), 0x7F, tour(1, true)),
                           entry(5, QTime(17, 0), 0x7F, tour(1, false)),
                           entry(6, QTime(9, 0), 0x7F, tour(2, true))};
        QList<ScheduleTimes::Due> list;
        for (int i = 0; i < due.size(); ++i)
            list.append({qint64(i) * 1000, due[i]});
        QList<int> out;
        for (const ScheduleTimes::Due &d : ScheduleTimes::inForce(list, setup))
            out << d.index;
        QCOMPARE(out, kept);
    }
};

VELMAR_TEST_MAIN(TestScheduleTimes)
#include "tst_scheduletimes.moc"

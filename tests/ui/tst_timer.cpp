// Panel timers: enabling an enabled timer neither restarts nor doubles it,
// and a one-shot use ticks exactly once.
#include "ui/Timer.h"

#include <QSignalSpy>
#include <QTest>

class TestTimer : public QObject {
    Q_OBJECT
private slots:
    void enablingAgainDoesNotRestart() {
        ui::Timer timer(QStringLiteral("Timer3"), 400, false);
        QCOMPARE(timer.remainingTime(), -1);
        timer.setEnabled(true);
        QTest::qWait(150);
        timer.setEnabled(true);
        // Restarted it would have about 400 ms left again.
        QVERIFY2(timer.remainingTime() <= 260, qPrintable(QString::number(timer.remainingTime())));
    }

    void oneShotTicksOnce() {
        ui::Timer timer(QStringLiteral("Timer4"), 30, false);
        QSignalSpy ticks(&timer, &ui::Timer::tick);
        connect(&timer, &ui::Timer::tick, &timer, [&] { timer.setEnabled(false); });
        timer.setEnabled(true);
        timer.setEnabled(true);
        QTRY_COMPARE(ticks.count(), 1);
        QTest::qWait(100);
        QCOMPARE(ticks.count(), 1);
        QVERIFY(!timer.isEnabled());
    }
};

QTEST_GUILESS_MAIN(TestTimer)
#include "tst_timer.moc"

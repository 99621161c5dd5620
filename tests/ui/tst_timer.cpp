// Panel timers: enabling an enabled timer neither restarts nor doubles it,
// a one-shot use ticks exactly once, and a stopped timer never ticks again,
// whether its ticks come from a kernel timer or from the QTimer it falls
// back on.
#include "TestMain.h"
#include "ui/Timer.h"

#include <QSignalSpy>
#include <QTest>
#include <memory>
#include <sys/resource.h>
#include <unistd.h>

namespace {

// Builds a timer while the process cannot open one more file, as when it has
// run out of descriptors: the timer must then run on its QTimer.
std::unique_ptr<ui::Timer> timerWithoutDescriptors(int intervalMs) {
    rlimit old{};
    if (::getrlimit(RLIMIT_NOFILE, &old) != 0)
        return nullptr;
    const int lowestFree = ::dup(0);
    if (lowestFree < 0)
        return nullptr;
    ::close(lowestFree);
    rlimit tight = old;
    tight.rlim_cur = static_cast<rlim_t>(lowestFree);
    if (::setrlimit(RLIMIT_NOFILE, &tight) != 0)
        return nullptr;
    auto timer = std::make_unique<ui::Timer>(QStringLiteral("Timer1"), intervalMs, false);
    ::setrlimit(RLIMIT_NOFILE, &old);
    return timer;
}

} // namespace

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

    // Two timers due in the same pass of the event loop, each stopping the
    // other from its tick: only the first to run may tick.
    void stoppedByAnotherTickDoesNotTick() {
        ui::Timer a(QStringLiteral("TimerStore"), 20, false);
        ui::Timer b(QStringLiteral("TimerSet"), 20, false);
        int ticks = 0;
        connect(&a, &ui::Timer::tick, &a, [&] {
            ++ticks;
            b.setEnabled(false);
            a.setEnabled(false);
        });
        connect(&b, &ui::Timer::tick, &b, [&] {
            ++ticks;
            a.setEnabled(false);
            b.setEnabled(false);
        });
        a.setEnabled(true);
        b.setEnabled(true);
        QTest::qSleep(60); // both fall due while the loop is busy
        QTest::qWait(100);
        QCOMPARE(ticks, 1);
    }

    void runsOnAKernelTimerOrOnItsQTimer_data() {
        QTest::addColumn<bool>("withoutDescriptors");
        QTest::newRow("kernel timer") << false;
        QTest::newRow("out of descriptors") << true;
    }
    void runsOnAKernelTimerOrOnItsQTimer() {
        QFETCH(bool, withoutDescriptors);
        std::unique_ptr<ui::Timer> timer =
            withoutDescriptors ? timerWithoutDescriptors(15)
                               : std::make_unique<ui::Timer>(QStringLiteral("Timer1"), 15, false);
        QVERIFY(timer);
#ifdef Q_OS_LINUX
        QCOMPARE(timer->isKernelTimer(), !withoutDescriptors);
#endif
        QSignalSpy ticks(timer.get(), &ui::Timer::tick);
        timer->setEnabled(true);
        QTRY_VERIFY(ticks.count() >= 3); // it keeps ticking until stopped
        timer->setEnabled(false);
        QCOMPARE(timer->remainingTime(), -1);
        const int stoppedAt = ticks.count();
        QTest::qWait(60);
        QCOMPARE(ticks.count(), stoppedAt);

        // A new interval on an enabled timer starts it over with that interval.
        timer->setInterval(5000);
        timer->setEnabled(true);
        QVERIFY(timer->remainingTime() > 4000);
        timer->setInterval(10);
        QVERIFY(timer->remainingTime() <= 10);
        QTRY_VERIFY_WITH_TIMEOUT(ticks.count() > stoppedAt, 1000);
        timer->setEnabled(false);
    }
};

VELMAR_TEST_MAIN(TestTimer)
#include "tst_timer.moc"

// Tours on the fake switcher and the fake clock: steps at their dwell times,
// held or stopped by another source's route, moved by hand, carried on after
// a restart, and steps that cannot go out.
#include "AutomationRig.h"
#include "TestMain.h"

using devicelink::Origin;
using devicelink::Outcome;
using Run = automation::Automation::TourState::Run;

Q_DECLARE_METATYPE(devicelink::Origin)

namespace {
const QByteArray threeSteps = "[Tour1]\nMonitor=2\nSteps=5:10, 7@2:5, 9:15\n";
const Origin panel(Origin::Kind::Panel);
} // namespace

class TestTours : public QObject {
    Q_OBJECT

private slots:
    void threeStepsChangeAtTheirDwellTimes() {
        AutomationRig rig(threeSteps);
        rig->start();
        const qint64 t0 = rig.clock.ms;
        rig->startTour(1, panel);
        QCOMPARE(rig.switcher.log(), QStringList{"route 2 5 by tour 1"});
        // The timer is armed for the whole dwell.
        QVERIFY(rig->tourRunner().timer().isActive());
        QCOMPARE(rig->tourRunner().timer().interval(), 10000);

        rig.advance(9999);
        QCOMPARE(rig.switcher.calls.size(), 1);
        QCOMPARE(rig->tourRunner().timer().interval(), 1);
        rig.advance(1);
        rig.advance(5000);
        rig.advance(15000);
        rig.advance(10000);
        QCOMPARE(rig.switcher.log(),
                 (QStringList{"route 2 5 by tour 1", "route 2 7 by tour 1", "preset 2 by tour 1",
                              "route 2 9 by tour 1", "route 2 5 by tour 1", "route 2 7 by tour 1",
                              "preset 2 by tour 1"}));
        QCOMPARE(rig.switcher.times("route"),
                 (QList<qint64>{t0, t0 + 10000, t0 + 15000, t0 + 30000, t0 + 40000}));
        QCOMPARE(rig.tour(1).step, 2);
        QCOMPARE(rig.tour(1).run, Run::Running);
        QCOMPARE(rig.notesOf("tour 1").first(), QStringLiteral("started by panel"));
        QVERIFY(rig.notesOf("tour 1").contains(
            QStringLiteral("step 2 of 3: camera 7 on monitor 2, preset 2")));
    }

    // A tick that comes late does not push the steps after it back.
    void lateTicksDoNotAddUp() {
        AutomationRig rig(threeSteps);
        rig->start();
        const qint64 t0 = rig.clock.ms;
        rig->startTour(1, panel);
        rig.advance(10030);
        QCOMPARE(rig->tourRunner().timer().interval(), 5000 - 30);
        rig.advance(5000 - 30);
        QCOMPARE(rig.switcher.times("route"), (QList<qint64>{t0, t0 + 10030, t0 + 15000}));
    }

    void clockJumps_data() {
        QTest::addColumn<qint64>("jump");
        QTest::newRow("an hour forward") << qint64(3600 * 1000);
        QTest::newRow("an hour back") << qint64(-3600 * 1000);
    }
    // One step, then its whole dwell: neither a burst of steps nor a tour
    // that stands still for the hour.
    void clockJumps() {
        QFETCH(qint64, jump);
        AutomationRig rig(threeSteps);
        rig->start();
        rig->startTour(1, panel);
        rig.advance(jump);
        QCOMPARE(rig.switcher.log(),
                 (QStringList{"route 2 5 by tour 1", "route 2 7 by tour 1", "preset 2 by tour 1"}));
        QCOMPARE(rig->tourRunner().timer().interval(), 5000);
    }

    void anotherRouteToTheMonitor_data() {
        QTest::addColumn<QByteArray>("setting");
        QTest::addColumn<Origin>("by");
        QTest::addColumn<int>("monitor");
        QTest::addColumn<Run>("after");
        const Origin videohub(Origin::Kind::Videohub, QStringLiteral("10.0.0.7:5000"));
        QTest::newRow("the panel holds it") << QByteArray("hold") << panel << 2 << Run::Held;
        QTest::newRow("a Videohub client holds it") << QByteArray() << videohub << 2 << Run::Held;
        QTest::newRow("a salvo holds it")
            << QByteArray("hold") << Origin(Origin::Kind::Salvo, QStringLiteral("Night")) << 2
            << Run::Held;
        QTest::newRow("stop") << QByteArray("stop") << panel << 2 << Run::Stopped;
        QTest::newRow("another monitor") << QByteArray("stop") << panel << 3 << Run::Running;
        QTest::newRow("another tour's late answer")
            << QByteArray("stop") << Origin(Origin::Kind::Tour, QStringLiteral("4")) << 2
            << Run::Running;
    }
    void anotherRouteToTheMonitor() {
        QFETCH(QByteArray, setting);
        QFETCH(Origin, by);
        QFETCH(int, monitor);
        QFETCH(Run, after);
        AutomationRig rig(threeSteps +
                          (setting.isEmpty() ? QByteArray() : "OnManualRoute=" + setting + "\n"));
        rig->start();
        rig->startTour(1, panel);
        rig.advance(4000);
        rig.switcher.routeBy(monitor, 11, by);
        QCOMPARE(rig.tour(1).run, after);
        rig.switcher.clear();
        rig.advance(60000);
        QCOMPARE(rig.switcher.calls.isEmpty(), after != Run::Running);
        if (after == Run::Held) {
            // The step stays where it was until the operator resumes it; the
            // resumed step gets its whole dwell.
            QCOMPARE(rig.tour(1).step, 1);
            rig->startTour(1, panel);
            QCOMPARE(rig.switcher.log(), QStringList{"route 2 5 by tour 1"});
            QCOMPARE(rig->tourRunner().timer().interval(), 10000);
            QVERIFY(rig.notesOf("tour 1").contains(
                QStringLiteral("held at step 1: monitor 2 routed by %1").arg(by.text())));
        }
    }

    void heldStepsByHand() {
        AutomationRig rig(threeSteps);
        rig->start();
        rig->startTour(1, panel);
        QVERIFY(rig->tourRunner().timer().isActive());
        rig->holdTour(1, panel);
        QVERIFY(!rig->tourRunner().timer().isActive());
        rig->stepTour(1, -1, panel);
        QCOMPARE(rig.tour(1).step, 3);
        QCOMPARE(rig.tour(1).run, Run::Held);
        rig->stepTour(1, 2, panel);
        QCOMPARE(rig.tour(1).step, 2);
        QCOMPARE(rig.switcher.log(), (QStringList{"route 2 5 by tour 1", "route 2 9 by tour 1",
                                                  "route 2 7 by tour 1", "preset 2 by tour 1"}));
        rig.switcher.clear();
        rig.advance(60000);
        QVERIFY(rig.switcher.calls.isEmpty());
        rig->stopTour(1, panel);
        QCOMPARE(rig.tour(1).run, Run::Stopped);
        QCOMPARE(rig.tour(1).step, 0);
        rig->startTour(1, panel);
        QCOMPARE(rig.switcher.log(), QStringList{"route 2 5 by tour 1"});
    }

    void refusals() {
        AutomationRig rig(threeSteps);
        rig->start();
        Outcome outcome;
        rig->holdTour(1, panel, [&](const Outcome &o) { outcome = o; });
        QCOMPARE(outcome.kind, Outcome::Kind::Refused);
        rig->startTour(9, panel, [&](const Outcome &o) { outcome = o; });
        QCOMPARE(outcome.reason, QStringLiteral("there is no tour 9"));
        rig->stepTour(1, 1, panel, [&](const Outcome &o) { outcome = o; });
        QCOMPARE(outcome.kind, Outcome::Kind::Refused);
    }

    // A locked monitor refuses every step: said once, not at every dwell,
    // and said again when a step goes out.
    void stepsThatCannotGoOutAreSaidOnce() {
        AutomationRig rig(threeSteps);
        rig->start();
        rig.switcher.routeOutcome[2] = Outcome::refused(
            QStringLiteral("monitor 2 is locked by web boss"), QStringLiteral("web boss"));
        Outcome first;
        rig->startTour(1, panel, [&](const Outcome &o) { first = o; });
        QCOMPARE(first.kind, Outcome::Kind::Refused);
        rig.advance(10000);
        rig.advance(5000);
        QCOMPARE(rig.switcher.times("route").size(), 3);
        QCOMPARE(rig.notesOf("tour 1"),
                 (QStringList{"started by panel",
                              "step 1 of 3: camera 5 not put on monitor 2: monitor 2 is locked by "
                              "web boss"}));
        rig.switcher.routeOutcome.clear();
        rig.advance(15000);
        QCOMPARE(rig.notesOf("tour 1").last(),
                 QStringLiteral("step 1 of 3: camera 5 on monitor 2"));
    }

    void oneTourPerMonitor() {
        AutomationRig rig(threeSteps +
                          "[Tour2]\nMonitor=2\nSteps=1:3\n[Tour3]\nMonitor=3\nSteps=2:3\n");
        rig->start();
        rig->startTour(1, panel);
        rig->startTour(3, panel);
        rig->startTour(2, panel);
        QCOMPARE(rig.tour(1).run, Run::Stopped);
        QCOMPARE(rig.tour(2).run, Run::Running);
        QCOMPARE(rig.tour(3).run, Run::Running);
        QVERIFY(
            rig.notesOf("tour 1").contains(QStringLiteral("stopped: tour 2 started on monitor 2")));
    }

    // What ran, and what was held, at the end runs or is held again at the
    // next start; what was stopped does not run.
    void carriedOnAfterARestart() {
        AutomationRig rig(threeSteps + "[Tour2]\nMonitor=3\nSteps=1:3, 2:3\n"
                                       "[Tour3]\nMonitor=4\nSteps=4:3\n");
        rig->start();
        rig->startTour(1, panel);
        rig->startTour(2, panel);
        rig->stepTour(2, 1, panel);
        rig->holdTour(2, panel);
        rig->startTour(3, panel);
        rig->stopTour(3, panel);
        QCOMPARE(AutomationRig::read(rig.statePath()),
                 QByteArray("tour 1 running 1\ntour 2 held 2\n"));

        rig.make();
        rig.switcher.clear();
        rig->start();
        QCOMPARE(rig.tour(1).run, Run::Running);
        QCOMPARE(rig.tour(2).run, Run::Held);
        QCOMPARE(rig.tour(2).step, 2);
        QCOMPARE(rig.tour(3).run, Run::Stopped);
        QCOMPARE(rig.switcher.log(), QStringList{"route 2 5 by tour 1"});
        QVERIFY(rig->tourRunner().timer().isActive());
    }

    // New settings from the editor: a tour still there goes on, one gone or
    // moved to another monitor stops.
    void newSettings() {
        AutomationRig rig(threeSteps + "[Tour2]\nMonitor=3\nSteps=1:3\n");
        rig->start();
        rig->startTour(1, panel);
        rig->startTour(2, panel);
        rig.advance(10000);
        automation::AutomationFile next = rig->setup();
        next.tours[0].steps.removeLast();
        next.tours[1].monitor = 4;
        QCOMPARE(rig->save(next), QString());
        QCOMPARE(rig.tour(1).run, Run::Running);
        QCOMPARE(rig.tour(1).step, 2);
        QCOMPARE(rig.tour(2).run, Run::Stopped);
        QVERIFY(rig.notesOf("tour 2").last().startsWith(QStringLiteral("stopped")));
        QCOMPARE(AutomationRig::read(rig.statePath()), QByteArray("tour 1 running 2\n"));
    }
};

VELMAR_TEST_MAIN(TestTours)
#include "tst_tours.moc"

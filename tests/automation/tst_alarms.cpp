// Alarm call-up on the fake switcher: the queue of a monitor, the
// acknowledge that steps through it, the return to the camera or the tour
// shown before, a lock above the alarm, and another source's route during it.
#include "AutomationRig.h"
#include "TestMain.h"

using devicelink::Origin;
using devicelink::Outcome;
using Run = automation::Automation::TourState::Run;

namespace {
const QByteArray twoAlarms = "[Alarm7]\nMonitor=1\nCamera=12\nPreset=4\n"
                             "[Alarm8]\nMonitor=1\nCamera=13\n"
                             "[Alarm9]\nMonitor=3\nCamera=14\n";
const Origin panel(Origin::Kind::Panel);
const Origin contact(Origin::Kind::Remote, QStringLiteral("alarm socket"));
} // namespace

class TestAlarms : public QObject {
    Q_OBJECT

private slots:
    // Each row: what happens, in order ("7+" raised, "7-" cleared, "7a"
    // acknowledged), and the routes that go out after each.
    void queueAndAcknowledge_data() {
        QTest::addColumn<QStringList>("events");
        QTest::addColumn<QStringList>("routes");
        QTest::newRow("cleared, then acknowledged")
            << QStringList{"7+", "8+", "7-", "8-", "7a", "8a"}
            << QStringList{"route 1 12 by alarm 7,preset 4 by alarm 7",
                           "",
                           "",
                           "",
                           "route 1 13 by alarm 8",
                           "route 1 3 by alarm 8"};
        // Acknowledged while still active: the next is shown; an alarm still
        // active keeps the monitor until it is cleared.
        QTest::newRow("acknowledged while active")
            << QStringList{"7+", "8+", "7a", "8a", "8-", "7-"}
            << QStringList{"route 1 12 by alarm 7,preset 4 by alarm 7",
                           "",
                           "route 1 13 by alarm 8",
                           "",
                           "route 1 12 by alarm 7,preset 4 by alarm 7",
                           "route 1 3 by alarm 7"};
        QTest::newRow("the second cleared before it was seen")
            << QStringList{"7+", "8+", "8-", "8a", "7-", "7a"}
            << QStringList{"route 1 12 by alarm 7,preset 4 by alarm 7",
                           "",
                           "",
                           "",
                           "",
                           "route 1 3 by alarm 7"};
        QTest::newRow("raised again after its acknowledge")
            << QStringList{"7+", "7a", "7-", "7+", "7-", "7a"}
            << QStringList{"route 1 12 by alarm 7,preset 4 by alarm 7", "", "route 1 3 by alarm 7",
                           "route 1 12 by alarm 7,preset 4 by alarm 7", "", "route 1 3 by alarm 7"};
        QTest::newRow("another monitor's alarm apart")
            << QStringList{"7+", "9+", "9-", "9a", "7a", "7-"}
            << QStringList{"route 1 12 by alarm 7,preset 4 by alarm 7",
                           "route 3 14 by alarm 9",
                           "",
                           "route 3 6 by alarm 9",
                           "",
                           "route 1 3 by alarm 7"};
    }
    void queueAndAcknowledge() {
        QFETCH(QStringList, events);
        QFETCH(QStringList, routes);
        AutomationRig rig(twoAlarms);
        rig->start();
        rig.switcher.states[1].camera = 3;
        rig.switcher.states[3].camera = 6;
        for (int i = 0; i < events.size(); ++i) {
            const QString e = events[i];
            const int input = e.chopped(1).toInt();
            rig.switcher.clear();
            if (e.endsWith(QLatin1Char('a')))
                rig->acknowledgeAlarm(input, panel);
            else
                rig->setAlarm(input, e.endsWith(QLatin1Char('+')), contact);
            QCOMPARE(rig.switcher.log().join(QLatin1Char(',')), routes[i]);
        }
        QVERIFY(rig->alarms().size() == 3);
        for (const auto &a : rig->alarms())
            QVERIFY(!a.active && a.acknowledged && !a.shown);
    }

    void statesAndNotes() {
        AutomationRig rig(twoAlarms);
        rig->start();
        rig.switcher.states[1].camera = 3;
        rig->setAlarm(7, true, contact);
        rig->setAlarm(8, true, contact);
        QVERIFY(rig.alarm(7).shown && rig.alarm(7).active && !rig.alarm(7).acknowledged);
        QVERIFY(!rig.alarm(8).shown && rig.alarm(8).active);
        QCOMPARE(rig.alarm(8).camera, 13);
        rig->acknowledgeAlarm(7, panel);
        QVERIFY(!rig.alarm(7).shown && rig.alarm(8).shown);
        rig->setAlarm(7, false, contact);
        rig->setAlarm(8, false, contact);
        rig->acknowledgeAlarm(8, panel);
        QCOMPARE(rig.notes,
                 (QStringList{"alarm 7: raised by alarm socket",
                              "alarm 7: camera 12 on monitor 1, preset 4",
                              "alarm 8: raised by alarm socket: queued on monitor 1 behind alarm 7",
                              "alarm 7: acknowledged by panel", "alarm 8: camera 13 on monitor 1",
                              "alarm 7: cleared by alarm socket",
                              "alarm 8: cleared by alarm socket", "alarm 8: acknowledged by panel",
                              "alarm 8: returned: monitor 1 back to camera 3"}));
    }

    void refusals_data() {
        QTest::addColumn<int>("input");
        QTest::addColumn<bool>("acknowledge");
        QTest::addColumn<QString>("reason");
        QTest::newRow("not bound")
            << 10 << false << QStringLiteral("alarm 10 is not bound to a monitor");
        QTest::newRow("0") << 0 << false << QStringLiteral("there is no alarm input 0 (1 to 64)");
        QTest::newRow("65") << 65 << false
                            << QStringLiteral("there is no alarm input 65 (1 to 64)");
        QTest::newRow("acknowledge, not raised")
            << 7 << true << QStringLiteral("alarm 7 is not waiting to be acknowledged");
    }
    void refusals() {
        QFETCH(int, input);
        QFETCH(bool, acknowledge);
        QFETCH(QString, reason);
        AutomationRig rig(twoAlarms);
        rig->start();
        Outcome outcome;
        if (acknowledge)
            rig->acknowledgeAlarm(input, panel, [&](const Outcome &o) { outcome = o; });
        else
            rig->setAlarm(input, true, contact, [&](const Outcome &o) { outcome = o; });
        QCOMPARE(outcome.kind, Outcome::Kind::Refused);
        QCOMPARE(outcome.reason, reason);
        QVERIFY(rig.switcher.calls.isEmpty());
    }

    // The tour on the alarm's monitor waits, and carries on from its step
    // afterwards with a whole dwell; a tour elsewhere runs on.
    void theTourWaitsAndCarriesOn() {
        AutomationRig rig(twoAlarms + "[Tour1]\nMonitor=1\nSteps=1:10, 2:10\n"
                                      "[Tour2]\nMonitor=2\nSteps=3:10, 4:10\n");
        rig->start();
        rig->startTour(1, panel);
        rig->startTour(2, panel);
        rig.advance(10000);
        rig.switcher.clear();
        rig->setAlarm(8, true, contact);
        QCOMPARE(rig.tour(1).run, Run::Held);
        rig.advance(10000);
        rig.advance(10000);
        rig->acknowledgeAlarm(8, panel);
        rig->setAlarm(8, false, contact);
        QCOMPARE(rig.switcher.log(), (QStringList{"route 1 13 by alarm 8", "route 2 3 by tour 2",
                                                  "route 2 4 by tour 2", "route 1 2 by tour 1"}));
        QCOMPARE(rig.tour(1).run, Run::Running);
        QVERIFY(rig.notesOf("alarm 8").contains(
            QStringLiteral("returned: monitor 1 goes on with its tour")));
        rig.switcher.clear();
        rig.advance(10000);
        QCOMPARE(rig.switcher.log(), (QStringList{"route 1 1 by tour 1", "route 2 3 by tour 2"}));
    }

    // A tour held by the operator stays held: the monitor gets its camera back.
    void aHeldTourStaysHeld() {
        AutomationRig rig(twoAlarms + "[Tour1]\nMonitor=1\nSteps=1:10, 2:10\n");
        rig->start();
        rig->startTour(1, panel);
        rig->holdTour(1, panel);
        rig->setAlarm(8, true, contact);
        rig->acknowledgeAlarm(8, panel);
        rig.switcher.clear();
        rig->setAlarm(8, false, contact);
        QCOMPARE(rig.switcher.log(), QStringList{"route 1 1 by alarm 8"});
        QCOMPARE(rig.tour(1).run, Run::Held);
    }

    // A lock above the alarm keeps its camera out; when the lock goes, the
    // alarm's camera is called up.
    void aLockAboveTheAlarm() {
        AutomationRig rig(twoAlarms);
        rig->start();
        rig.switcher.states[1].lockHolder = QStringLiteral("web boss");
        rig.switcher.routeOutcome[1] = Outcome::refused(
            QStringLiteral("monitor 1 is locked by web boss"), QStringLiteral("web boss"));
        Outcome outcome;
        rig->setAlarm(8, true, contact, [&](const Outcome &o) { outcome = o; });
        QCOMPARE(outcome.kind, Outcome::Kind::Refused);
        QVERIFY(rig.alarm(8).active && !rig.alarm(8).shown);
        QCOMPARE(rig.notesOf("alarm 8").last(),
                 QStringLiteral("camera 13 not put on monitor 1: monitor 1 is locked by web boss"));
        // Other changes of the monitor do not call it up again.
        rig.switcher.clear();
        emit rig.switcher.monitorChanged(1);
        QCOMPARE(rig.switcher.calls.size(), 0);
        rig.switcher.routeOutcome.clear();
        rig.switcher.setLock(1, QString());
        QCOMPARE(rig.switcher.log(), QStringList{"route 1 13 by alarm 8"});
        QVERIFY(rig.alarm(8).shown);
    }

    // Someone routes the monitor while the alarm shows: not fought over, and
    // not put back afterwards.
    void anotherRouteDuringTheAlarm() {
        AutomationRig rig(twoAlarms);
        rig->start();
        rig.switcher.states[1].camera = 3;
        rig->setAlarm(8, true, contact);
        rig.switcher.routeBy(1, 2, Origin(Origin::Kind::Web, QStringLiteral("boss")));
        QVERIFY(!rig.alarm(8).shown);
        rig.switcher.clear();
        rig->setAlarm(8, false, contact);
        rig->acknowledgeAlarm(8, panel);
        QVERIFY(rig.switcher.calls.isEmpty());
        QCOMPARE(rig.notesOf("alarm 8").last(),
                 QStringLiteral("returned: monitor 1 stays as another source routed it"));
    }

    // The monitor showed nothing known: nothing is guessed back onto it.
    void nothingKnownToReturnTo() {
        AutomationRig rig(twoAlarms);
        rig->start();
        rig->setAlarm(8, true, contact);
        rig.switcher.clear();
        rig->acknowledgeAlarm(8, panel);
        rig->setAlarm(8, false, contact);
        QVERIFY(rig.switcher.calls.isEmpty());
    }

    // Presets wait for each other: the second alarm's route follows the first
    // one's preset, not in the middle of it.
    void presetsOneAfterAnother() {
        AutomationRig rig("[Alarm1]\nMonitor=1\nCamera=5\nPreset=2\n"
                          "[Alarm2]\nMonitor=2\nCamera=6\nPreset=3\n");
        rig->start();
        rig.switcher.answerLater = true;
        rig->setAlarm(1, true, contact);
        rig->setAlarm(2, true, contact);
        QCOMPARE(rig.switcher.log(), QStringList{"route 1 5 by alarm 1"});
        rig.switcher.answer();
        rig.switcher.answer();
        rig.switcher.answer();
        rig.switcher.answer();
        QCOMPARE(rig.switcher.log(), (QStringList{"route 1 5 by alarm 1", "preset 2 by alarm 1",
                                                  "route 2 6 by alarm 2", "preset 3 by alarm 2"}));
        QVERIFY(rig.alarm(1).shown && rig.alarm(2).shown);
    }
};

VELMAR_TEST_MAIN(TestAlarms)
#include "tst_alarms.moc"

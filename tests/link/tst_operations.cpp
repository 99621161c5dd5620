// The switcher's operations on the session with fake platform parts, without
// any window: the codes and timers of every operation, whoever asks, one
// source's sequence never split by another's, locks and camera control by
// priority, and what did not leave told as such.
#include "Fakes.h"
#include "TestMain.h"
#include "link/Arbiter.h"
#include "link/Operations.h"
#include "link/Session.h"
#include "link/StatusPolls.h"
#include "ui/Timer.h"

#include <QSignalSpy>

using devicelink::Auxiliary;
using devicelink::Axis;
using devicelink::Frame;
using devicelink::Move;
using devicelink::Operations;
using devicelink::Origin;
using devicelink::Outcome;
using devicelink::Session;

namespace {

const Origin panel{Origin::Kind::Panel};
const Origin keyboard{Origin::Kind::Keyboard};
const Origin videohub{Origin::Kind::Videohub, QStringLiteral("10.0.0.7:5000")};
const Origin otherClient{Origin::Kind::Videohub, QStringLiteral("10.0.0.8:5000")};
const Origin webOperator{Origin::Kind::Web, QStringLiteral("ana")};
const Origin alarm7{Origin::Kind::Alarm, QStringLiteral("7")};

// A session whose port is open and whose start-up polls are out of the way,
// with every frame it reports kept.
struct Rig {
    fakes::SerialPort port;
    fakes::DatagramSocket socket;
    fakes::Clock clock;
    Session session{port, socket, clock};
    Operations &ops = session.operations();
    QList<Frame> frames;

    Rig() {
        session.serial().openPort();
        session.polls().stop();
        for (auto signal : {&Session::frameSent, &Session::frameNotSent})
            QObject::connect(&session, signal, &session,
                             [this](const Frame &f) { frames.append(f); });
    }
    // The command bytes written so far, as code texts ("60", "95"), then forgotten.
    QStringList taken() {
        QStringList codes;
        const QByteArray written = std::exchange(port.written, {});
        for (qsizetype i = 0; i + 1 < written.size(); i += 2)
            codes << QString::number(uchar(written[i]), 16).toUpper();
        return codes;
    }
    // Who sent each frame, in order, then forgotten.
    QStringList origins() {
        QStringList out;
        for (const Frame &f : std::exchange(frames, {}))
            out << f.origin.text();
        return out;
    }
    void ticks(ui::Timer &timer, int n) {
        for (int i = 0; i < n; ++i)
            emit timer.tick();
    }
};

// Remembers what became of an operation.
struct Result {
    std::optional<Outcome> outcome;
    devicelink::Done done() {
        return [this](const Outcome &o) { outcome = o; };
    }
};

} // namespace

class TestOperations : public QObject {
    Q_OBJECT
private slots:
    // Each operation's codes, and whether it asks for the status a second later.
    void operationCodes_data() {
        QTest::addColumn<int>("operation");
        QTest::addColumn<int>("argument");
        QTest::addColumn<QStringList>("codes");
        QTest::addColumn<bool>("arms3");
        enum { Camera, Monitor, Aux };
        QTest::newRow("camera 9") << int(Camera) << 9 << QStringList{"39"} << true;
        QTest::newRow("camera 10") << int(Camera) << 10 << QStringList{"3A"} << true;
        QTest::newRow("camera 16") << int(Camera) << 16 << QStringList{"40"} << true;
        QTest::newRow("monitor 3") << int(Monitor) << 3 << QStringList{"53"} << true;
        QTest::newRow("A/P") << int(Aux) << int(Auxiliary::AutoPan) << QStringList{"BC"} << false;
        QTest::newRow("Seq") << int(Aux) << int(Auxiliary::Sequence) << QStringList{"8C"} << false;
        QTest::newRow("Tour back to back")
            << int(Aux) << int(Auxiliary::Tour) << QStringList{"5D", "BC"} << false;
        QTest::newRow("Lamps, release later")
            << int(Aux) << int(Auxiliary::Lamps) << QStringList{"B6"} << false;
    }
    void operationCodes() {
        QFETCH(int, operation);
        QFETCH(int, argument);
        Rig rig;
        if (operation == 0)
            rig.ops.selectCamera(argument, panel);
        else if (operation == 1)
            rig.ops.selectMonitor(argument, panel);
        else
            rig.ops.auxiliary(static_cast<Auxiliary>(argument), panel);
        QTEST(rig.taken(), "codes");
        QTEST(rig.session.polls().Timer3().isEnabled(), "arms3");
    }

    // A pan: its speed half a second on (read then, not at the press), its
    // stop at the release, the status request 4 s after it; a release before
    // the speed's tick still gets the speed after the stop; two presses on
    // one axis within the delay, one speed.
    void movesAndTheirSpeeds() {
        Rig rig;
        ui::Timer &Timer5 = rig.session.polls().Timer5();
        Timer5.setEnabled(true);
        rig.ops.startMove(Move::Left, panel);
        QVERIFY(!Timer5.isEnabled());
        rig.ops.setSpeed(Axis::Pan, 2);
        rig.ops.TimerPan_Timer();
        rig.ops.stopMove(Move::Left, panel);
        QVERIFY(Timer5.isEnabled());
        rig.session.Timer5_Timer();
        QCOMPARE(rig.taken(), (QStringList{"60", "92", "61", "2E"}));

        rig.ops.startMove(Move::Right, panel);
        rig.ops.stopMove(Move::Right, panel);
        rig.ops.TimerPan_Timer();
        QCOMPARE(rig.taken(), (QStringList{"62", "61", "92"}));

        rig.ops.startMove(Move::Up, panel);
        rig.ops.stopMove(Move::Up, panel);
        rig.ops.startMove(Move::Down, panel);
        emit rig.ops.TimerTilt().tick();
        QVERIFY(!rig.ops.TimerTilt().isEnabled());
        QCOMPARE(rig.taken(), (QStringList{"64", "65", "66", "9D"}));

        // The lens leaves the status request alone.
        rig.ops.stopMove(Move::Down, panel);
        Timer5.setEnabled(false);
        rig.ops.startMove(Move::IrisOpen, panel);
        rig.ops.stopMove(Move::IrisClose, panel);
        QVERIFY(!Timer5.isEnabled());
        QCOMPARE(rig.taken(), (QStringList{"65", "74", "75"}));
    }

    void presetSequences_data() {
        QTest::addColumn<int>("preset");
        QTest::addColumn<bool>("store");
        QTest::addColumn<QStringList>("codes");
        QTest::addColumn<QStringList>("meanings");
        QTest::newRow("recall 5") << 5 << false << QStringList{"5D", "35", "5E"}
                                  << QStringList{"preset or tour: begin", "preset 5",
                                                 "preset: end"};
        QTest::newRow("recall 16")
            << 16 << false << QStringList{"5D", "40", "5E"}
            << QStringList{"preset or tour: begin", "preset 16", "preset: end"};
        QTest::newRow("store 12") << 12 << true << QStringList{"F7", "5D", "3C", "F8", "5E"}
                                  << QStringList{"preset store: begin",
                                                 "preset store: preset begin", "preset 12",
                                                 "preset store: number given", "preset: end"};
    }
    void presetSequences() {
        QFETCH(int, preset);
        QFETCH(bool, store);
        QFETCH(QStringList, codes);
        Rig rig;
        QSignalSpy running(&rig.ops, &Operations::presetRunningChanged);
        QSignalSpy stored(&rig.ops, &Operations::presetStored);
        Result result;
        if (store)
            rig.ops.storePreset(preset, keyboard, 0, result.done());
        else
            rig.ops.recallPreset(preset, keyboard, 0, result.done());
        QCOMPARE(rig.taken(), QStringList()); // the timer sends the sequence
        // Sequences never overlap: another waits for the end, refused.
        Result second;
        rig.ops.recallPreset(1, panel, 0, second.done());
        QCOMPARE(second.outcome->kind, Outcome::Kind::Refused);
        rig.ticks(store ? rig.ops.TimerStore() : rig.ops.TimerSet(), int(codes.size()));
        QCOMPARE(rig.taken(), codes);
        QStringList meanings;
        for (const Frame &f : rig.frames)
            meanings << f.meaning;
        QTEST(meanings, "meanings");
        const QStringList keyboards(codes.size(), QStringLiteral("keyboard"));
        QCOMPARE(rig.origins(), keyboards);
        QVERIFY(result.outcome && result.outcome->ok());
        QCOMPARE(rig.ops.PresetStep, qint16(0));
        QCOMPARE(rig.ops.PresetKey, QString::number(0x30 + preset, 16).toUpper());
        QCOMPARE(running.size(), 2);
        QCOMPARE(stored.size(), store ? 1 : 0);
        QVERIFY(!rig.ops.presetRunning());
    }

    // Lamps then Wiper within 800 ms: one release, then the status request
    // a second on; the release is read as the function it releases.
    void auxiliaryReleaseOnce() {
        Rig rig;
        Result lamps;
        rig.ops.auxiliary(Auxiliary::Lamps, panel, lamps.done());
        rig.ops.auxiliary(Auxiliary::Wiper, panel);
        QVERIFY(!lamps.outcome); // told once its release has gone
        rig.ops.Timer4_Timer();
        QVERIFY(lamps.outcome && lamps.outcome->ok());
        QVERIFY(rig.session.polls().Timer3().isEnabled());
        rig.session.Timer3_Timer();
        QCOMPARE(rig.taken(), (QStringList{"B6", "B4", "B7", "2E"}));
        QCOMPARE(rig.frames[2].meaning, "wiper released");
    }

    // Another source's route during the operator's held pan, or during a
    // preset store, goes out after the sequence's last code: the stop and
    // the stored preset reach the operator's camera, never the client's.
    void anotherSourceWaitsForTheSequence_data() {
        QTest::addColumn<bool>("store");
        QTest::newRow("during a held pan") << false;
        QTest::newRow("during a preset store") << true;
    }
    void anotherSourceWaitsForTheSequence() {
        QFETCH(bool, store);
        Rig rig;
        rig.ops.selectCamera(3, panel);
        if (store)
            rig.ops.storePreset(7, panel);
        else
            rig.ops.startMove(Move::Left, panel);
        Result route;
        rig.ops.route(2, 9, videohub, route.done());
        QVERIFY(!route.outcome); // it waits
        if (store) {
            rig.ticks(rig.ops.TimerStore(), 5);
        } else {
            rig.ops.TimerPan_Timer();
            rig.ops.stopMove(Move::Left, panel);
        }
        QVERIFY(route.outcome && route.outcome->ok());
        const QStringList sequence = store ? QStringList{"33", "F7", "5D", "37", "F8", "5E"}
                                           : QStringList{"33", "60", "95", "61"};
        const QStringList expected = sequence + QStringList{"52", "39"};
        QCOMPARE(rig.taken(), expected);
        const QStringList client(2, QStringLiteral("videohub 10.0.0.7:5000"));
        QCOMPARE(rig.origins().mid(sequence.size()), client);
    }

    // A wait that would be long is refused with the reason and the holder;
    // the operator's own codes are never held up.
    void aLongWaitIsRefused() {
        Rig rig;
        QSignalSpy refused(&rig.ops, &devicelink::Switcher::refused);
        rig.ops.startMove(Move::Up, panel);
        Result route;
        rig.ops.route(1, 4, videohub, route.done());
        rig.ops.selectCamera(5, keyboard); // the operator again: at once
        QCOMPARE(rig.taken(), (QStringList{"64", "35"}));
        rig.clock.ms += Operations::maxWaitMs;
        rig.ops.TimerWait_Timer();
        QCOMPARE(route.outcome->kind, Outcome::Kind::Refused);
        QCOMPARE(route.outcome->holder, "panel");
        QCOMPARE(refused.size(), 1);
        rig.ops.stopMove(Move::Up, panel);
        QCOMPARE(rig.taken(), QStringList{"65"});
    }

    // Two sources move one camera: the lower is refused, nothing sent; a
    // higher one takes over, the first move's stop going out before its start.
    void cameraControlByPriority() {
        Rig rig;
        rig.ops.selectCamera(4, panel);
        rig.taken();
        rig.ops.startMove(Move::Left, webOperator);
        Result lower;
        rig.ops.startMove(Move::Right, Origin{Origin::Kind::Web, QStringLiteral("ben")}, 0,
                          lower.done());
        QCOMPARE(lower.outcome->kind, Outcome::Kind::Refused);
        QCOMPARE(lower.outcome->holder, "web ana");
        QCOMPARE(rig.taken(), QStringList{"60"});

        QSignalSpy ended(&rig.ops, &Operations::moveEnded);
        QSignalSpy decided(&rig.ops, &devicelink::Switcher::decided);
        rig.ops.startMove(Move::Up, panel);
        QCOMPARE(rig.taken(), (QStringList{"61", "64"}));
        QCOMPARE(ended.size(), 1);
        QVERIFY(!decided.isEmpty());
        // The one taken over lets go later: nothing more goes out for it,
        // and its speed, due after its start, never does.
        rig.ops.stopMove(Move::Left, webOperator);
        rig.ops.TimerTilt_Timer();
        QCOMPARE(rig.taken(), QStringList{"9D"});
        // Web ana may not take the camera back while the panel holds it,
        // nor for the idle time after its last move.
        rig.ops.stopMove(Move::Up, panel);
        rig.taken();
        Result again;
        rig.ops.startMove(Move::Left, webOperator, 0, again.done());
        QCOMPARE(again.outcome->kind, Outcome::Kind::Refused);
        rig.clock.ms += devicelink::Arbiter::defaultCameraIdleMs;
        rig.ops.startMove(Move::Left, webOperator);
        QCOMPARE(rig.taken(), QStringList{"60"});
    }

    // A lock refuses the routes of others of lower or equal priority; a
    // higher one overrides it (recorded) or forces it; the holder's end
    // frees it.
    void monitorLocks() {
        Rig rig;
        QSignalSpy decided(&rig.ops, &devicelink::Switcher::decided);
        Result locked;
        rig.ops.lockMonitor(2, videohub, false, locked.done());
        QVERIFY(locked.outcome->ok());
        QCOMPARE(rig.ops.monitor(2).lockHolder, "videohub 10.0.0.7:5000");
        Result refused;
        rig.ops.route(2, 5, otherClient, refused.done());
        QCOMPARE(refused.outcome->kind, Outcome::Kind::Refused);
        QCOMPARE(refused.outcome->reason, "monitor 2 is locked by videohub 10.0.0.7:5000");
        QCOMPARE(rig.taken(), QStringList());
        Result force;
        rig.ops.lockMonitor(2, otherClient, true, force.done());
        QCOMPARE(force.outcome->kind, Outcome::Kind::Refused); // equal priority

        rig.ops.route(2, 5, panel);
        QCOMPARE(rig.taken(), (QStringList{"52", "35"}));
        QCOMPARE(decided.last().at(1).toString(),
                 "route to monitor 2 overrides the lock of videohub 10.0.0.7:5000");
        // The camera key honours the lock of the monitor selected last.
        Result camera;
        rig.ops.selectCamera(6, otherClient, camera.done());
        QCOMPARE(camera.outcome->kind, Outcome::Kind::Refused);

        rig.ops.sourceGone(videohub);
        QVERIFY(rig.ops.monitor(2).lockHolder.isEmpty());
        rig.ops.route(2, 6, otherClient);
        QCOMPARE(rig.taken(), (QStringList{"52", "36"}));
    }

    // An alarm's route (higher) during the operator's hold stops the
    // operator's camera first; a source gone ends its moves with their stops.
    void aHigherSourceStopsTheMoveFirst() {
        Rig rig;
        rig.ops.startMove(Move::ZoomIn, panel);
        rig.ops.route(1, 12, alarm7);
        QCOMPARE(rig.taken(), (QStringList{"6C", "6D", "51", "3C"}));
        rig.ops.stopMove(Move::ZoomIn, panel);
        QCOMPARE(rig.taken(), QStringList());

        rig.ops.startMove(Move::FocusNear, webOperator);
        rig.ops.sourceGone(webOperator);
        QCOMPARE(rig.taken(), (QStringList{"70", "71"}));
    }

    // What cannot leave is told as not sent, with who asked and why; a
    // number out of range is refused before anything is sent.
    void whatDidNotLeave() {
        Rig rig;
        rig.session.serial().closePort();
        Result route;
        rig.ops.route(2, 5, videohub, route.done());
        QCOMPARE(route.outcome->kind, Outcome::Kind::NotSent);
        QCOMPARE(route.outcome->reason, "the port is closed");
        QCOMPARE(rig.frames.size(), 2);
        QCOMPARE(rig.frames[0].direction, Frame::Direction::NotSent);
        QCOMPARE(rig.frames[1].meaning, "not sent: the port is closed (camera 5)");
        QCOMPARE(rig.frames[1].origin.text(), "videohub 10.0.0.7:5000");

        Result range;
        rig.session.serial().openPort();
        rig.ops.route(5, 17, panel, range.done());
        QCOMPARE(range.outcome->kind, Outcome::Kind::Refused);
        QCOMPARE(range.outcome->reason, "no monitor 5: monitors are 1 to 4");
        QCOMPARE(rig.taken(), QStringList());
    }

    // The joystick's codes drive the selected camera as a held button
    // would: another source waits while the stick is off centre.
    void joystickCodesHoldTheCamera() {
        Rig rig;
        using devicelink::Code;
        const Origin stick{Origin::Kind::Joystick};
        rig.ops.sendCameraCode(Code::PanRight, stick);
        Result route;
        rig.ops.route(3, 2, videohub, route.done());
        rig.ops.sendCameraCode(devicelink::panSpeed(7), stick);
        rig.ops.sendCameraCode(Code::TiltStop, stick);
        QVERIFY(!route.outcome);
        rig.ops.sendCameraCode(Code::PanStop, stick);
        QVERIFY(route.outcome && route.outcome->ok());
        QCOMPARE(rig.taken(), (QStringList{"62", "97", "65", "61", "53", "32"}));
    }
};

VELMAR_TEST_MAIN(TestOperations)
#include "tst_operations.moc"

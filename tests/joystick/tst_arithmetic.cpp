// The joystick's poll arithmetic: the steps cut from the rest reading, the
// dead zone, speeds, direction choice, lens buttons and the one-axis rule.
#include "joystick/StickArithmetic.h"
#include "link/CommandCode.h"

#include <QTest>

using joystick::Geometry;
using joystick::PollOutcome;
using joystick::PollState;
using ui::JoystickReading;

namespace {

// A rest reading of 7000 counts gives steps of 1000 counts, 7 each side.
constexpr quint32 Rest = 7000;

JoystickReading at(double right, double forward, quint32 buttons = 0) {
    return JoystickReading{static_cast<quint32>(Rest + right * 1000),
                           static_cast<quint32>(Rest - forward * 1000), 0, buttons};
}

// The codes of one poll as they reach the line, with the 80 ms follow-ups
// that it arms fired after them.
QStringList onTheLine(const PollOutcome &out, const PollState &state) {
    QStringList line = out.codes;
    if (out.speedFollowUp)
        line << devicelink::codeOf(state.speedCode);
    if (out.panStopFollowUp)
        line << QStringLiteral("61");
    return line;
}

} // namespace

using Sequence = QList<JoystickReading>;
Q_DECLARE_METATYPE(Sequence)

class TestArithmetic : public QObject {
    Q_OBJECT
private slots:
    void geometryFromRest_data() {
        QTest::addColumn<quint32>("rest");
        QTest::addColumn<qint32>("step");
        QTest::addColumn<qint32>("centre");
        QTest::addColumn<qint32>("halfSteps");
        QTest::newRow("SDL centre") << 32768u << 4681 << 32768 << 7;
        QTest::newRow("classic centre") << 32767u << 4681 << 32767 << 7;
        QTest::newRow("even steps") << 7000u << 1000 << 7000 << 7;
        QTest::newRow("step rounds up") << 11u << 2 << 11 << 5;
        QTest::newRow("smallest step") << 4u << 1 << 4 << 4;
        QTest::newRow("step rounds to 0") << 3u << 0 << 3 << 0;
        QTest::newRow("stick at the end") << 0u << 0 << 0 << 0;
        // The centre does not fit in 32 bits; it stays 0.
        QTest::newRow("beyond 32 bits") << 4294967295u << 613566756 << 0 << 14;
    }
    void geometryFromRest() {
        QFETCH(quint32, rest);
        QFETCH(qint32, step);
        QFETCH(qint32, centre);
        QFETCH(qint32, halfSteps);
        const Geometry g = joystick::geometryAt(rest, rest);
        QCOMPARE(g.stepX, step);
        QCOMPARE(g.stepY, step);
        QCOMPARE(g.centroX, centre);
        QCOMPARE(g.centroY, centre);
        QCOMPARE(g.halfStepsX, halfSteps);
        QCOMPARE(g.halfStepsY, halfSteps);
    }

    void stickPositions_data() {
        QTest::addColumn<quint32>("rest");
        QTest::addColumn<JoystickReading>("reading");
        QTest::addColumn<QString>("lastCode");
        QTest::addColumn<qint32>("vX");
        QTest::addColumn<qint32>("vY");
        QTest::addColumn<QStringList>("line");
        QTest::addColumn<QString>("lastCodeAfter");
        const QString stop = QStringLiteral("65");

        QTest::newRow("1.5 steps right: dead zone")
            << Rest << at(1.5, 0) << stop << 0 << 0 << QStringList() << stop;
        QTest::newRow("1.5 steps left: pans at 3")
            << Rest << at(-1.5, 0) << stop << -2 << 0 << QStringList{"60", "93"} << "60";
        QTest::newRow("2 steps right")
            << Rest << at(2, 0) << stop << 2 << 0 << QStringList{"62", "93"} << "62";
        QTest::newRow("full right")
            << Rest << at(7, 0) << stop << 7 << 0 << QStringList{"62", "97"} << "62";
        QTest::newRow("past the end: clamped")
            << Rest << at(9, -9) << stop << 7 << -7 << QStringList{"62", "97"} << "62";
        QTest::newRow("full left")
            << Rest << at(-7, 0) << stop << -7 << 0 << QStringList{"60", "97"} << "60";
        QTest::newRow("full forward")
            << Rest << at(0, 7) << stop << 0 << 7 << QStringList{"64", "9F"} << "64";
        QTest::newRow("1.5 steps forward: dead zone")
            << Rest << at(0, 1.5) << stop << 0 << 0 << QStringList() << stop;
        QTest::newRow("1.5 steps back: tilts at 2")
            << Rest << at(0, -1.5) << stop << 0 << -2 << QStringList{"66", "9A"} << "66";
        QTest::newRow("back 3 steps")
            << Rest << at(0, -3) << stop << 0 << -3 << QStringList{"66", "9B"} << "66";
        QTest::newRow("back 3.5 steps")
            << Rest << at(0, -3.5) << stop << 0 << -4 << QStringList{"66", "9C"} << "66";
        QTest::newRow("equal diagonal right forward")
            << Rest << at(3, 3) << stop << 3 << 3 << QStringList{"62", "94"} << "62";
        QTest::newRow("equal diagonal right back")
            << Rest << at(3, -3) << stop << 3 << -3 << QStringList{"62", "94"} << "62";
        QTest::newRow("equal diagonal left back")
            << Rest << at(-3, -3) << stop << -3 << -3 << QStringList{"60", "94"} << "60";
        QTest::newRow("equal diagonal left forward")
            << Rest << at(-3, 3) << stop << -3 << 3 << QStringList{"60", "94"} << "60";
        QTest::newRow("forward dominant")
            << Rest << at(2, 5) << stop << 2 << 5 << QStringList{"64", "9D"} << "64";
        QTest::newRow("back dominant")
            << Rest << at(-4, -6) << stop << -4 << -6 << QStringList{"66", "9E"} << "66";
        QTest::newRow("button while deflected")
            << Rest << at(3, 0, 1) << stop << 3 << 0 << QStringList{"62", "94"} << "62";
        QTest::newRow("centre after a pan")
            << Rest << at(0, 0) << "62" << 0 << 0 << QStringList{"65", "61"} << stop;
        QTest::newRow("centre, nothing sent yet")
            << Rest << at(0, 0) << QString() << 0 << 0 << QStringList{"65", "61"} << stop;
        QTest::newRow("centre already stopped")
            << Rest << at(0, 0) << stop << 0 << 0 << QStringList() << stop;
        QTest::newRow("button waits for the stop")
            << Rest << at(0, 0, 1) << "66" << 0 << 0 << QStringList{"65", "61"} << stop;
        // A short half travel (the stick rested off centre) still tops out at 7.
        QTest::newRow("short half travel: speed capped")
            << 3000u << JoystickReading{6000, 3000, 0, 0} << stop << 6 << 0
            << QStringList{"62", "97"} << "62";
        QTest::newRow("short half travel: no lower clamp")
            << 3000u << JoystickReading{0, 3000, 0, 0} << stop << -7 << 0 << QStringList{"60", "97"}
            << "60";
        QTest::newRow("axes without steps read 0")
            << 3u << JoystickReading{65535, 0, 0, 0} << stop << 0 << 0 << QStringList() << stop;
        QTest::newRow("rest beyond 32 bits reads 0")
            << 4294967295u << JoystickReading{4294967295u, 0, 0, 0} << stop << 0 << 0
            << QStringList() << stop;
    }
    void stickPositions() {
        QFETCH(quint32, rest);
        QFETCH(JoystickReading, reading);
        QFETCH(QString, lastCode);
        QFETCH(qint32, vX);
        QFETCH(qint32, vY);
        QFETCH(QStringList, line);
        QFETCH(QString, lastCodeAfter);
        PollState state;
        state.lastCode = lastCode;
        const PollOutcome out = joystick::poll(joystick::geometryAt(rest, rest), reading, state);
        QCOMPARE(out.vX, vX);
        QCOMPARE(out.vY, vY);
        QCOMPARE(onTheLine(out, state), line);
        QCOMPARE(state.lastCode, lastCodeAfter);
        QVERIFY(!out.lensLabel);
    }

    void lensButtons_data() {
        QTest::addColumn<quint32>("buttons");
        QTest::addColumn<QString>("lastLensCode");
        QTest::addColumn<QStringList>("line");
        QTest::addColumn<QString>("lastCodeAfter");
        QTest::addColumn<QString>("lastLensCodeAfter");
        QTest::addColumn<bool>("labelChanges");
        QTest::addColumn<QString>("label");

        QTest::newRow("zoom in") << 1u << QString() << QStringList{"6C"} << "6C"
                                 << "6C" << true << "ZOOM +";
        QTest::newRow("zoom out") << 2u << QString() << QStringList{"6E"} << "6E"
                                  << "6E" << true << "ZOOM -";
        QTest::newRow("focus +") << 4u << QString() << QStringList{"70"} << "70"
                                 << "70" << true << "FUOCO +";
        QTest::newRow("focus -") << 8u << QString() << QStringList{"72"} << "72"
                                 << "72" << true << "FUOCO -";
        QTest::newRow("buttons 1 and 2")
            << 3u << QString() << QStringList() << "65" << QString() << false << QString();
        QTest::newRow("buttons 1 and 3") << 5u << "6C" << QStringList() << "65"
                                         << "6C" << false << QString();
        QTest::newRow("button 5") << 16u << QString() << QStringList() << "65" << QString() << false
                                  << QString();
        QTest::newRow("zoom in let go") << 0u << "6C" << QStringList{"6D"} << "65"
                                        << "6D" << true << QString();
        QTest::newRow("zoom out let go") << 0u << "6E" << QStringList{"6D"} << "65"
                                         << "6D" << true << QString();
        QTest::newRow("focus + let go") << 0u << "70" << QStringList{"71"} << "71"
                                        << "71" << true << QString();
        QTest::newRow("focus - let go") << 0u << "72" << QStringList{"71"} << "71"
                                        << "71" << true << QString();
        QTest::newRow("zoom already stopped") << 0u << "6D" << QStringList() << "65"
                                              << "6D" << false << QString();
        QTest::newRow("focus already stopped") << 0u << "71" << QStringList() << "65"
                                               << "71" << false << QString();
    }
    void lensButtons() {
        QFETCH(quint32, buttons);
        QFETCH(QString, lastLensCode);
        QFETCH(QStringList, line);
        QFETCH(QString, lastCodeAfter);
        QFETCH(QString, lastLensCodeAfter);
        QFETCH(bool, labelChanges);
        QFETCH(QString, label);
        PollState state;
        state.lastCode = QStringLiteral("65");
        state.lastLensCode = lastLensCode;
        const PollOutcome out =
            joystick::poll(joystick::geometryAt(Rest, Rest), at(0, 0, buttons), state);
        QCOMPARE(onTheLine(out, state), line);
        QCOMPARE(state.lastCode, lastCodeAfter);
        QCOMPARE(state.lastLensCode, lastLensCodeAfter);
        QCOMPARE(out.lensLabel.has_value(), labelChanges);
        if (labelChanges)
            QCOMPARE(*out.lensLabel, label);
    }

    // Runs of polls from a freshly opened window: each poll's line, with
    // its follow-ups, in order.
    void pollSequences_data() {
        QTest::addColumn<Sequence>("readings");
        QTest::addColumn<QList<QStringList>>("lines");
        using L = QList<QStringList>;

        QTest::newRow("centred idle stick")
            << Sequence{at(0, 0), at(0, 0), at(0.5, -1)} << L{{"65", "61"}, {}, {}};
        QTest::newRow("diagonal after a tilt stops the tilt")
            << Sequence{at(0, 5), at(5, 2), at(0, 0), at(0, 0)}
            << L{{"64", "9D"}, {"62", "65", "96"}, {"65", "61"}, {}};
        QTest::newRow("full diagonal stops the pan")
            << Sequence{at(0, 7), at(7, 7), at(0, 0)}
            << L{{"64", "9F"}, {"62", "61", "97"}, {"65", "61"}};
        QTest::newRow("tilt dominant diagonal after a pan stops the pan")
            << Sequence{at(3, 0), at(2, -5), at(2, -5)}
            << L{{"62", "94"}, {"66", "61", "9D"}, {"66", "9D"}};
        QTest::newRow("axes stay started across the centre")
            << Sequence{at(0, 3), at(0, 0), at(3, 2)}
            << L{{"64", "9B"}, {"65", "61"}, {"62", "65", "94"}};
        QTest::newRow("one axis started: no diagonal stop")
            << Sequence{at(3, 2), at(3, 2)} << L{{"62", "94"}, {"62", "94"}};
        QTest::newRow("zoom held then let go")
            << Sequence{at(0, 0, 1), at(0, 0, 1), at(0, 0, 1), at(0, 0, 1),
                        at(0, 0),    at(0, 0),    at(0, 0)}
            << L{{"65", "61"}, {"6C"}, {"65", "61"}, {"6C"}, {"65", "61"}, {"6D"}, {}};
        QTest::newRow("zoom let go after the stop")
            << Sequence{at(0, 0), at(0, 0, 2), at(0, 0, 2), at(0, 0), at(0, 0)}
            << L{{"65", "61"}, {"6E"}, {"65", "61"}, {"6D"}, {}};
        QTest::newRow("focus held then let go")
            << Sequence{at(0, 0), at(0, 0, 4), at(0, 0), at(0, 0), at(0, 0), at(0, 0)}
            << L{{"65", "61"}, {"70"}, {"65", "61"}, {"71"}, {"65", "61"}, {}};
        QTest::newRow("lens stops after a movement")
            << Sequence{at(0, 0), at(0, 0, 1), at(4, 0, 1), at(0, 0), at(0, 0)}
            << L{{"65", "61"}, {"6C"}, {"62", "95"}, {"65", "61"}, {"6D"}};
    }
    void pollSequences() {
        QFETCH(Sequence, readings);
        QFETCH(QList<QStringList>, lines);
        const Geometry g = joystick::geometryAt(Rest, Rest);
        PollState state;
        QList<QStringList> seen;
        for (const JoystickReading &reading : readings) {
            const PollOutcome out = joystick::poll(g, reading, state);
            seen << onTheLine(out, state);
        }
        QCOMPARE(seen, lines);
    }
};

QTEST_APPLESS_MAIN(TestArithmetic)
#include "tst_arithmetic.moc"

// The joystick's poll arithmetic: steps cut from the rest reading, the dead
// zone, speeds, direction choice, lens buttons and the one-axis rule.
#include "TestMain.h"
#include "joystick/StickArithmetic.h"
#include "link/CommandCode.h"

#include <QTest>

using ui::JoystickReading;
using Readings = QList<JoystickReading>;
using Lines = QList<QStringList>;

namespace {

// A rest reading of 7000 counts gives steps of 1000 counts, 7 each side.
constexpr quint32 Rest = 7000;

JoystickReading at(double right, double forward, quint32 buttons = 0) {
    return {static_cast<quint32>(Rest + right * 1000), static_cast<quint32>(Rest - forward * 1000),
            0, buttons};
}

} // namespace

class TestArithmetic : public QObject {
    Q_OBJECT
private slots:
    void geometryFromRest_data() {
        QTest::addColumn<quint32>("rest");
        QTest::addColumn<qint32>("step");
        QTest::addColumn<qint32>("centre");
        QTest::addColumn<qint32>("halfSteps");
        QTest::newRow("SDL centre") << 32768u << 4681 << 32768 << 7;
        QTest::newRow("even steps") << 7000u << 1000 << 7000 << 7;
        QTest::newRow("step rounds up") << 11u << 2 << 11 << 5;
        QTest::newRow("step rounds to 0") << 3u << 0 << 3 << 0;
        QTest::newRow("stick at the end") << 0u << 0 << 0 << 0;
        // The centre does not fit in 32 bits and stays 0.
        QTest::newRow("beyond 32 bits") << 4294967295u << 613566756 << 0 << 14;
    }
    void geometryFromRest() {
        QFETCH(quint32, rest);
        const joystick::Geometry g = joystick::geometryAt(rest, rest);
        QCOMPARE(g.stepX, g.stepY);
        QTEST(g.stepX, "step");
        QTEST(g.centroY, "centre");
        QTEST(g.halfStepsX, "halfSteps");
    }

    // Each poll's codes followed by the 80 ms follow-up it arms.
    void polls_data() {
        QTest::addColumn<quint32>("rest");
        QTest::addColumn<QString>("lastCode");
        QTest::addColumn<Readings>("readings");
        QTest::addColumn<Lines>("lines");
        const QString stopped = QStringLiteral("65");
        const auto row = [&](const char *name, const Readings &r, const Lines &l) {
            QTest::newRow(name) << Rest << stopped << r << l;
        };
        row("1.5 steps right: dead zone", {at(1.5, 0)}, {{}});
        row("1.5 steps left: pans at 3", {at(-1.5, 0)}, {{"60", "93"}});
        row("full right", {at(7, 0)}, {{"62", "97"}});
        row("past the end: clamped", {at(9, -9)}, {{"62", "97"}});
        row("full forward", {at(0, 7)}, {{"64", "9F"}});
        row("1.5 steps back: tilts at 2", {at(0, -1.5)}, {{"66", "9A"}});
        row("back 3 steps", {at(0, -3)}, {{"66", "9B"}});
        row("back 3.5 steps", {at(0, -3.5)}, {{"66", "9C"}});
        row("equal diagonal counts as horizontal", {at(3, 3), at(-3, -3)},
            {{"62", "94"}, {"60", "94"}});
        row("forward dominant", {at(2, 5)}, {{"64", "9D"}});
        row("two buttons together", {at(0, 0, 3), at(0, 0, 5)}, {{}, {}});
        row("button while deflected", {at(3, 0, 1)}, {{"62", "94"}});
        row("diagonal after a tilt stops the tilt, centre stops both",
            {at(0, 5), at(5, 2), at(0, 0), at(0, 0)},
            {{"64", "9D"}, {"62", "65", "96"}, {"65", "61"}, {}});
        row("full diagonal stops the pan", {at(0, 7), at(7, 7), at(0, 0)},
            {{"64", "9F"}, {"62", "61", "97"}, {"65", "61"}});
        row("tilt dominant diagonal after a pan stops the pan", {at(3, 0), at(2, -5)},
            {{"62", "94"}, {"66", "61", "9D"}});
        row("both axes stay started across the centre", {at(0, 3), at(0, 0), at(3, 2)},
            {{"64", "9B"}, {"65", "61"}, {"62", "65", "94"}});
        row("one axis started: no diagonal stop", {at(3, 2)}, {{"62", "94"}});
        QTest::newRow("first centred poll of the run")
            << Rest << QString() << Readings{at(0, 0), at(0.5, -1)} << Lines{{"65", "61"}, {}};
        QTest::newRow("short half travel: speed capped")
            << 3000u << stopped << Readings{{6000, 3000, 0, 0}, {0, 3000, 0, 0}}
            << Lines{{"62", "97"}, {"60", "97"}};
        QTest::newRow("axes without steps read 0")
            << 3u << stopped << Readings{{65535, 0, 0, 0}} << Lines{{}};
        QTest::newRow("rest beyond 32 bits reads 0")
            << 4294967295u << stopped << Readings{{4294967295u, 0, 0, 0}} << Lines{{}};
    }
    void polls() {
        QFETCH(quint32, rest);
        QFETCH(QString, lastCode);
        QFETCH(Readings, readings);
        joystick::PollState state;
        state.lastCode = lastCode;
        const joystick::Geometry g = joystick::geometryAt(rest, rest);
        Lines seen;
        for (const JoystickReading &reading : readings) {
            const joystick::PollOutcome out = joystick::poll(g, reading, state);
            QStringList line;
            for (const devicelink::Code code : out.codes)
                line << devicelink::codeOf(code);
            if (out.speedFollowUp)
                line << devicelink::codeOf(state.speedCode);
            if (out.panStopFollowUp)
                line << QStringLiteral("61");
            seen << line;
        }
        QTEST(seen, "lines");
    }
};

VELMAR_TEST_MAIN(TestArithmetic)
#include "tst_arithmetic.moc"

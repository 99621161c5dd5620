// The joystick window on the main window's fake port: what goes out on the
// line as the stick moves, what the window does to the main window while it
// is open, and how it behaves when there is no joystick.
#include "FakeJoystick.h"
#include "Panel.h"
#include "joystick/JoystickLauncher.h"
#include "joystick/frmCenter.h"
#include "link/CommandCode.h"
#include "link/SerialChannel.h"
#include "panel/PtzPad.h"
#include "ui/Timer.h"

#include <QAction>
#include <QLabel>
#include <QLineEdit>
#include <QScrollBar>

using joystick::frmCenter;

namespace {

struct Rig {
    Panel p;
    FakeJoystick stick;
    joystick::JoystickLauncher launcher{p.window, stick, p.dialogs};

    Rig() { p.window.serialChannel().mnuOpen_Click(); }

    frmCenter *open() {
        p.find<QAction>("JoyStick")->trigger();
        return launcher.window();
    }
    frmCenter *window() const { return launcher.window(); }
    template <typename T> T *control(const char *name) const {
        return window()->findChild<T *>(QLatin1String(name));
    }
    ui::Timer *timer(const char *name) const { return control<ui::Timer>(name); }
    QString text(const char *name) const { return control<QLineEdit>(name)->text(); }

    // The codes written to the line since last asked.
    QStringList line() {
        const QByteArray bytes = p.takeWritten();
        QStringList codes;
        for (int i = 0; i + 1 < bytes.size(); i += 2) {
            if (bytes[i + 1] != '\r')
                return {QStringLiteral("<bad frame>")};
            codes << devicelink::codeOf(static_cast<unsigned char>(bytes[i]));
        }
        return codes;
    }
    // One poll and, 80 ms on, whichever follow-up it armed.
    QStringList poll() {
        window()->Timer1_Timer();
        if (timer("TimerVel")->isEnabled())
            window()->TimerVel_Timer();
        if (timer("TimerStopTilt")->isEnabled())
            window()->TimerStopTilt_Timer();
        return line();
    }
    bool speedBarsEnabled() {
        return p.window.ptz().HScroll1()->isEnabled() && p.window.ptz().HScroll2()->isEnabled();
    }
    bool speedBarsDisabled() {
        return !p.window.ptz().HScroll1()->isEnabled() && !p.window.ptz().HScroll2()->isEnabled();
    }
    bool statusRequestEnabled() { return p.find<ui::Timer>("Timer5")->isEnabled(); }
    void close() {
        window()->close();
        QTRY_VERIFY(!window());
    }
};

} // namespace

class TestJoystickWindow : public QObject {
    Q_OBJECT
private slots:
    void theWindowAsDesigned() {
        Rig r;
        frmCenter *w = r.open();
        QVERIFY(w && w->isVisible());
        QCOMPARE(w->windowTitle(), QStringLiteral("JoyStick"));
        QCOMPARE(r.control<QLabel>("Label1")->text(), QStringLiteral("X"));
        QCOMPARE(r.control<QLabel>("Label2")->text(), QStringLiteral("Y"));
        QVERIFY(r.control<QLineEdit>("Text3"));
        const struct {
            const char *name;
            int interval;
            bool enabled;
        } timers[] = {{"Timer1", 150, true}, {"TimerVel", 80, false}, {"TimerStopTilt", 80, false}};
        for (const auto &t : timers) {
            QVERIFY2(r.timer(t.name), t.name);
            QCOMPARE(r.timer(t.name)->interval(), t.interval);
            QCOMPARE(r.timer(t.name)->isEnabled(), t.enabled);
        }
        // The menu item again only brings the open window forward.
        r.open();
        QCOMPARE(r.window(), w);
        QCOMPARE(r.stick.reads, 1);
    }

    void openingHoldsOffThePanelUntilClosed() {
        Rig r;
        QVERIFY(r.speedBarsEnabled());
        QVERIFY(r.statusRequestEnabled());
        r.open();
        QVERIFY(r.speedBarsDisabled());
        QVERIFY(!r.statusRequestEnabled());
        r.stick.at(7, 0);
        QCOMPARE(r.poll(), QStringList({"62", "97"}));
        // Closing with a follow-up pending sends nothing, now or later.
        r.stick.at(0, 7);
        r.window()->Timer1_Timer();
        QCOMPARE(r.line(), QStringList({"64"}));
        r.close();
        QVERIFY(r.speedBarsEnabled());
        QVERIFY(r.statusRequestEnabled());
        QTest::qWait(250);
        QCOMPARE(r.line(), QStringList());
    }

    void centredStickStopsOncePerRun() {
        Rig r;
        r.open();
        r.window()->Timer1_Timer();
        QCOMPARE(r.line(), QStringList({"65"}));
        QVERIFY(r.timer("TimerStopTilt")->isEnabled());
        r.window()->TimerStopTilt_Timer();
        QCOMPARE(r.line(), QStringList({"61"}));
        QVERIFY(!r.timer("TimerStopTilt")->isEnabled());
        QCOMPARE(r.poll(), QStringList());
        QCOMPARE(r.poll(), QStringList());
        // The last code sent is remembered across closing and reopening.
        r.close();
        r.open();
        QCOMPARE(r.poll(), QStringList());
        r.stick.at(-3, 0);
        QCOMPARE(r.poll(), QStringList({"60", "94"}));
        r.stick.at(0, 0);
        r.close();
        r.open();
        QCOMPARE(r.poll(), QStringList({"65", "61"}));
    }

    void stepsShown_data() {
        QTest::addColumn<double>("right");
        QTest::addColumn<double>("forward");
        QTest::addColumn<QString>("x");
        QTest::addColumn<QString>("y");
        QTest::newRow("centre") << 0.0 << 0.0 << "0"
                                << "0";
        QTest::newRow("dead zone right") << 1.5 << 0.0 << "0"
                                         << "0";
        QTest::newRow("just left") << -1.5 << 0.0 << "-2"
                                   << "0";
        QTest::newRow("right") << 5.0 << 0.0 << "5"
                               << "0";
        QTest::newRow("back") << 0.0 << -3.5 << "0"
                              << "-4";
        QTest::newRow("forward past the end") << 0.0 << 7.0 << "0"
                                              << "7";
    }
    void stepsShown() {
        QFETCH(double, right);
        QFETCH(double, forward);
        QFETCH(QString, x);
        QFETCH(QString, y);
        Rig r;
        r.open();
        r.stick.at(right, forward);
        r.poll();
        QCOMPARE(r.text("Text1"), x);
        QCOMPARE(r.text("Text2"), y);
    }

    void heldLensButton_data() {
        QTest::addColumn<quint32>("button");
        QTest::addColumn<QString>("label");
        QTest::addColumn<QList<QStringList>>("lines");
        using L = QList<QStringList>;
        // Polls: centred, held three polls, then let go for four.
        QTest::newRow("zoom +") << 1u << "ZOOM +" << L{{"65", "61"}, {"6C"}, {"65", "61"}, {"6C"},
                                                       {"65", "61"}, {"6D"}, {},           {}};
        QTest::newRow("zoom -") << 2u << "ZOOM -" << L{{"65", "61"}, {"6E"}, {"65", "61"}, {"6E"},
                                                       {"65", "61"}, {"6D"}, {},           {}};
        QTest::newRow("focus +") << 4u << "FUOCO +" << L{{"65", "61"}, {"70"}, {"65", "61"}, {"70"},
                                                         {"65", "61"}, {"71"}, {"65", "61"}, {}};
        QTest::newRow("focus -") << 8u << "FUOCO -" << L{{"65", "61"}, {"72"}, {"65", "61"}, {"72"},
                                                         {"65", "61"}, {"71"}, {"65", "61"}, {}};
    }
    void heldLensButton() {
        QFETCH(quint32, button);
        QFETCH(QString, label);
        QFETCH(QList<QStringList>, lines);
        Rig r;
        r.open();
        QList<QStringList> seen;
        seen << r.poll();
        for (int i = 0; i < 3; ++i) {
            r.stick.at(0, 0, button);
            seen << r.poll();
            QCOMPARE(r.text("Text3"), label);
        }
        for (int i = 0; i < 4; ++i) {
            r.stick.at(0, 0);
            seen << r.poll();
        }
        QCOMPARE(seen, lines);
        QCOMPARE(r.text("Text3"), QString());
    }

    void noJoystickAtOpening() {
        Rig r;
        r.stick.unplug();
        r.open();
        QVERIFY(r.window()->isVisible());
        QCOMPARE(r.p.dialogs.shown.size(), 1);
        const auto &box = r.p.dialogs.shown.first();
        QCOMPARE(box.text, QStringLiteral("No joyStick detect!"));
        QCOMPARE(box.buttons, ui::Dialogs::Buttons::Ok);
        QVERIFY(box.title.isEmpty()); // the application's title
        QVERIFY(!r.timer("Timer1")->isEnabled());
        QVERIFY(r.speedBarsDisabled());
        QVERIFY(!r.statusRequestEnabled());
        QCOMPARE(r.line(), QStringList());
        // Opening the window again tries again.
        r.close();
        QVERIFY(r.speedBarsEnabled());
        r.stick.at(0, 0);
        r.open();
        QVERIFY(r.timer("Timer1")->isEnabled());
        QCOMPARE(r.poll(), QStringList({"65", "61"}));
        QCOMPARE(r.p.dialogs.shown.size(), 1);
    }

    void joystickLostWhilePolling() {
        Rig r;
        r.open();
        r.stick.at(4, 0);
        QCOMPARE(r.poll(), QStringList({"62", "95"}));
        r.stick.unplug();
        r.window()->Timer1_Timer();
        QCOMPARE(r.p.dialogs.shown.size(), 1);
        QCOMPARE(r.p.dialogs.shown.first().text, QStringLiteral("No joyStick detect!"));
        QVERIFY(!r.timer("Timer1")->isEnabled());
        QCOMPARE(r.line(), QStringList());
        // Bringing the open window forward does not restart the polling.
        r.stick.at(0, 0);
        r.open();
        QVERIFY(!r.timer("Timer1")->isEnabled());
        r.close();
        r.open();
        QVERIFY(r.timer("Timer1")->isEnabled());
        QCOMPARE(r.poll(), QStringList({"65", "61"}));
    }

    void pollsOnItsOwnTimers() {
        Rig r;
        r.stick.at(0, 0);
        r.open();
        QTRY_COMPARE(r.p.port.written.size(), 4);
        QCOMPARE(r.line(), QStringList({"65", "61"}));
        r.stick.at(0, -3);
        QTRY_COMPARE(r.p.port.written.size(), 4);
        QCOMPARE(r.line(), QStringList({"66", "9B"}));
    }

    void programEndCloses() {
        Rig r;
        r.open();
        r.stick.at(7, 0);
        r.window()->Timer1_Timer();
        QCOMPARE(r.line(), QStringList({"62"}));
        r.p.window.mnuFileExit_Click();
        QVERIFY(r.p.window.ended());
        QTRY_VERIFY(!r.window());
        // Ended means ended: no status request is started again.
        QVERIFY(!r.statusRequestEnabled());
        QTest::qWait(250);
        QCOMPARE(r.line(), QStringList());
        r.p.find<QAction>("JoyStick")->trigger();
        QVERIFY(!r.window());
    }
};

QTEST_MAIN(TestJoystickWindow)
#include "tst_frmcenter.moc"

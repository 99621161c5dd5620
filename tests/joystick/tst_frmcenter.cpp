// The joystick window on the main window's fake port: what goes out on the
// line, what the window holds off in the main window while open, and how it
// behaves without a joystick.
#include "FakeJoystick.h"
#include "Panel.h"
#include "TestMain.h"
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

using Lines = QList<QStringList>;

namespace {

struct Rig {
    Panel p;
    FakeJoystick stick;
    joystick::JoystickLauncher &launcher = p.window.attachJoystick(stick);

    Rig() { p.window.mnuOpen_Click(); }

    joystick::frmCenter *w() const { return launcher.window(); }
    void open() { p.find<QAction>("JoyStick")->trigger(); }
    void close() {
        w()->close();
        QTRY_VERIFY(!w());
    }
    template <typename T> T *control(const char *name) const {
        return w()->findChild<T *>(QLatin1String(name));
    }
    bool polling() const { return control<ui::Timer>("Timer1")->isEnabled(); }
    // The codes written to the line since last asked.
    QStringList line() {
        const QByteArray bytes = p.takeWritten();
        QStringList codes;
        for (int i = 0; i + 1 < bytes.size(); i += 2)
            codes << (bytes[i + 1] == '\r' ? devicelink::codeOf(quint8(bytes[i])) : "bad frame");
        return codes;
    }
    // One poll and, 80 ms on, whichever follow-up it armed.
    QStringList poll() {
        w()->Timer1_Timer();
        if (control<ui::Timer>("TimerVel")->isEnabled())
            w()->TimerVel_Timer();
        if (control<ui::Timer>("TimerStopTilt")->isEnabled())
            w()->TimerStopTilt_Timer();
        return line();
    }
    // The speed bars and the status request after a movement, all enabled?
    QList<bool> panelFree() {
        return {p.window.ptz().HScroll1()->isEnabled(), p.window.ptz().HScroll2()->isEnabled(),
                p.find<ui::Timer>("Timer5")->isEnabled()};
    }
};

const QList<bool> Free{true, true, true};
const QList<bool> HeldOff{false, false, false};

} // namespace

class TestJoystickWindow : public QObject {
    Q_OBJECT
private slots:
    void openPollCloseReopen() {
        Rig r;
        r.open();
        QVERIFY(r.w()->isVisible());
        QCOMPARE(r.w()->windowTitle(), QStringLiteral("JoyStick"));
        QCOMPARE(r.control<QLabel>("Label1")->text() + r.control<QLabel>("Label2")->text(), "XY");
        QCOMPARE(r.control<ui::Timer>("Timer1")->interval(), 150);
        QCOMPARE(r.panelFree(), HeldOff);
        // The first centred poll of the run stops the tilt, then the pan.
        r.w()->Timer1_Timer();
        QCOMPARE(r.line(), QStringList{"65"});
        r.w()->TimerStopTilt_Timer();
        QCOMPARE(r.line(), QStringList{"61"});
        QCOMPARE(r.poll(), QStringList());
        // The menu item again only brings the window forward.
        const int reads = r.stick.reads;
        r.open();
        QCOMPARE(r.stick.reads, reads);
        r.stick.at(-1.5, -3.5);
        QCOMPARE(r.poll(), QStringList({"66", "9C"}));
        QCOMPARE(r.control<QLineEdit>("Text1")->text(), QStringLiteral("-2"));
        QCOMPARE(r.control<QLineEdit>("Text2")->text(), QStringLiteral("-4"));
        // Closing with a follow-up pending sends nothing, now or later.
        r.stick.at(0, 0);
        r.w()->Timer1_Timer();
        QCOMPARE(r.line(), QStringList{"65"});
        r.close();
        QCOMPARE(r.panelFree(), Free);
        QTest::qWait(250);
        QCOMPARE(r.line(), QStringList());
        // The last code sent outlives the window.
        r.open();
        QCOMPARE(r.poll(), QStringList());
    }

    void heldLensButton_data() {
        QTest::addColumn<quint32>("button");
        QTest::addColumn<QString>("label");
        QTest::addColumn<Lines>("lines");
        // Polls: centred, held three polls, then let go for four.
        const QStringList stop{"65", "61"};
        QTest::newRow("zoom +") << 1u << "ZOOM +"
                                << Lines{stop, {"6C"}, stop, {"6C"}, stop, {"6D"}, {}, {}};
        QTest::newRow("zoom -") << 2u << "ZOOM -"
                                << Lines{stop, {"6E"}, stop, {"6E"}, stop, {"6D"}, {}, {}};
        QTest::newRow("focus +") << 4u << "FUOCO +"
                                 << Lines{stop, {"70"}, stop, {"70"}, stop, {"71"}, stop, {}};
        QTest::newRow("focus -") << 8u << "FUOCO -"
                                 << Lines{stop, {"72"}, stop, {"72"}, stop, {"71"}, stop, {}};
    }
    void heldLensButton() {
        QFETCH(quint32, button);
        QFETCH(QString, label);
        Rig r;
        r.open();
        Lines seen{r.poll()};
        for (int i = 0; i < 7; ++i) {
            r.stick.at(0, 0, i < 3 ? button : 0);
            seen << r.poll();
            if (i < 3)
                QCOMPARE(r.control<QLineEdit>("Text3")->text(), label);
        }
        QTEST(seen, "lines");
        QCOMPARE(r.control<QLineEdit>("Text3")->text(), QString());
    }

    void noJoystick_data() {
        QTest::addColumn<bool>("atOpening");
        QTest::newRow("at opening") << true;
        QTest::newRow("at a poll") << false;
    }
    void noJoystick() {
        QFETCH(bool, atOpening);
        Rig r;
        if (atOpening)
            r.stick.unplug();
        r.open();
        if (!atOpening) {
            r.poll();
            r.stick.unplug();
            r.w()->Timer1_Timer();
        }
        QCOMPARE(r.p.dialogs.shown.size(), 1);
        const auto &box = r.p.dialogs.shown.first();
        QCOMPARE(box.text, QStringLiteral("No joyStick detect!"));
        QCOMPARE(box.buttons, ui::Dialogs::Buttons::Ok);
        QVERIFY(box.title.isEmpty()); // the application's title
        QVERIFY(r.w()->isVisible());
        QVERIFY(!r.polling());
        QCOMPARE(r.panelFree(), HeldOff);
        QCOMPARE(r.line(), QStringList());
        // Bringing the window forward does not retry; opening it again does.
        r.stick.at(0, 0);
        r.open();
        QVERIFY(!r.polling());
        r.close();
        r.open();
        QVERIFY(r.polling());
        r.stick.at(4, 0);
        QCOMPARE(r.poll(), QStringList({"62", "95"}));
        QCOMPARE(r.p.dialogs.shown.size(), 1);
    }

    void pollsOnItsOwnTimers() {
        Rig r;
        r.open();
        QTRY_COMPARE(r.p.port.written.size(), 4);
        QCOMPARE(r.line(), QStringList({"65", "61"}));
        r.stick.at(0, -3);
        QTRY_COMPARE(r.p.port.written.size(), 4);
        QCOMPARE(r.line(), QStringList({"66", "9B"}));
    }

    void programEndTakesTheWindow() {
        Rig r;
        r.open();
        r.stick.at(7, 0);
        r.w()->Timer1_Timer();
        QCOMPARE(r.line(), QStringList{"62"});
        r.p.window.mnuFileExit_Click();
        // The camera the stick drives stops before the program ends.
        QCOMPARE(r.line(), QStringList({"65", "61"}));
        QTRY_VERIFY(!r.w());
        // The status request stays stopped and nothing more goes out.
        QVERIFY(!r.p.find<ui::Timer>("Timer5")->isEnabled());
        QTest::qWait(250);
        QCOMPARE(r.line(), QStringList());
        r.open();
        QVERIFY(!r.w());
    }
};

VELMAR_TEST_MAIN(TestJoystickWindow)
#include "tst_frmcenter.moc"

// Routing from the keyboard on the real main window, keys delivered as the
// window system delivers them: a typed number then M or C, a held arrow,
// F6 between the panel and the terminal box, and the terminal box keeping
// its keys for the port.
#include "Panel.h"
#include "TestMain.h"
#include "app/TerminalBox.h"
#include "app/Windows.h"
#include "app/frmControlRoom.h"
#include "app/frmKeys.h"
#include "app/frmTraffic.h"
#include "link/Operations.h"
#include "link/Session.h"
#include "ui/ColourButton.h"
#include "ui/Timer.h"

#include <QApplication>
#include <QKeyEvent>
#include <QLabel>
#include <QSignalSpy>
#include <QStatusBar>
#include <QTableWidget>
#include <QTreeWidget>

namespace {

// The window shown and active, its port open, the start-up polls stopped.
struct KeyPanel : Panel {
    QList<devicelink::Frame> sent;

    KeyPanel() {
        window.Form_Load();
        timer("Timer3")->setEnabled(false);
        timer("Timer5")->setEnabled(false);
        QObject::connect(&window.session(), &devicelink::Session::frameSent, &window,
                         [this](const devicelink::Frame &f) { sent.append(f); });
        window.show();
        window.activateWindow();
    }
    bool ready() { return QTest::qWaitForWindowActive(&window); }
    ui::Timer *timer(const char *name) { return find<ui::Timer>(QLatin1String(name)); }
    // One key pressed and let go, through the window system.
    void type(Qt::Key key, Qt::KeyboardModifiers mods = Qt::NoModifier) {
        QTest::keyClick(window.windowHandle(), key, mods);
    }
    void key(bool press, Qt::Key key, bool autoRepeat = false) {
        QTest::simulateEvent(window.windowHandle(), press, key, Qt::NoModifier, QString(),
                             autoRepeat);
    }
    QString entry() { return window.statusBar()->currentMessage(); }
    // What was written so far, left to be taken.
    QByteArray written() const { return port.written; }
    // A key event at the window system's time ms, unmarked as auto-repeat as
    // an X server may send it.
    void keyAt(bool press, Qt::Key key, quint64 ms) {
        QKeyEvent event(press ? QEvent::KeyPress : QEvent::KeyRelease, key, Qt::NoModifier);
        event.setTimestamp(ms);
        QApplication::sendEvent(QApplication::focusWidget(), &event);
    }
};

} // namespace

class TestKeyboard : public QObject {
    Q_OBJECT
private slots:
    // "2 M 1 6 C" is M2 then C16: the same frames and status request as the
    // clicks, from the keyboard, and no typed byte on the line.
    void typedNumbersRoute() {
        KeyPanel p;
        QVERIFY(p.ready());
        QCOMPARE(QApplication::focusWidget(), p.find("C1"));
        p.type(Qt::Key_2);
        QCOMPARE(p.entry(), QStringLiteral("Number 2: then M, C or P"));
        p.type(Qt::Key_M);
        QCOMPARE(p.takeWritten(), serialFrames({"52"}));
        QVERIFY(p.timer("Timer3")->isEnabled());
        QCOMPARE(p.timer("Timer3")->interval(), 1000);
        p.type(Qt::Key_1);
        p.type(Qt::Key_6);
        QCOMPARE(p.entry(), QStringLiteral("Number 16: then M, C or P"));
        p.type(Qt::Key_C);
        QCOMPARE(p.entry(), QStringLiteral("Camera 16"));
        QCOMPARE(p.takeWritten(), serialFrames({"40"}));
        emit p.timer("Timer3")->tick();
        QCOMPARE(p.takeWritten(), serialFrames({"2E"}));
        QCOMPARE(p.sent.size(), 3);
        for (int i = 0; i < 2; ++i)
            QCOMPARE(p.sent[i].origin.kind, devicelink::Origin::Kind::Keyboard);
        QCOMPARE(p.sent[2].origin.kind, devicelink::Origin::Kind::StatusPoll);

        // Out of range: nothing leaves, and the bar says why.
        p.type(Qt::Key_1);
        p.type(Qt::Key_7);
        p.type(Qt::Key_C);
        QCOMPARE(p.entry(), QStringLiteral("No camera 17: cameras are 1 to 16"));
        p.type(Qt::Key_5);
        p.type(Qt::Key_Slash, Qt::KeypadModifier);
        QCOMPARE(p.entry(), QStringLiteral("No monitor 5: monitors are 1 to 4"));
        p.type(Qt::Key_3);
        p.type(Qt::Key_Escape);
        QCOMPARE(p.entry(), QString());
        p.type(Qt::Key_C);
        QCOMPARE(p.takeWritten(), QByteArray());
        QVERIFY(p.find<app::TerminalBox>("txtTerm")->terminalText().isEmpty());

        // A preset is recalled through its sequence; not while one runs.
        p.type(Qt::Key_5);
        p.type(Qt::Key_P);
        p.type(Qt::Key_7);
        p.type(Qt::Key_P);
        QCOMPARE(p.entry(), QStringLiteral("Preset 7 not recalled: a preset sequence is running"));
        for (int i = 0; i < 3; ++i)
            emit p.timer("TimerSet")->tick();
        QCOMPARE(p.takeWritten(), serialFrames({"5D", "35", "5E"}));
        QCOMPARE(p.sent.last().origin.kind, devicelink::Origin::Kind::Keyboard);
    }

    // Held arrows and keypad +/- run as long as the key is down: its
    // auto-repeat (release and press pairs) sends nothing more. A hold also
    // ends when the keyboard leaves the panel.
    void heldKeysRunUntilLetGo_data() {
        QTest::addColumn<int>("key");
        QTest::addColumn<QStringList>("codes"); // start, stop
        QTest::addColumn<QString>("end");       // "release", "F6", "deactivate"
        QTest::newRow("left") << int(Qt::Key_Left) << QStringList{"60", "61"} << "release";
        QTest::newRow("up") << int(Qt::Key_Up) << QStringList{"64", "65"} << "release";
        QTest::newRow("keypad +") << int(Qt::Key_Plus) << QStringList{"6C", "6D"} << "release";
        QTest::newRow("right, then F6") << int(Qt::Key_Right) << QStringList{"62", "61"} << "F6";
        QTest::newRow("down, then another window")
            << int(Qt::Key_Down) << QStringList{"66", "65"} << "deactivate";
    }
    void heldKeysRunUntilLetGo() {
        QFETCH(int, key);
        QFETCH(QStringList, codes);
        QFETCH(QString, end);
        KeyPanel p;
        QVERIFY(p.ready());
        const auto k = Qt::Key(key);
        p.key(true, k);
        QCOMPARE(p.takeWritten(), serialFrames({codes[0]}));
        const bool direction = k != Qt::Key_Plus;
        QCOMPARE(p.timer("Timer5")->isEnabled(), false);
        for (int i = 0; i < 5; ++i) {
            p.key(false, k, true);
            p.key(true, k, true);
        }
        QCOMPARE(p.takeWritten(), QByteArray());
        QCOMPARE(QApplication::focusWidget(), p.find("C1")); // arrows moved no focus
        QWidget other;
        if (end == "release") {
            // Taken as the key let go when no press follows within 30 ms.
            p.key(false, k);
            QCOMPARE(p.takeWritten(), QByteArray());
            QTRY_COMPARE(p.written(), serialFrames({codes[1]}));
        } else if (end == "F6") {
            p.type(Qt::Key_F6);
            QCOMPARE(QApplication::focusWidget(), p.find("txtTerm"));
        } else {
            other.show();
            other.activateWindow();
            QVERIFY(QTest::qWaitForWindowActive(&other));
        }
        QCOMPARE(p.takeWritten(), serialFrames({codes[1]}));
        QCOMPARE(p.timer("Timer5")->isEnabled(), direction);
        // The key let go later sends nothing more.
        p.key(false, k);
        QCOMPARE(p.takeWritten(), QByteArray());
        QCOMPARE(p.sent.size(), 2);
        QCOMPARE(p.sent[0].origin.kind, devicelink::Origin::Kind::Keyboard);
    }

    // An arrow held for 4 s whose auto-repeat comes unmarked, as release and
    // press pairs 0 to 30 ms apart: one start, one speed code, one stop. A
    // press after a longer gap is a new hold; another key's press takes the
    // release at once.
    void aHeldKeyNeverStutters() {
        KeyPanel p;
        QVERIFY(p.ready());
        quint64 at = 100000;
        p.keyAt(true, Qt::Key_Left, at);
        QCOMPARE(p.takeWritten(), serialFrames({"60"}));
        emit p.timer("TimerPan")->tick();
        const QByteArray speed = p.takeWritten();
        QCOMPARE(speed.size(), 2);
        for (int pair = 0; at < 104000; ++pair) {
            at += 33;
            p.keyAt(false, Qt::Key_Left, at);
            p.keyAt(true, Qt::Key_Left, at + quint64(pair % 31));
        }
        QCOMPARE(p.takeWritten(), QByteArray());
        p.keyAt(false, Qt::Key_Left, at + 40);
        QTRY_COMPARE(p.written(), serialFrames({"61"}));
        QCOMPARE(p.sent.size(), 3);
        p.takeWritten();

        // Let go and pressed again 100 ms later: the hold ends, another begins.
        p.keyAt(true, Qt::Key_Right, at + 1000);
        p.keyAt(false, Qt::Key_Right, at + 1100);
        p.keyAt(true, Qt::Key_Right, at + 1200);
        QCOMPARE(p.takeWritten(), serialFrames({"62", "61", "62"}));
        // Right let go for Left: the stop goes before Left's start.
        p.keyAt(false, Qt::Key_Right, at + 1300);
        p.keyAt(true, Qt::Key_Left, at + 1305);
        QCOMPARE(p.takeWritten(), serialFrames({"61", "60"}));
        p.keyAt(false, Qt::Key_Left, at + 1400);
        QTRY_COMPARE(p.written(), serialFrames({"61"}));
    }

    // The terminal box keeps every key that types a character for the port,
    // Ctrl+T (0x14) included; outside it Ctrl+T opens the traffic window.
    // F6 goes there and back, F1 lists the keys.
    void terminalBoxKeepsItsKeys() {
        KeyPanel p;
        QVERIFY(p.ready());
        p.type(Qt::Key_F6);
        QCOMPARE(QApplication::focusWidget(), p.find("txtTerm"));
        p.type(Qt::Key_2);
        p.type(Qt::Key_M);
        p.type(Qt::Key_T, Qt::ControlModifier);
        QCOMPARE(p.takeWritten(), QByteArray("2m\x14"));
        QVERIFY(!p.window.windows().traffic.get());
        p.type(Qt::Key_F1);
        QVERIFY(p.window.windows().keys.get());
        QVERIFY(p.window.windows().keys.get()->list()->topLevelItemCount() >= 10);
        p.window.windows().keys.close();
        p.window.activateWindow();
        QVERIFY(p.ready());
        QCOMPARE(QApplication::focusWidget(), p.find("txtTerm"));
        p.type(Qt::Key_F6);
        QCOMPARE(QApplication::focusWidget(), p.find("C1"));
        p.type(Qt::Key_T, Qt::ControlModifier);
        QTRY_VERIFY(p.window.windows().traffic.get()); // the button's shortcut clicks it soon
        QCOMPARE(p.takeWritten(), QByteArray());
    }

    // A number then L locks that monitor for the panel, and again unlocks
    // it; a lock of a higher priority holds, and the bar names its holder.
    // The control room (F2) shows who holds what, and its buttons lock too.
    void locksFromTheKeyboardAndTheControlRoom() {
        KeyPanel p;
        QVERIFY(p.ready());
        devicelink::Operations &ops = p.window.session().operations();
        p.type(Qt::Key_3);
        p.type(Qt::Key_L);
        QCOMPARE(ops.monitor(3).lockHolder, "panel");
        QCOMPARE(p.entry(), "Monitor 3 locked");
        p.type(Qt::Key_3);
        p.type(Qt::Key_L);
        QVERIFY(ops.monitor(3).lockHolder.isEmpty());

        const devicelink::Origin alarm{devicelink::Origin::Kind::Alarm, QStringLiteral("9")};
        ops.lockMonitor(2, alarm);
        auto *m2 = p.find<ui::ColourButton>("M2");
        QVERIFY(m2->isNotched());
        QVERIFY(m2->accessibleDescription().contains("locked by alarm 9"));
        p.type(Qt::Key_2);
        p.type(Qt::Key_L);
        QCOMPARE(ops.monitor(2).lockHolder, "alarm 9");
        QCOMPARE(p.entry(), "Monitor 2 is locked by alarm 9");
        QCOMPARE(p.takeWritten(), QByteArray());

        // The bar's button, which F2 presses.
        p.type(Qt::Key_F2);
        QTRY_VERIFY(p.window.windows().controlRoom.get());
        app::frmControlRoom *room = p.window.windows().controlRoom.get();
        QVERIFY(room->isVisible());
        QCOMPARE(room->monitors()->item(1, 2)->text(), "alarm 9");
        QCOMPARE(room->monitors()->item(0, 2)->text(), "free");
        room->monitors()->setCurrentCell(0, 0);
        room->Lock_Click();
        QCOMPARE(room->monitors()->item(0, 2)->text(), "panel");
        ops.startMove(devicelink::Move::Left,
                      {devicelink::Origin::Kind::Web, QStringLiteral("ana")}, 4);
        QCOMPARE(room->cameras()->item(3, 2)->text(), "web ana");
        ops.sourceGone({devicelink::Origin::Kind::Web, QStringLiteral("ana")});
    }
};

VELMAR_TEST_MAIN(TestKeyboard)
#include "tst_keyboard.moc"

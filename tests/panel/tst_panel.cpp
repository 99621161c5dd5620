// The operator panel driven as an operator would: every control reaches the
// switcher's operations, the keys follow a preset sequence, the speed bars
// show the speeds, the status reply colours, and the network channel. The
// operations' own sequences are the session's tests (tests/link).
#include "Fakes.h"
#include "Panel.h"
#include "TestMain.h"
#include "link/Operations.h"
#include "link/Session.h"
#include "panel/AuxPad.h"
#include "panel/PresetPad.h"
#include "panel/PtzPad.h"
#include "panel/SelectionPad.h"
#include "ui/ColourButton.h"
#include "ui/FramePacer.h"
#include "ui/QtDatagramSocket.h"
#include "ui/Timer.h"

#include <QAction>
#include <QCheckBox>
#include <QDialog>
#include <QElapsedTimer>
#include <QLabel>
#include <QLineEdit>
#include <QNetworkDatagram>
#include <QScrollBar>
#include <QUdpSocket>

namespace {
const QColor lit(0, 192, 0);

QString chars(std::initializer_list<int> codes) {
    QString s;
    for (int c : codes)
        s.append(QChar(c));
    return s;
}

// A panel whose port is open and whose start-up polls are out of the way.
struct OpenPanel : Panel {
    OpenPanel() {
        window.Form_Load();
        timer("Timer3")->setEnabled(false);
        timer("Timer5")->setEnabled(false);
    }
    ui::Timer *timer(const char *name) { return find<ui::Timer>(QLatin1String(name)); }
    QList<ui::ColourButton *> routeButtons() {
        QList<ui::ColourButton *> out = window.selection().cameras();
        out += window.selection().monitors();
        return out;
    }
};

// Counts the paint events a widget receives.
struct PaintCounter : QObject {
    explicit PaintCounter(QWidget *widget) { widget->installEventFilter(this); }
    bool eventFilter(QObject *, QEvent *event) override {
        if (event->type() == QEvent::Paint)
            ++count;
        return false;
    }
    int count = 0;
};

QColor faceOnScreen(QWidget *button) {
    const QImage image = button->grab().toImage();
    return image.pixelColor(image.width() / 2, 3);
}
} // namespace

class TestPanel : public QObject {
    Q_OBJECT
private slots:
    void clickCodes_data() {
        QTest::addColumn<QString>("control");
        QTest::addColumn<QStringList>("codes");
        QTest::addColumn<bool>("arms3");
        for (int n = 1; n <= 16; ++n)
            QTest::addRow("C%d", n) << QStringLiteral("C%1").arg(n)
                                    << QStringList{QString::number(0x30 + n, 16).toUpper()} << true;
        for (int m = 1; m <= 4; ++m)
            QTest::addRow("M%d", m) << QStringLiteral("M%1").arg(m)
                                    << QStringList{QStringLiteral("5%1").arg(m)} << true;
        QTest::newRow("AP") << "AP" << QStringList{"BC"} << false;
        QTest::newRow("Aux") << "Aux" << QStringList{"BA"} << false;
        QTest::newRow("Lamps") << "Lamps" << QStringList{"B6"} << false;
        QTest::newRow("Wiper") << "Wiper" << QStringList{"B4"} << false;
        QTest::newRow("seq") << "seq" << QStringList{"8C"} << false;
        QTest::newRow("Tour back to back") << "Tour" << QStringList{"5D", "BC"} << false;
    }
    void clickCodes() {
        QFETCH(QString, control);
        QFETCH(QStringList, codes);
        QFETCH(bool, arms3);
        OpenPanel p;
        p.click(control);
        QCOMPARE(p.takeWritten(), serialFrames(codes));
        QCOMPARE(p.timer("Timer3")->isEnabled(), arms3);
        // A press never colours its own button.
        for (auto *button : p.routeButtons())
            QVERIFY(button->face() != lit);
    }

    void monMenuItemsSelectAndCheck() {
        OpenPanel p;
        const auto items = p.window.selection().monItems();
        p.window.selection().Mon_Click(2);
        QCOMPARE(p.takeWritten(), serialFrames({"52"}));
        QVERIFY(p.timer("Timer3")->isEnabled());
        QCOMPARE(items[1]->isChecked(), true);
        p.window.selection().Mon_Click(3);
        QCOMPARE(p.takeWritten(), serialFrames({"53"}));
        for (int i = 0; i < 4; ++i)
            QCOMPARE(items[i]->isChecked(), i == 2);
        p.click(QStringLiteral("M4"));
        QVERIFY(items[2]->isChecked());
    }

    void holdToRunCodes_data() {
        QTest::addColumn<QString>("control");
        QTest::addColumn<QString>("press");
        QTest::addColumn<QString>("release");
        QTest::addColumn<QString>("speedTimer"); // empty: lens button
        QTest::newRow("leftT") << "leftT"
                               << "60"
                               << "61"
                               << "TimerPan";
        QTest::newRow("right") << "right"
                               << "62"
                               << "61"
                               << "TimerPan";
        QTest::newRow("up") << "up"
                            << "64"
                            << "65"
                            << "TimerTilt";
        QTest::newRow("down") << "down"
                              << "66"
                              << "65"
                              << "TimerTilt";
        QTest::newRow("zp") << "zp"
                            << "6C"
                            << "6D"
                            << "";
        QTest::newRow("zm") << "zm"
                            << "6E"
                            << "6D"
                            << "";
        QTest::newRow("fp") << "fp"
                            << "70"
                            << "71"
                            << "";
        QTest::newRow("fm") << "fm"
                            << "72"
                            << "71"
                            << "";
        QTest::newRow("ip") << "ip"
                            << "74"
                            << "75"
                            << "";
        QTest::newRow("im") << "im"
                            << "76"
                            << "75"
                            << "";
    }
    void holdToRunCodes() {
        QFETCH(QString, control);
        QFETCH(QString, press);
        QFETCH(QString, release);
        QFETCH(QString, speedTimer);
        const bool direction = !speedTimer.isEmpty();
        for (Qt::MouseButton button : {Qt::LeftButton, Qt::RightButton, Qt::MiddleButton}) {
            OpenPanel p;
            QWidget *w = p.find(control);
            p.timer("Timer5")->setEnabled(true);
            QTest::mousePress(w, button);
            QCOMPARE(p.takeWritten(), serialFrames({press}));
            QCOMPARE(p.timer("Timer5")->isEnabled(), !direction);
            if (direction)
                QVERIFY(p.find<ui::Timer>(speedTimer)->isEnabled());
            QTest::mouseRelease(w, button);
            QCOMPARE(p.takeWritten(), serialFrames({release}));
            QVERIFY(p.timer("Timer5")->isEnabled());
            // The keyboard does nothing on a hold-to-run button.
            w->setFocus();
            QTest::keyClick(w, Qt::Key_Space);
            QCOMPARE(p.takeWritten(), QByteArray());
        }
    }

    // A hold whose release cannot come ends at once with the stop code (and
    // the status request after a movement armed); the next press starts anew.
    void interruptedHoldStopsTheCamera_data() {
        QTest::addColumn<QString>("interruption");
        QTest::newRow("a modal box opens") << "modal";
        QTest::newRow("the window is deactivated") << "deactivated";
        QTest::newRow("the window is hidden") << "hidden";
    }
    void interruptedHoldStopsTheCamera() {
        QFETCH(QString, interruption);
        OpenPanel p;
        p.window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&p.window));
        QWidget *left = p.find("leftT");
        QTest::mousePress(left, Qt::LeftButton);
        QCOMPARE(p.takeWritten(), serialFrames({"60"}));
        QDialog box(&p.window);
        QWidget other;
        if (interruption == "modal") {
            box.setModal(true);
            box.show();
        } else if (interruption == "deactivated") {
            p.window.activateWindow();
            QVERIFY(QTest::qWaitForWindowActive(&p.window));
            other.show();
            other.activateWindow();
            QVERIFY(QTest::qWaitForWindowActive(&other));
        } else {
            p.window.hide();
        }
        QCOMPARE(p.takeWritten(), serialFrames({"61"}));
        QVERIFY(p.timer("Timer5")->isEnabled());
        box.close();
        QTest::mouseRelease(left, Qt::LeftButton);
        QCOMPARE(p.takeWritten(), QByteArray());
        p.window.show();
        QTest::mousePress(left, Qt::LeftButton);
        QCOMPARE(p.takeWritten(), serialFrames({"60"}));
    }

    // The bars show the speeds the session holds, and set them; the speed
    // goes out as it is at the tick.
    void speedBarsShowTheSpeeds() {
        OpenPanel p;
        auto *bar = p.window.ptz().HScroll2();
        QCOMPARE(bar->minimum(), 152);
        QCOMPARE(bar->maximum(), 159);
        QCOMPARE(bar->value(), 157);
        QCOMPARE(p.window.ptz().HScroll1()->value(), 149);
        QTest::mousePress(p.find("up"), Qt::LeftButton);
        bar->setValue(154); // moving a bar sends nothing
        QCOMPARE(p.takeWritten(), serialFrames({"64"}));
        p.window.session().operations().TimerTilt_Timer();
        QCOMPARE(p.takeWritten(), serialFrames({"9A"}));
        p.window.session().operations().setSpeed(devicelink::Axis::Pan, 3);
        QCOMPARE(p.window.ptz().HScroll1()->value(), 147);
    }

    void presetSequences_data() {
        QTest::addColumn<int>("preset");
        QTest::addColumn<bool>("store");
        QTest::addColumn<QStringList>("codes");
        QTest::newRow("recall 5") << 5 << false << QStringList{"5D", "35", "5E"};
        QTest::newRow("recall 10") << 10 << false << QStringList{"5D", "3A", "5E"};
        QTest::newRow("recall 16") << 16 << false << QStringList{"5D", "40", "5E"};
        QTest::newRow("store 12") << 12 << true << QStringList{"F7", "5D", "3C", "F8", "5E"};
        QTest::newRow("store 1") << 1 << true << QStringList{"F7", "5D", "31", "F8", "5E"};
    }
    void presetSequences() {
        QFETCH(int, preset);
        QFETCH(bool, store);
        QFETCH(QStringList, codes);
        OpenPanel p;
        auto &pad = p.window.presets();
        auto &ops = p.window.session().operations();
        auto *box = p.find<QCheckBox>("store");
        box->setChecked(store);
        const QString name =
            QStringLiteral("%1%2").arg(preset >= 3 && preset <= 8 ? "P" : "p").arg(preset);
        p.click(name);
        QCOMPARE(p.takeWritten(), QByteArray()); // the click only picks the preset
        ui::Timer *timer = p.timer(store ? "TimerStore" : "TimerSet");
        QVERIFY(timer->isEnabled());
        for (int step = 0; step < codes.size(); ++step) {
            for (auto *b : pad.buttons())
                QVERIFY2(!b->isEnabled(), "preset buttons stay disabled while a sequence runs");
            // Clicking a disabled button changes nothing.
            p.click(QStringLiteral("p1"));
            store ? ops.TimerStore_Timer() : ops.TimerSet_Timer();
        }
        QCOMPARE(p.takeWritten(), serialFrames(codes));
        QVERIFY(!timer->isEnabled());
        QCOMPARE(ops.PresetStep, qint16(0));
        QCOMPARE(ops.PresetKey, QString::number(0x30 + preset, 16).toUpper());
        QVERIFY(!box->isChecked());
        for (auto *b : pad.buttons())
            QVERIFY(b->isEnabled());
    }

    // Checking the box mid-recall changes nothing for that recall, and a
    // recall leaves it checked.
    void recallLeavesStoreAlone() {
        OpenPanel p;
        auto &ops = p.window.session().operations();
        p.click(QStringLiteral("P7"));
        p.find<QCheckBox>("store")->setChecked(true);
        for (int i = 0; i < 3; ++i)
            ops.TimerSet_Timer();
        QCOMPARE(p.takeWritten(), serialFrames({"5D", "37", "5E"}));
        QVERIFY(p.find<QCheckBox>("store")->isChecked());
    }

    void statusReplyColours_data() {
        QTest::addColumn<QString>("reply");
        QTest::addColumn<int>("camera"); // 0: camera buttons untouched
        QTest::addColumn<int>("monitor");
        QTest::newRow("empty") << QString() << 0 << 1;
        QTest::newRow("one char") << chars({7}) << 0 << 1;
        QTest::newRow("two chars") << chars({7, 96}) << 0 << 4;
        QTest::newRow("three, camera 0") << chars({7, 64, 0}) << 0 << 2;
        QTest::newRow("three, camera 3") << chars({7, 32, 32}) << 3 << 3;
        QTest::newRow("camera 16 monitor 2") << chars({7, 64, 0, 1}) << 16 << 2;
        QTest::newRow("camera 1 monitor 3") << chars({7, 32, 128, 9}) << 1 << 3;
        QTest::newRow("multi-bit camera") << chars({7, 0, 3, 0}) << 0 << 1;
        QTest::newRow("bit 7 ignored") << chars({7, 224, 0, 8}) << 13 << 4;
        QTest::newRow("five chars") << chars({7, 192, 4, 0, 1}) << 6 << 2;
    }
    void statusReplyColours() {
        QFETCH(QString, reply);
        QFETCH(int, camera);
        QFETCH(int, monitor);
        OpenPanel p;
        p.window.show();
        const QColor background = p.window.palette().color(QPalette::Window);
        // Light camera 9 first, so "untouched" can be seen.
        p.window.DecodeStatusReply(chars({0, 0, 0, 128}));
        p.window.DecodeStatusReply(reply);
        const auto cameras = p.window.selection().cameras();
        for (int i = 0; i < 16; ++i) {
            const int n = i + 1;
            const QColor expected =
                camera == 0 ? (n == 9 ? lit : background) : (n == camera ? lit : background);
            QCOMPARE(cameras[i]->face(), expected);
            QCOMPARE(faceOnScreen(cameras[i]), expected);
        }
        const auto monitors = p.window.selection().monitors();
        for (int i = 0; i < 4; ++i) {
            QCOMPARE(faceOnScreen(monitors[i]), i + 1 == monitor ? lit : background);
        }
    }

    void unlitButtonsFollowTheWindowBackground() {
        OpenPanel p;
        p.window.show();
        QPalette palette = p.window.palette();
        palette.setColor(QPalette::Window, QColor(10, 20, 30));
        p.window.setPalette(palette);
        p.window.DecodeStatusReply(chars({0, 96, 2}));
        QCOMPARE(faceOnScreen(p.find("C1")), QColor(10, 20, 30));
        QCOMPARE(faceOnScreen(p.find("C7")), lit);
        QCOMPARE(faceOnScreen(p.find("M3")), QColor(10, 20, 30));
        QCOMPARE(faceOnScreen(p.find("M4")), lit);
    }

    void serialRepliesAreDecodedPerReceiveEvent() {
        OpenPanel p;
        p.port.receive(QByteArray("\x01\x40\x00\x01", 4));
        QCOMPARE(p.find<ui::ColourButton>("C16")->face(), lit);
        QCOMPARE(p.find<ui::ColourButton>("M2")->face(), lit);
        // Split over two events: each half is a reply of its own.
        p.port.receive(QByteArray("\x01\x20", 2));
        p.port.receive(QByteArray("\x80\x00", 2));
        QCOMPARE(p.find<ui::ColourButton>("M1")->face(), lit);
        QCOMPARE(p.find<ui::ColourButton>("C16")->face(), lit);
    }

    void repliesInABurstRepaintOnceAFrame() {
        // Every read of a busy line decodes as a reply: the buttons take each
        // colour at once, but repaint at the window's frames, not per read.
        OpenPanel p;
        p.window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&p.window));
        auto *monitor = p.find<ui::ColourButton>("M1");
        QTest::qWait(ui::FramePacer::frameMs * 2);
        PaintCounter paints(monitor);
        QElapsedTimer clock;
        clock.start();
        for (int i = 0; i < 40; ++i) {
            p.port.receive(i % 2 ? QByteArray("\x01\x00", 2) : QByteArray("\x01\x20", 2));
            QCOMPARE(monitor->face(), i % 2 ? lit : p.window.palette().color(QPalette::Window));
            QCoreApplication::processEvents();
        }
        const qint64 frames = clock.elapsed() / ui::FramePacer::frameMs + 1;
        QTest::qWait(ui::FramePacer::frameMs * 2); // the last frame
        const int repaints = paints.count;
        QVERIFY2(repaints >= 1 && repaints <= frames + 1,
                 qPrintable(QStringLiteral("%1 repaints in %2 frames").arg(repaints).arg(frames)));
        QCOMPARE(faceOnScreen(monitor), lit);
    }

    void geometryInTwips_data() {
        QTest::addColumn<QString>("control");
        QTest::addColumn<QRect>("twips");
        QTest::newRow("C1") << "C1" << QRect(1080, 120, 255, 255);
        QTest::newRow("C8") << "C8" << QRect(1080, 1800, 255, 255);
        QTest::newRow("C9") << "C9" << QRect(2880, 120, 255, 255);
        QTest::newRow("T16") << "T16" << QRect(3240, 1800, 1395, 255);
        QTest::newRow("Label1") << "Label1" << QRect(120, 600, 735, 255);
        QTest::newRow("M1") << "M1" << QRect(120, 960, 252, 252);
        QTest::newRow("M4") << "M4" << QRect(600, 1320, 252, 252);
        QTest::newRow("up") << "up" << QRect(7320, 0, 700, 220);
        QTest::newRow("right") << "right" << QRect(7780, 240, 700, 220);
        QTest::newRow("im") << "im" << QRect(5760, 530, 975, 220);
        QTest::newRow("HScroll1") << "HScroll1" << QRect(6960, 1050, 1510, 255);
        QTest::newRow("TiltSpeed") << "TiltSpeed" << QRect(6960, 1420, 1572, 252);
        QTest::newRow("store") << "store" << QRect(4800, 1440, 1455, 220);
        QTest::newRow("p1") << "p1" << QRect(6240, 1470, 375, 220);
        QTest::newRow("p2") << "p2" << QRect(4800, 1680, 375, 220);
        QTest::newRow("P8") << "P8" << QRect(5160, 1890, 375, 220);
        QTest::newRow("p16") << "p16" << QRect(6240, 2100, 375, 220);
        QTest::newRow("Aux") << "Aux" << QRect(4800, 1140, 975, 220);
        QTest::newRow("Tour") << "Tour" << QRect(6960, 2040, 1500, 240);
    }
    void geometryInTwips() {
        QFETCH(QString, control);
        QFETCH(QRect, twips);
        Panel p;
        QWidget *w = p.find(control);
        const qreal dpi = w->logicalDpiX();
        const auto px = [dpi](int t) { return qRound(t * dpi / 1440.0); };
        QCOMPARE(w->geometry(),
                 QRect(px(twips.x()), px(twips.y()), px(twips.width()), px(twips.height())));
        if (qFuzzyCompare(dpi, 96.0) && control == "C1")
            QCOMPARE(w->pos(), QPoint(72, 8));
    }

    void captions() {
        Panel p;
        const QMap<QString, QString> captions{{"C10", "10"},
                                              {"T3", "CAMERA 3"},
                                              {"Label1", "MONITOR"},
                                              {"leftT", "Left"},
                                              {"zp", "zoom +"},
                                              {"fm", "focus -"},
                                              {"ip", "iris +"},
                                              {"PanSpeed", "Pan Speed"},
                                              {"store", "Store Preset"},
                                              {"P3", "3"},
                                              {"p16", "16"},
                                              {"AP", "A/P"},
                                              {"seq", "Seq"},
                                              {"Tour", "Tour"}};
        for (auto it = captions.begin(); it != captions.end(); ++it) {
            QWidget *w = p.find(it.key());
            const QString text = w->property("text").toString();
            QCOMPARE(text, it.value());
        }
    }
};

VELMAR_TEST_MAIN(TestPanel)
#include "tst_panel.moc"

// The panel against the switcher simulator: the real main window with the
// real serial port (a pseudo-terminal the simulator offers) and the real UDP
// socket on 127.0.0.1, routing cameras, running presets and the other keys,
// and living through the switcher going away.
#include "Fakes.h"
#include "SimProcess.h"
#include "TestMain.h"
#include "app/Controller.h"
#include "app/frmTerminal.h"
#include "link/Clock.h"
#include "link/CommandSink.h"
#include "link/Session.h"
#include "ui/ColourButton.h"
#include "ui/QtDatagramSocket.h"
#include "ui/QtSerialPort.h"
#include "ui/SettingsStore.h"

#include <QAction>
#include <QCheckBox>
#include <QLineEdit>
#include <QTemporaryDir>
#include <QTest>

namespace {
const QColor lit(0, 192, 0);

enum Channel { Serial, Network };

// The switcher and the panel wired to it. The storage folder is a
// temporary one, never the user's.
struct Rig {
    QTemporaryDir dir;
    SimProcess sim{{QStringLiteral("--serial"), dir.filePath(QStringLiteral("tty")),
                    QStringLiteral("--udp"), QStringLiteral("127.0.0.1:0")}};
    ui::IniSettingsStore settings{dir.filePath(QStringLiteral("settings.ini"))};
    ui::QtSerialPort port{settings};
    ui::QtDatagramSocket socket;
    fakes::Dialogs dialogs;
    std::unique_ptr<app::Controller> controller;
    std::unique_ptr<frmTerminal> window;

    explicit Rig(Channel channel) {
        if (!sim.said("listening on") || !sim.said("line ready"))
            return;
        settings.setValue(QStringLiteral("Ports"), QStringLiteral("Com1"),
                          dir.filePath(QStringLiteral("tty")));
        socket.setRemotePort(sim.udpPort());
        controller = std::make_unique<app::Controller>(
            app::Controller::Platform{port, socket, settings, devicelink::Clock::system()});

        window = std::make_unique<frmTerminal>(*controller, dialogs);
        window->Form_Load();
        if (channel == Network)
            find<QLineEdit>("IPAD")->setText(QStringLiteral("127.0.0.1"));
    }
    bool ready() const { return window && port.PortOpen(); }

    template <typename T = QWidget> T *find(const QString &name) {
        return window->findChild<T *>(name);
    }
    void click(const QString &name) {
        if (auto *button = find<QAbstractButton>(name))
            button->click();
        else
            QFAIL(qPrintable(QStringLiteral("no button ") + name));
    }
    void hold(const QString &name) {
        QWidget *button = find(name);
        QVERIFY2(button, qPrintable(name));
        QTest::mousePress(button, Qt::LeftButton);
        QTest::mouseRelease(button, Qt::LeftButton);
    }
    // Asks for the status now instead of waiting out Timer3's second.
    void pollStatus() { window->session().Timer3_Timer(); }
    QStringList litButtons() {
        QStringList out;
        for (auto *b : window->findChildren<ui::ColourButton *>()) {
            if (b->face() == lit)
                out << b->objectName();
        }
        out.sort();
        return out;
    }
};
} // namespace

class TestSwitcherE2E : public QObject {
    Q_OBJECT
private slots:
    void initTestCase() {
        // Whatever the window reads or writes in its storage folder stays here.
        QVERIFY(m_config.isValid());
        qputenv("XDG_CONFIG_HOME", QFile::encodeName(m_config.path()));
    }

    void routingLightsTheReportedButtons_data() {
        QTest::addColumn<int>("channel");
        QTest::addColumn<int>("monitor");
        QTest::addColumn<int>("camera");
        for (const int channel : {Serial, Network}) {
            const char *name = channel == Serial ? "serial" : "udp";
            QTest::addRow("%s: camera 5 to monitor 2", name) << channel << 2 << 5;
            QTest::addRow("%s: camera 16 to monitor 4", name) << channel << 4 << 16;
            QTest::addRow("%s: camera 9 to monitor 1", name) << channel << 1 << 9;
            QTest::addRow("%s: camera 1 to monitor 3", name) << channel << 3 << 1;
        }
    }
    void routingLightsTheReportedButtons() {
        QFETCH(int, channel);
        QFETCH(int, monitor);
        QFETCH(int, camera);
        Rig rig{Channel(channel)};
        QVERIFY(rig.ready());
        rig.click(QStringLiteral("M%1").arg(monitor));
        rig.click(QStringLiteral("C%1").arg(camera));
        rig.pollStatus();
        const QStringList expected{QStringLiteral("C%1").arg(camera),
                                   QStringLiteral("M%1").arg(monitor)};
        QTRY_COMPARE(rig.litButtons(), expected);
        QVERIFY(rig.sim.out.contains(
            QStringLiteral("monitor %1 <- camera %2").arg(monitor).arg(camera).toLatin1()));
        if (channel == Network)
            QVERIFY(rig.sim.said("reply acknowledged"));
        QVERIFY(rig.dialogs.shown.isEmpty());
    }

    void panelKeysReachTheSwitcher_data() {
        QTest::addColumn<int>("channel");
        QTest::addColumn<QString>("control");
        QTest::addColumn<bool>("hold");
        QTest::addColumn<bool>("store");
        QTest::addColumn<QString>("line");
        for (const int channel : {Serial, Network}) {
            const char *name = channel == Serial ? "serial" : "udp";
            QTest::addRow("%s: recall preset 5", name)
                << channel << "P5" << false << false << "camera 5: preset 5 recalled";
            QTest::addRow("%s: store preset 12", name)
                << channel << "p12" << false << true << "camera 5: preset 12 stored";
            QTest::addRow("%s: pan left", name)
                << channel << "leftT" << true << false << "camera 5: pan left, speed 5";
        }
        QTest::newRow("serial: recall preset 16")
            << int(Serial) << "p16" << false << false << "camera 5: preset 16 recalled";
        QTest::newRow("serial: tilt stop")
            << int(Serial) << "down" << true << false << "camera 5: tilt stop";
        QTest::newRow("serial: zoom") << int(Serial) << "zm" << true << false << "camera 5: zoom -";
        QTest::newRow("serial: tour")
            << int(Serial) << "Tour" << false << false << "camera 5: tour";
        QTest::newRow("udp: lamps")
            << int(Network) << "Lamps" << false << false << "camera 5: lamps";
        QTest::newRow("udp: lamps released")
            << int(Network) << "Lamps" << false << false << "camera 5: auxiliary function released";
    }
    void panelKeysReachTheSwitcher() {
        QFETCH(int, channel);
        QFETCH(QString, control);
        QFETCH(bool, hold);
        QFETCH(bool, store);
        QFETCH(QString, line);
        Rig rig{Channel(channel)};
        QVERIFY(rig.ready());
        rig.click(QStringLiteral("M2"));
        rig.click(QStringLiteral("C5"));
        QVERIFY(rig.sim.said("monitor 2 <- camera 5"));
        auto *storeBox = rig.find<QCheckBox>(QStringLiteral("store"));
        QVERIFY(storeBox);
        storeBox->setChecked(store);
        if (hold)
            rig.hold(control);
        else
            rig.click(control);
        QVERIFY2(rig.sim.said(line.toLatin1().constData()), rig.sim.out.constData());
        QVERIFY2(!rig.sim.out.contains("ignored"), rig.sim.out.constData());
        // A store leaves the check box clear, and the preset keys usable again.
        QTRY_VERIFY(!storeBox->isChecked());
        QTRY_VERIFY(rig.find<QAbstractButton>(QStringLiteral("p1"))->isEnabled());
    }

    void closingThePanelSignsOff() {
        Rig rig{Network};
        QVERIFY(rig.ready());
        rig.click(QStringLiteral("C2"));
        rig.pollStatus();
        QVERIFY(rig.sim.said("reply acknowledged"));
        rig.window->mnuFileExit_Click();
        QVERIFY(rig.window->ended());
        QVERIFY(rig.sim.said("signed off"));
        QVERIFY(!rig.port.PortOpen());
    }

    void theSwitcherGoingAwayIsSurvived_data() {
        QTest::addColumn<int>("channel");
        QTest::newRow("serial") << int(Serial);
        QTest::newRow("udp") << int(Network);
    }
    void theSwitcherGoingAwayIsSurvived() {
        QFETCH(int, channel);
        Rig rig{Channel(channel)};
        QVERIFY(rig.ready());
        rig.click(QStringLiteral("C7"));
        rig.pollStatus();
        QTRY_COMPARE(rig.litButtons(), (QStringList{"C7", "M1"}));

        rig.sim.process.kill();
        QVERIFY(rig.sim.ended());
        // The switcher's line is gone on either channel: the port closes, and
        // says so once; datagrams to the dead gateway fail silently.
        QTRY_VERIFY(!rig.port.PortOpen());
        QVERIFY(!rig.find<QAction>(QStringLiteral("mnuOpen"))->isChecked());
        // The panel keeps working: keys, polls and the hand-typed code.
        for (int i = 0; i < 3; ++i) {
            rig.click(QStringLiteral("C3"));
            rig.click(QStringLiteral("M4"));
            rig.pollStatus();
            rig.window->session().Invio(QStringLiteral("2E"), {});
            QTest::qWait(50);
        }
        QCOMPARE(rig.dialogs.shown.size(), 0);
        QCOMPARE(rig.litButtons(), (QStringList{"C7", "M1"}));
        QVERIFY(!rig.window->ended());
    }

private:
    QTemporaryDir m_config;
};

VELMAR_TEST_MAIN(TestSwitcherE2E)
#include "tst_switcher_e2e.moc"

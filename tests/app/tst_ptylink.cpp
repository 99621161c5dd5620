// The main window with the real serial and UDP adapters: bytes through a
// pseudo-terminal mapped in settings.ini, datagrams on 127.0.0.1.
#include "Fakes.h"
#include "Pty.h"
#include "TestMain.h"
#include "app/Controller.h"
#include "app/LinkStatusBar.h"
#include "app/frmTerminal.h"
#include "events/EventQuery.h"
#include "events/EventStore.h"
#include "link/Clock.h"
#include "link/CommandSink.h"
#include "link/Session.h"
#include "ui/ColourButton.h"
#include "ui/QtDatagramSocket.h"
#include "ui/QtSerialPort.h"
#include "ui/SettingsStore.h"

#include <QAction>
#include <QLabel>
#include <QLineEdit>
#include <QNetworkDatagram>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>
#include <QUdpSocket>

namespace {
const QColor lit(0, 192, 0);
}

class TestPtyLink : public QObject {
    Q_OBJECT

    struct Rig {
        Pty pty;
        QTemporaryDir dir;
        ui::IniSettingsStore settings{dir.filePath("settings.ini")};
        ui::QtSerialPort port{settings};
        ui::QtDatagramSocket socket;
        fakes::Dialogs dialogs;
        std::unique_ptr<app::Controller> controller;
        std::unique_ptr<frmTerminal> window;

        Rig() {
            settings.setValue("Ports", "Com1", pty.slavePath());
            controller = std::make_unique<app::Controller>(
                app::Controller::Platform{port, socket, settings, devicelink::Clock::system()});

            window = std::make_unique<frmTerminal>(*controller, dialogs);
            window->setStorageFolder(dir.path());
            window->Form_Load();
        }
        template <typename T> T *find(const char *name) {
            return window->findChild<T *>(QLatin1String(name));
        }
    };

private slots:
    void commandsReachTheFarEnd_data() {
        QTest::addColumn<QString>("code");
        QTest::addColumn<QByteArray>("bytes");
        QTest::newRow("status request") << "2E" << QByteArray("\x2E\r");
        QTest::newRow("zero") << "0" << QByteArray("\x00\r", 2);
        QTest::newRow("wiper") << "B4" << QByteArray("\xB4\r");
    }
    void commandsReachTheFarEnd() {
        QFETCH(QString, code);
        QFETCH(QByteArray, bytes);
        Rig rig;
        QVERIFY(rig.port.PortOpen());
        rig.window->session().Invio(code, {});
        QCOMPARE(rig.pty.readFar(bytes.size()), bytes);
    }

    void typedCodeGoesOutThroughTheMappedPort() {
        Rig rig;
        QTest::keyClicks(rig.find<QLineEdit>("Text1"), QStringLiteral("31"));
        QTest::mouseClick(rig.find<QPushButton>("Command1"), Qt::LeftButton);
        QCOMPARE(rig.pty.readFar(2), QByteArray("\x31\r"));
    }

    void closedPortWritesNothing() {
        Rig rig;
        rig.find<QAction>("mnuOpen")->trigger();
        QVERIFY(!rig.port.PortOpen());
        rig.window->session().Invio(QStringLiteral("31"), {});
        QCOMPARE(rig.pty.drainFar(100), QByteArray());
    }

    void receivedBytesReachTheDecoder() {
        Rig rig;
        auto *c1 = rig.find<ui::ColourButton>("C1");
        auto *m1 = rig.find<ui::ColourButton>("M1");
        rig.pty.writeFar(QByteArray("\x00\x20\x80", 3));
        // Monitor byte 0x20 names monitor 3, camera byte 0x80 camera 1.
        QTRY_COMPARE(c1->face(), lit);
        QCOMPARE(rig.find<ui::ColourButton>("M3")->face(), lit);
        QVERIFY(m1->face() != lit);
    }

    void farEndGoingAwayClosesThePortOnce() {
        Rig rig;
        auto *mnuOpen = rig.find<QAction>("mnuOpen");
        QVERIFY(mnuOpen->isChecked());
        rig.pty.closeFar();
        QTRY_VERIFY(!mnuOpen->isChecked());
        // A background event: the status bar says it, no box.
        rig.window->linkStatusBar().refresh();
        const QString bar = rig.window->linkStatusBar().shownText();
        QVERIFY2(bar.startsWith("Lost since "), qPrintable(bar));
        QVERIFY(rig.window->linkStatusBar()
                    .findChild<QLabel *>("linkState")
                    ->toolTip()
                    .contains("the device is gone"));
        QTest::qWait(100);
        QCOMPARE(rig.dialogs.shown.size(), 0);
        // The panel goes on working; commands to the closed port are dropped.
        rig.window->session().Invio(QStringLiteral("31"), {});
    }

    // With Italian chosen, the bar says why in Italian; the event log, one
    // language for every row, says it in English.
    void theEventLogIsEnglishWhateverTheLanguage() {
        Rig rig;
        events::EventStore store(rig.dir.filePath("events.sqlite"));
        rig.window->attachEventLog(store);
        rig.window->CaricaLingua(QStringLiteral(VELMAR_LANG_DIR "/Italiano.lng"));
        {
            ui::QtSerialPort other(rig.settings);
            rig.find<QAction>("mnuOpen")->trigger(); // close
            QCOMPARE(other.setPortOpen(true), QString());
            rig.find<QAction>("mnuOpen")->trigger(); // held by another: refused
            QCOMPARE(rig.dialogs.shown.size(), 1);
            QVERIFY2(rig.dialogs.shown[0].text.contains("in uso da un altro programma"),
                     qPrintable(rig.dialogs.shown[0].text));
            rig.window->linkStatusBar().refresh();
            QVERIFY(rig.window->linkStatusBar()
                        .findChild<QLabel *>("linkState")
                        ->toolTip()
                        .contains("in uso da un altro programma"));
        }
        rig.find<QAction>("mnuOpen")->trigger();
        QVERIFY(rig.port.PortOpen());
        rig.pty.closeFar();
        QTRY_VERIFY(!rig.port.PortOpen());
        rig.window->linkStatusBar().refresh();
        QVERIFY(rig.window->linkStatusBar()
                    .findChild<QLabel *>("linkState")
                    ->toolTip()
                    .contains("il dispositivo"));
        const QString device = rig.pty.slavePath();
        const QStringList expected{
            QStringLiteral("cannot open: Com1 (%1): the port is in use by another program "
                           "(test-app, process %2)")
                .arg(device)
                .arg(QCoreApplication::applicationPid()),
            QStringLiteral("port lost: Com1 (%1): the device is gone (unplugged or switched off); "
                           "the port is closed")
                .arg(device)};
        const auto logged = [&] {
            QStringList states;
            events::EventQuery::read(
                store.path(), {0, 4102444800000}, "Com1", [&](const events::Record &r) {
                    if (r.direction == "state" && r.meaning.contains(QLatin1String("Com1 (")))
                        states << r.meaning;
                    return true;
                });
            return states;
        };
        QTRY_COMPARE(logged(), expected);
        rig.window->CaricaLingua(QStringLiteral(VELMAR_LANG_DIR "/English.lng"));
    }

    void aBusyPortShowsItsError() {
        Rig rig;
        ui::QtSerialPort other(rig.settings);
        rig.find<QAction>("mnuOpen")->trigger(); // close
        QCOMPARE(other.setPortOpen(true), QString());
        rig.find<QAction>("mnuOpen")->trigger(); // try to open again
        QCOMPARE(rig.dialogs.shown.size(), 1);
        const QString text = rig.dialogs.shown[0].text;
        QVERIFY(text.contains(rig.pty.slavePath()));
        // The holder is named from the port's lock file: this very test.
        QVERIFY2(text.contains(QStringLiteral("in use by another program (test-app, process %1)")
                                   .arg(QCoreApplication::applicationPid())),
                 qPrintable(text));
        QVERIFY(!rig.find<QAction>("mnuOpen")->isChecked());
    }

    void networkFrameReachesTheGateway() {
        Rig rig;
        QUdpSocket gateway;
        QVERIFY(gateway.bind(QHostAddress::LocalHost, 0));
        rig.socket.setRemotePort(gateway.localPort());
        rig.find<QLineEdit>("IPAD")->setText(QStringLiteral("127.0.0.1"));
        rig.window->session().Invio(QStringLiteral("31"), {});
        QTRY_VERIFY(gateway.hasPendingDatagrams());
        QCOMPARE(gateway.receiveDatagram().data(), QByteArray("\x00\x31\r", 3));
        QCOMPARE(rig.pty.drainFar(50), QByteArray());
    }
};

VELMAR_TEST_MAIN(TestPtyLink)
#include "tst_ptylink.moc"

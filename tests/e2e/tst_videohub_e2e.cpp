// Another control-room system routes through the panel: a Videohub client on
// the loopback, the real panel on the simulator's serial line. The route
// goes out as the keypad's clicks, and the routing the client is told is
// what the switcher then reports.
#include "Fakes.h"
#include "SimProcess.h"
#include "TestMain.h"
#include "app/Controller.h"
#include "app/frmTerminal.h"
#include "link/Clock.h"
#include "link/RoutingModel.h"
#include "link/Session.h"
#include "remote/VideohubServer.h"
#include "ui/QtDatagramSocket.h"
#include "ui/QtSerialPort.h"
#include "ui/SettingsStore.h"

#include <QTcpSocket>
#include <QTemporaryDir>
#include <QTest>

class TestVideohubE2E : public QObject {
    Q_OBJECT
private slots:
    void aClientRoutesTheSwitcher() {
        QTemporaryDir dir;
        SimProcess sim{{QStringLiteral("--serial"), dir.filePath(QStringLiteral("tty"))}};
        QVERIFY(sim.said("line ready"));
        ui::IniSettingsStore settings{dir.filePath(QStringLiteral("settings.ini"))};
        settings.setValue(QStringLiteral("Ports"), QStringLiteral("Com1"),
                          dir.filePath(QStringLiteral("tty")));
        settings.setValue(QStringLiteral("Videohub"), QStringLiteral("Enabled"),
                          QStringLiteral("true"));
        settings.setValue(QStringLiteral("Videohub"), QStringLiteral("Port"), QStringLiteral("0"));
        ui::QtSerialPort port{settings};
        ui::QtDatagramSocket socket;
        fakes::Dialogs dialogs;
        app::Controller controller{{port, socket, settings, devicelink::Clock::system()}};
        frmTerminal window(controller, dialogs);
        window.setStorageFolder(dir.path());
        window.Form_Load();
        QVERIFY(port.PortOpen());
        QCOMPARE(window.videohub().state(), remote::VideohubServer::State::Listening);

        QTcpSocket client;
        client.connectToHost(QHostAddress::LocalHost, window.videohub().port());
        QByteArray heard;
        const auto hear = [&](const QByteArray &text) {
            return SimProcess::waitUntil(
                [&] {
                    heard += client.readAll();
                    return heard.contains(text);
                },
                4000);
        };
        QVERIFY(hear("END PRELUDE:\n\n"));
        // Nothing is reported before the switcher said it.
        QVERIFY(heard.contains("VIDEO OUTPUT ROUTING:\n\n"));
        heard.clear();
        client.write("VIDEO OUTPUT ROUTING:\n1 4\n\n");
        QVERIFY(hear("ACK\n\n"));
        QVERIFY(sim.said("monitor 2 <- camera 5"));
        // A second later the status request; the switcher's reply is what
        // the client is told.
        QVERIFY(hear("VIDEO OUTPUT ROUTING:\n1 4\n\n"));
        QCOMPARE(window.session().routing().entry(2).camera, 5);
    }
};

VELMAR_TEST_MAIN(TestVideohubE2E)
#include "tst_videohub_e2e.moc"

// Another control-room system routes through the panel: a Videohub client on
// the loopback, the real panel on the simulator's serial line. The route
// goes out as the keypad's clicks, and the routing the client is told is
// what the switcher then reports.
#include "Fakes.h"
#include "SimProcess.h"
#include "TestMain.h"
#include "app/Controller.h"
#include "app/frmTerminal.h"
#include "events/EventStore.h"
#include "events/SessionLog.h"
#include "link/Clock.h"
#include "link/Operations.h"
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

    // A client locks monitor 2: another client's route to it gets NAK and
    // nothing reaches the line; the panel's (higher) goes out and the event
    // log records the override; the lock ends with its client's connection.
    void aLockHoldsAgainstAnotherClient() {
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
        events::EventStore store(dir.filePath(QStringLiteral("events.sqlite")));
        controller.recordIn(store);
        QStringList recorded;
        QObject::connect(controller.sessionLog(), &events::SessionLog::noted,
                         [&](const events::Event &e) { recorded << e.origin + ": " + e.meaning; });
        frmTerminal window(controller, dialogs);
        window.setStorageFolder(dir.path());
        window.Form_Load();
        QVERIFY(port.PortOpen());

        struct Client {
            QTcpSocket socket;
            QByteArray heard;
            bool hear(const QByteArray &text) {
                return SimProcess::waitUntil(
                    [&] {
                        heard += socket.readAll();
                        return heard.contains(text);
                    },
                    4000);
            }
        } first, second;
        for (Client *c : {&first, &second}) {
            c->socket.connectToHost(QHostAddress::LocalHost, window.videohub().port());
            QVERIFY(c->hear("END PRELUDE:\n\n"));
            c->heard.clear();
        }
        first.socket.write("VIDEO OUTPUT LOCKS:\n1 O\n\n");
        QVERIFY(first.hear("ACK\n\n"));
        QVERIFY(second.hear("VIDEO OUTPUT LOCKS:\n1 L\n\n"));
        const QString holder =
            QStringLiteral("videohub 127.0.0.1:%1").arg(first.socket.localPort());
        QCOMPARE(window.session().operations().monitor(2).lockHolder, holder);

        const qsizetype before = sim.out.size();
        second.socket.write("VIDEO OUTPUT ROUTING:\n1 3\n\n");
        QVERIFY(second.hear("NAK\n\n"));
        QVERIFY(!sim.said("camera 4", 300));
        QCOMPARE(sim.out.size(), before);

        window.session().operations().route(2, 6, {devicelink::Origin::Kind::Panel});
        QVERIFY(sim.said("monitor 2 <- camera 6"));
        QVERIFY(recorded.contains(
            QStringLiteral("panel: route to monitor 2 overrides the lock of %1").arg(holder)));

        first.socket.disconnectFromHost();
        QVERIFY(SimProcess::waitUntil(
            [&] { return window.session().operations().monitor(2).lockHolder.isEmpty(); }, 4000));
        QVERIFY(second.hear("VIDEO OUTPUT LOCKS:\n1 U\n\n"));
        QVERIFY(
            recorded.contains(QStringLiteral("%1: monitor 2 unlocked: %1 is gone").arg(holder)));
    }
};

VELMAR_TEST_MAIN(TestVideohubE2E)
#include "tst_videohub_e2e.moc"

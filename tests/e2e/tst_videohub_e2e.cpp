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
#include <memory>

namespace {

// The panel on the simulator's serial line, its Videohub server on a port
// of its own, its session recorded.
struct Rig {
    QTemporaryDir dir;
    SimProcess sim{{QStringLiteral("--serial"), dir.filePath(QStringLiteral("tty"))}};
    ui::IniSettingsStore settings{dir.filePath(QStringLiteral("settings.ini"))};
    std::unique_ptr<ui::QtSerialPort> port;
    ui::QtDatagramSocket socket;
    fakes::Dialogs dialogs;
    std::unique_ptr<app::Controller> controller;
    std::unique_ptr<events::EventStore> store;
    std::unique_ptr<frmTerminal> window;
    QStringList recorded; // "origin: meaning" of every event

    bool start() {
        if (!sim.said("line ready"))
            return false;
        settings.setValue(QStringLiteral("Ports"), QStringLiteral("Com1"),
                          dir.filePath(QStringLiteral("tty")));
        settings.setValue(QStringLiteral("Videohub"), QStringLiteral("Enabled"),
                          QStringLiteral("true"));
        settings.setValue(QStringLiteral("Videohub"), QStringLiteral("Port"), QStringLiteral("0"));
        port = std::make_unique<ui::QtSerialPort>(settings);
        controller = std::make_unique<app::Controller>(
            app::Controller::Platform{*port, socket, settings, devicelink::Clock::system()});
        store = std::make_unique<events::EventStore>(dir.filePath(QStringLiteral("events.sqlite")));
        controller->recordIn(*store);
        QObject::connect(
            controller->sessionLog(), &events::SessionLog::noted,
            [this](const events::Event &e) { recorded << e.origin + ": " + e.meaning; });
        window = std::make_unique<frmTerminal>(*controller, dialogs);
        window->setStorageFolder(dir.path());
        window->Form_Load();
        return port->PortOpen() &&
               window->videohub().state() == remote::VideohubServer::State::Listening;
    }
    ~Rig() {
        window.reset();
        controller.reset();
    }
};

// A Videohub client: what the server said to it, waited for.
struct Client {
    QTcpSocket socket;
    QByteArray heard;

    bool connectTo(quint16 port) {
        socket.connectToHost(QHostAddress::LocalHost, port);
        return hear("END PRELUDE:\n\n");
    }
    bool hear(const QByteArray &text) {
        return SimProcess::waitUntil(
            [&] {
                heard += socket.readAll();
                return heard.contains(text);
            },
            4000);
    }
};

} // namespace

class TestVideohubE2E : public QObject {
    Q_OBJECT
private slots:
    void aClientRoutesTheSwitcher() {
        Rig rig;
        QVERIFY(rig.start());
        Client client;
        QVERIFY(client.connectTo(rig.window->videohub().port()));
        // Nothing is reported before the switcher said it.
        QVERIFY(client.heard.contains("VIDEO OUTPUT ROUTING:\n\n"));
        client.heard.clear();
        client.socket.write("VIDEO OUTPUT ROUTING:\n1 4\n\n");
        QVERIFY(client.hear("ACK\n\n"));
        QVERIFY(rig.sim.said("monitor 2 <- camera 5"));
        // A second later the status request; the switcher's reply is what
        // the client is told.
        QVERIFY(client.hear("VIDEO OUTPUT ROUTING:\n1 4\n\n"));
        QCOMPARE(rig.window->session().routing().entry(2).camera, 5);
    }

    // A client locks monitor 2: another client's route to it gets NAK and
    // nothing reaches the line; the panel's (higher) goes out and the event
    // log records the override; the lock ends with its client's connection.
    void aLockHoldsAgainstAnotherClient() {
        Rig rig;
        QVERIFY(rig.start());
        Client first;
        Client second;
        for (Client *c : {&first, &second}) {
            QVERIFY(c->connectTo(rig.window->videohub().port()));
            c->heard.clear();
        }
        first.socket.write("VIDEO OUTPUT LOCKS:\n1 O\n\n");
        QVERIFY(first.hear("ACK\n\n"));
        QVERIFY(second.hear("VIDEO OUTPUT LOCKS:\n1 L\n\n"));
        const QString holder =
            QStringLiteral("videohub 127.0.0.1:%1").arg(first.socket.localPort());
        devicelink::Operations &ops = rig.window->session().operations();
        QCOMPARE(ops.monitor(2).lockHolder, holder);

        const qsizetype before = rig.sim.out.size();
        second.socket.write("VIDEO OUTPUT ROUTING:\n1 3\n\n");
        QVERIFY(second.hear("NAK\n\n"));
        QVERIFY(!rig.sim.said("camera 4", 300));
        QCOMPARE(rig.sim.out.size(), before);

        ops.route(2, 6, {devicelink::Origin::Kind::Panel});
        QVERIFY(rig.sim.said("monitor 2 <- camera 6"));
        QVERIFY(rig.recorded.contains(
            QStringLiteral("panel: route to monitor 2 overrides the lock of %1").arg(holder)));

        first.socket.disconnectFromHost();
        QVERIFY(SimProcess::waitUntil([&] { return ops.monitor(2).lockHolder.isEmpty(); }, 4000));
        QVERIFY(second.hear("VIDEO OUTPUT LOCKS:\n1 U\n\n"));
        QVERIFY(rig.recorded.contains(
            QStringLiteral("%1: monitor 2 unlocked: %1 is gone").arg(holder)));
    }
};

VELMAR_TEST_MAIN(TestVideohubE2E)
#include "tst_videohub_e2e.moc"

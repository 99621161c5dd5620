// Another control-room system routes through the panel: a Videohub client on
// the loopback, the real panel on the simulator's serial line. The route
// goes out as the keypad's clicks, and the routing the client is told is
// what the switcher then reports; what a client names cameras is kept as
// plain text, and the clients cannot crowd the others out.
#include "Fakes.h"
#include "SimProcess.h"
#include "TestMain.h"
#include "app/Controller.h"
#include "app/frmTerminal.h"
#include "config/CameraModel.h"
#include "config/ConfigFile.h"
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

#include <QFile>
#include <QImage>
#include <QLabel>
#include <QTcpSocket>
#include <QTemporaryDir>
#include <QTest>
#include <QToolTip>
#include <memory>
#include <vector>

namespace {

// The real panel on the simulator's line, its Videohub server on a port of
// its own, its session recorded; titles written beforehand, if any, as a
// previous run left them.
struct Panel {
    QTemporaryDir dir;
    std::unique_ptr<SimProcess> sim;
    std::unique_ptr<ui::IniSettingsStore> settings;
    std::unique_ptr<ui::QtSerialPort> port;
    ui::QtDatagramSocket socket;
    fakes::Dialogs dialogs;
    std::unique_ptr<events::EventStore> store;
    std::unique_ptr<app::Controller> controller;
    std::unique_ptr<frmTerminal> window;
    QStringList recorded; // "origin: meaning" of every event

    ~Panel() {
        window.reset();
        controller.reset();
    }

    bool start() {
        sim = std::make_unique<SimProcess>(
            QStringList{QStringLiteral("--serial"), dir.filePath(QStringLiteral("tty"))});
        if (!sim->said("line ready"))
            return false;
        settings = std::make_unique<ui::IniSettingsStore>(dir.filePath("settings.ini"));
        settings->setValue("Ports", "Com1", dir.filePath("tty"));
        settings->setValue("Videohub", "Enabled", "true");
        settings->setValue("Videohub", "Port", "0");
        return restart();
    }
    // Another run on the same storage folder.
    bool restart() {
        window.reset();
        controller.reset();
        port = std::make_unique<ui::QtSerialPort>(*settings);
        controller = std::make_unique<app::Controller>(
            app::Controller::Platform{*port, socket, *settings, devicelink::Clock::system()},
            ui::StoragePaths(dir.path()));
        store = std::make_unique<events::EventStore>(dir.filePath(QStringLiteral("events.sqlite")));
        controller->recordIn(*store);
        QObject::connect(
            controller->sessionLog(), &events::SessionLog::noted,
            [this](const events::Event &e) { recorded << e.origin + ": " + e.meaning; });
        window = std::make_unique<frmTerminal>(*controller, dialogs);
        window->Form_Load();
        return port->PortOpen() &&
               window->videohub().state() == remote::VideohubServer::State::Listening;
    }
    void writeTitles(const QString &title) {
        config::ConfigFile file = config::ConfigFile::defaults();
        file.left = file.top = QStringLiteral("0");
        for (QString &t : file.titles)
            t = title;
        QFile out(dir.filePath("velmarcontroller.ini"));
        QVERIFY(out.open(QIODevice::WriteOnly));
        out.write(file.bytes());
    }
    QLabel *title(int camera) const {
        return window->findChild<QLabel *>(QStringLiteral("T%1").arg(camera));
    }
};

// A Videohub client; from another loopback address when given (127.0.0.x
// stands for another machine).
struct Client {
    QTcpSocket socket;
    QByteArray heard;

    explicit Client(quint16 port, const QHostAddress &from = {}) {
        if (!from.isNull())
            socket.bind(from);
        socket.connectToHost(QHostAddress::LocalHost, port);
    }
    bool hear(const QByteArray &text, int timeoutMs = 4000) {
        bool found = false;
        SimProcess::waitUntil(
            [&] {
                heard += socket.readAll();
                const qsizetype at = found ? -1 : heard.indexOf(text);
                if (at >= 0) {
                    heard.remove(0, at + text.size());
                    found = true;
                }
                return found;
            },
            timeoutMs);
        return found;
    }
    // The next ACK or NAK, past the status updates before it.
    QByteArray answer() {
        QByteArray found;
        SimProcess::waitUntil(
            [&] {
                heard += socket.readAll();
                for (qsizetype end = heard.indexOf("\n\n"); found.isEmpty() && end >= 0;
                     end = heard.indexOf("\n\n")) {
                    const QByteArray block = heard.left(end);
                    heard.remove(0, end + 2);
                    if (block == "ACK" || block == "NAK")
                        found = block;
                }
                return !found.isEmpty();
            },
            4000);
        return found;
    }
};

// How tall a label of one plain line is in the panel's font.
int lineHeight(const QLabel &like) {
    QLabel plain(QStringLiteral("Xg"));
    plain.setFont(like.font());
    return plain.sizeHint().height();
}

} // namespace

class TestVideohubE2E : public QObject {
    Q_OBJECT
private slots:
    void aClientRoutesTheSwitcher() {
        Panel panel;
        QVERIFY(panel.start());
        Client client(panel.window->videohub().port());
        // Nothing is reported before the switcher said it.
        QVERIFY(client.hear("VIDEO OUTPUT ROUTING:\n\nEND PRELUDE:\n\n"));
        client.socket.write("VIDEO OUTPUT ROUTING:\n1 4\n\n");
        QCOMPARE(client.answer(), QByteArray("ACK"));
        QVERIFY(panel.sim->said("monitor 2 <- camera 5"));
        // A second later the status request; the switcher's reply is what
        // the client is told.
        QVERIFY(client.hear("VIDEO OUTPUT ROUTING:\n1 4\n\n"));
        QCOMPARE(panel.window->session().routing().entry(2).camera, 5);
    }

    // A client locks monitor 2: another client's route to it gets NAK and
    // nothing reaches the line; the panel's (higher) goes out and the event
    // log records the override; the lock ends with its client's connection.
    void aLockHoldsAgainstAnotherClient() {
        Panel panel;
        QVERIFY(panel.start());
        Client first(panel.window->videohub().port());
        Client second(panel.window->videohub().port());
        QVERIFY(first.hear("END PRELUDE:\n\n") && second.hear("END PRELUDE:\n\n"));
        first.socket.write("VIDEO OUTPUT LOCKS:\n1 O\n\n");
        QCOMPARE(first.answer(), QByteArray("ACK"));
        QVERIFY(second.hear("VIDEO OUTPUT LOCKS:\n1 L\n\n"));
        const QString holder =
            QStringLiteral("videohub 127.0.0.1:%1").arg(first.socket.localPort());
        devicelink::Operations &ops = panel.window->session().operations();
        QCOMPARE(ops.monitor(2).lockHolder, holder);

        const qsizetype before = panel.sim->out.size();
        second.socket.write("VIDEO OUTPUT ROUTING:\n1 3\n\n");
        QCOMPARE(second.answer(), QByteArray("NAK"));
        QVERIFY(!panel.sim->said("camera 4", 300));
        QCOMPARE(panel.sim->out.size(), before);

        ops.route(2, 6, {devicelink::Origin::Kind::Panel});
        QVERIFY(panel.sim->said("monitor 2 <- camera 6"));
        QVERIFY(panel.recorded.contains(
            QStringLiteral("panel: route to monitor 2 overrides the lock of %1").arg(holder)));

        first.socket.disconnectFromHost();
        QVERIFY(SimProcess::waitUntil([&] { return ops.monitor(2).lockHolder.isEmpty(); }, 4000));
        QVERIFY(second.hear("VIDEO OUTPUT LOCKS:\n1 U\n\n"));
        QVERIFY(panel.recorded.contains(
            QStringLiteral("%1: monitor 2 unlocked: %1 is gone").arg(holder)));
    }

    // Markup in a title is text: no image is read, no font painted, and the
    // title, kept, is text again at the next start.
    void markupInATitleIsText() {
        Panel panel;
        panel.writeTitles(QStringLiteral("GATE"));
        QVERIFY(panel.start());
        const QString image = panel.dir.filePath("large.png");
        QImage large(600, 600, QImage::Format_RGB32);
        large.fill(Qt::red);
        QVERIFY(large.save(image));
        const QString withImage = QStringLiteral("<img src=\"%1\">").arg(image);
        const QString withFont = QStringLiteral("<font color=red size=7>FIRE</font>");
        Client client(panel.window->videohub().port());
        QVERIFY(client.hear("END PRELUDE:\n\n"));
        client.socket.write("INPUT LABELS:\n0 " + withImage.toUtf8() + "\n1 " + withFont.toUtf8() +
                            "\n\n");
        QCOMPARE(client.answer(), QByteArray("ACK"));
        QVERIFY(client.hear("INPUT LABELS:\n0 " + withImage.toUtf8() + "\n1 " + withFont.toUtf8() +
                            "\n\n"));
        for (int round = 0; round < 2; ++round) {
            QLabel *t1 = panel.title(1);
            QLabel *t2 = panel.title(2);
            QVERIFY(t1 && t2);
            QCOMPARE(t1->text(), withImage);
            QCOMPARE(t2->text(), withFont);
            for (QLabel *label : {t1, t2})
                QCOMPARE(label->sizeHint().height(), lineHeight(*label));
            // A title too long for its label shows whole in its tooltip, as text.
            QVERIFY(!t1->toolTip().isEmpty());
            QToolTip::showText(t1->mapToGlobal(QPoint(2, 2)), t1->toolTip(), t1);
            QLabel *tip = nullptr;
            for (QWidget *w : QApplication::topLevelWidgets()) {
                if (w->objectName() == QLatin1String("qtooltip_label") && w->isVisible())
                    tip = qobject_cast<QLabel *>(w);
            }
            QVERIFY(tip);
            QVERIFY(tip->text().contains(QLatin1String("large.png")));
            QVERIFY2(tip->sizeHint().height() < large.height() / 4,
                     qPrintable(QString::number(tip->sizeHint().height())));
            QToolTip::hideText();
            // Kept as it came: the next run reads it back the same.
            panel.window->TimerMove_Timer();
            QVERIFY(panel.restart());
        }
    }

    // Camera 1 without a title would make the next start read the file as a
    // new one (titles, types and language replaced): refused, nothing kept.
    void camera1KeepsATitle() {
        Panel panel;
        panel.writeTitles(QStringLiteral("GATE"));
        QVERIFY(panel.start());
        Client client(panel.window->videohub().port());
        QVERIFY(client.hear("END PRELUDE:\n\n"));
        client.socket.write("INPUT LABELS:\n4 YARD\n0 \n\n");
        QCOMPARE(client.answer(), QByteArray("NAK"));
        client.socket.write("INPUT LABELS:\n0 DOCK\n\n");
        QCOMPARE(client.answer(), QByteArray("ACK"));
        panel.window->TimerMove_Timer();
        QVERIFY(panel.restart());
        QVERIFY(!panel.window->waitingForLanguage());
        QCOMPARE(panel.title(1)->text(), QStringLiteral("DOCK"));
        QCOMPARE(panel.title(5)->text(), QStringLiteral("GATE"));
    }

    // A client renaming without end does not hold up another's route: the
    // renames beyond its allowance are refused, those taken are kept.
    void aLabelFloodDelaysNoRoute() {
        Panel panel;
        panel.writeTitles(QStringLiteral("GATE"));
        QVERIFY(panel.start());
        Client flooder(panel.window->videohub().port());
        Client other(panel.window->videohub().port());
        QVERIFY(flooder.hear("END PRELUDE:\n\n") && other.hear("END PRELUDE:\n\n"));
        QByteArray flood;
        for (int i = 0; i < 1000; ++i)
            flood += "INPUT LABELS:\n" + QByteArray::number(i % 16) + " flood " +
                     QByteArray::number(i) + "\n\n";
        flooder.socket.write(flood);
        other.socket.write("VIDEO OUTPUT ROUTING:\n2 6\n\n");
        QCOMPARE(other.answer(), QByteArray("ACK"));
        QVERIFY(panel.sim->said("monitor 3 <- camera 7"));
        int refused = 0;
        for (int i = 0; i < 1000; ++i)
            refused += flooder.answer() == "NAK";
        QVERIFY2(refused > 500, qPrintable(QString::number(refused)));
        // What was taken reaches the file within a second.
        QVERIFY(panel.window->cameras().title(1).startsWith(QLatin1String("flood")));
        const auto kept = [&] {
            QFile file(panel.dir.filePath(QStringLiteral("velmarcontroller.ini")));
            if (!file.open(QIODevice::ReadOnly))
                return false;
            const config::ConfigReading read = config::ConfigFile::read(file.readAll());
            for (int k = 1; k <= config::ConfigFile::cameras; ++k) {
                if (read.file.titles[k - 1] != panel.window->cameras().title(k))
                    return false;
            }
            return true;
        };
        QTRY_VERIFY_WITH_TIMEOUT(kept(), 3000);
    }

    // Clients that begin a block and never end it hold their slots only for
    // the time-out, and one machine cannot take them all: a client from
    // another still routes.
    void slowClientsCannotHoldEverySlot() {
        Panel panel;
        panel.writeTitles(QStringLiteral("GATE"));
        QVERIFY(panel.start());
        remote::VideohubServer &server = panel.window->videohub();
        server.setBlockTimeout(500);
        std::vector<std::unique_ptr<Client>> slow;
        for (int i = 0; i < remote::VideohubServer::maxClients; ++i)
            slow.push_back(std::make_unique<Client>(server.port()));
        for (int i = 0; i < remote::VideohubServer::maxClients; ++i)
            slow[std::size_t(i)]->socket.write("VIDEO OUTPUT ROUTING:\n");
        QTRY_COMPARE(server.clients().size(), remote::VideohubServer::maxPerAddress);
        Client real(server.port(), QHostAddress(QStringLiteral("127.0.0.2")));
        QVERIFY(real.hear("END PRELUDE:\n\n"));
        real.socket.write("VIDEO OUTPUT ROUTING:\n0 2\n\n");
        QCOMPARE(real.answer(), QByteArray("ACK"));
        QVERIFY(panel.sim->said("monitor 1 <- camera 3"));
        QTRY_COMPARE(server.clients().size(), 1);
        QCOMPARE(real.socket.state(), QAbstractSocket::ConnectedState);
    }
};

VELMAR_TEST_MAIN(TestVideohubE2E)
#include "tst_videohub_e2e.moc"

// The Videohub server on the loopback: real client sockets against the real
// server, with a router standing in for the switcher session.
#include "TestMain.h"
#include "remote/AllowList.h"
#include "remote/ClientPriorities.h"
#include "remote/RoutePacer.h"
#include "remote/Router.h"
#include "remote/VideohubServer.h"
#include "ui/SettingsStore.h"

#include <QElapsedTimer>
#include <QMap>
#include <QRegularExpression>
#include <QSignalSpy>
#include <QTcpSocket>
#include <QTest>
#include <memory>
#include <sys/socket.h>
#include <vector>

namespace {
using remote::Router;
using remote::VideohubServer;

class Settings : public ui::SettingsStore {
public:
    QMap<QString, QString> values; // "Section/Key" -> text
    QString value(const QString &section, const QString &key) const override {
        return values.value(section + QLatin1Char('/') + key);
    }
    void setValue(const QString &section, const QString &key, const QString &text) override {
        values[section + QLatin1Char('/') + key] = text;
    }
    Entries entries(const QString &) const override { return {}; }
};

class FakeRouter : public Router {
public:
    struct Route {
        int output;
        int input;
        QString client;
        qint64 atNs;
    };
    QStringList titles;
    QList<int> routing{0, 0, 0, 0};
    QList<Route> routes;
    QStringList gone;
    bool refuseRoutes = false; // a lock refuses them, or the port is closed
    bool holdRoutes = false;   // the switcher's operations make them wait
    QList<Done> held;
    QMap<int, QString> locks; // output -> the client holding it
    QElapsedTimer clock;

    FakeRouter() {
        for (int i = 1; i <= inputCount; ++i)
            titles.append(QStringLiteral("CAMERA %1").arg(i));
        clock.start();
    }
    QString inputLabel(int input) const override { return titles[input]; }
    QString outputLabel(int output) const override {
        return QStringLiteral("Monitor %1").arg(output + 1);
    }
    int routedInput(int output) const override { return routing[output]; }
    void route(int output, int input, const QString &client, Done done) override {
        routes.append({output, input, client, clock.nsecsElapsed()});
        if (holdRoutes)
            held.append(done);
        else if (done)
            done(!refuseRoutes);
    }
    void clientGone(const QString &client) override { gone.append(client); }
    Lock lockOf(int output, const QString &client) const override {
        const QString holder = locks.value(output);
        return holder.isEmpty() ? Lock::None : holder == client ? Lock::Own : Lock::Other;
    }
    // As the arbiter would with equal priorities: a lock is its holder's,
    // and force is never enough.
    void lock(int output, remote::protocol::LockAction action, const QString &client,
              Done done) override {
        using remote::protocol::LockAction;
        const QString holder = locks.value(output);
        const bool free = holder.isEmpty() || holder == client;
        if (free && action == LockAction::Lock)
            locks[output] = client;
        else if (free && action == LockAction::Unlock)
            locks.remove(output);
        done(free && action != LockAction::Force);
        emit locksChanged();
    }
    void setInputLabel(int input, const QString &label) override {
        titles[input] = label;
        emit inputLabelsChanged();
    }
};

// A Videohub client: reads the server's blocks as they come.
class Client {
public:
    // From the loopback address given (127.0.0.x: one machine for each).
    explicit Client(quint16 port, const QHostAddress &from = QHostAddress::LocalHost,
                    const QHostAddress &to = QHostAddress::LocalHost) {
        if (from != QHostAddress(QHostAddress::LocalHost))
            socket.bind(from);
        socket.connectToHost(to, port);
    }

    // The next block's lines, its header first; empty when none came in time.
    QByteArrayList block(int waitMs = 3000) {
        QByteArrayList out;
        (void)QTest::qWaitFor(
            [&] {
                m_buffer += socket.readAll();
                const qsizetype end = m_buffer.indexOf("\n\n");
                if (end < 0)
                    return false;
                out = m_buffer.left(end).split('\n');
                m_buffer.remove(0, end + 2);
                return true;
            },
            waitMs);
        return out;
    }
    // The prelude's blocks by header, "END PRELUDE:" last.
    QMap<QByteArray, QByteArrayList> prelude() {
        QMap<QByteArray, QByteArrayList> out;
        for (QByteArrayList b = block(); !b.isEmpty(); b = block()) {
            out.insert(b.takeFirst(), b);
            if (out.contains("END PRELUDE:"))
                break;
        }
        return out;
    }
    void send(const QByteArray &bytes) { socket.write(bytes); }
    bool nothingMore(int waitMs = 100) {
        QTest::qWait(waitMs);
        m_buffer += socket.readAll();
        return m_buffer.isEmpty();
    }

    QTcpSocket socket;

private:
    QByteArray m_buffer;
};

struct Rig {
    Settings settings;
    FakeRouter router;
    VideohubServer server{router, settings};

    explicit Rig(const QMap<QString, QString> &more = {}) {
        settings.values = {{"Videohub/Enabled", "true"}, {"Videohub/Port", "0"}};
        settings.values.insert(more);
        server.start();
    }
    std::unique_ptr<Client> connected() {
        auto client = std::make_unique<Client>(server.port());
        return client->prelude().contains("END PRELUDE:") ? std::move(client) : nullptr;
    }
};

const QByteArray ack = "ACK";
const QByteArray nak = "NAK";
} // namespace

class TestVideohub : public QObject {
    Q_OBJECT
private slots:
    // What a client learns on connecting: the device and every status block.
    void prelude() {
        Rig rig;
        rig.router.titles[0] = QStringLiteral("Caméra entrée");
        rig.router.routing = {4, 0, 15, 0};
        Client client(rig.server.port());
        QByteArrayList headers;
        QMap<QByteArray, QByteArrayList> blocks;
        for (QByteArrayList b = client.block(); !b.isEmpty(); b = client.block()) {
            headers.append(b.front());
            blocks.insert(b.takeFirst(), b);
            if (headers.back() == "END PRELUDE:")
                break;
        }
        QCOMPARE(headers, QByteArrayList({"PROTOCOL PREAMBLE:", "VIDEOHUB DEVICE:", "INPUT LABELS:",
                                          "OUTPUT LABELS:", "VIDEO OUTPUT LOCKS:",
                                          "VIDEO OUTPUT ROUTING:", "END PRELUDE:"}));
        QCOMPARE(blocks["PROTOCOL PREAMBLE:"], QByteArrayList({"Version: 2.3"}));
        const QByteArrayList device = blocks["VIDEOHUB DEVICE:"];
        for (const char *line :
             {"Device present: true", "Model name: Velmar Controller", "Video inputs: 16",
              "Video processing units: 0", "Video outputs: 4", "Video monitoring outputs: 0",
              "Serial ports: 0"})
            QVERIFY2(device.contains(line), line);
        const auto id = std::find_if(device.begin(), device.end(), [](const QByteArray &l) {
            return l.startsWith("Unique ID: ");
        });
        QVERIFY(id != device.end());
        QVERIFY(QRegularExpression("^Unique ID: [0-9A-F]{12}$").match(QString(*id)).hasMatch());

        const QByteArrayList inputs = blocks["INPUT LABELS:"];
        QCOMPARE(inputs.size(), 16);
        QCOMPARE(inputs[0], QStringLiteral("0 Caméra entrée").toUtf8());
        QCOMPARE(inputs[15], QByteArray("15 CAMERA 16"));
        QCOMPARE(blocks["OUTPUT LABELS:"],
                 QByteArrayList({"0 Monitor 1", "1 Monitor 2", "2 Monitor 3", "3 Monitor 4"}));
        QCOMPARE(blocks["VIDEO OUTPUT LOCKS:"], QByteArrayList({"0 U", "1 U", "2 U", "3 U"}));
        QCOMPARE(blocks["VIDEO OUTPUT ROUTING:"], QByteArrayList({"0 4", "1 0", "2 15", "3 0"}));
        QCOMPARE(rig.server.clients().size(), 1);
    }

    // Routes go to the router in order, named after the client; the routing
    // the clients see changes when the router reports it, and then only what
    // changed goes to every client.
    void routesAndTheirReport() {
        Rig rig;
        auto first = rig.connected();
        auto second = rig.connected();
        QVERIFY(first && second);
        first->send("VIDEO OUTPUT ROUTING:\n2 6\r\n0 15\n\n");
        QCOMPARE(first->block(), QByteArrayList{ack});
        QCOMPARE(rig.router.routes.size(), 2);
        QCOMPARE(rig.router.routes[0].output, 2);
        QCOMPARE(rig.router.routes[0].input, 6);
        QCOMPARE(rig.router.routes[1].output, 0);
        QCOMPARE(rig.router.routes[1].input, 15);
        const QString name = rig.server.clients().front();
        QCOMPARE(rig.router.routes[0].client, name);
        QCOMPARE(name, QStringLiteral("127.0.0.1:%1").arg(first->socket.localPort()));
        QVERIFY(first->nothingMore());
        QVERIFY(second->nothingMore(0));

        rig.router.routing = {15, 0, 6, 0};
        emit rig.router.routingChanged();
        for (Client *c : {first.get(), second.get()})
            QCOMPARE(c->block(), QByteArrayList({"VIDEO OUTPUT ROUTING:", "0 15", "2 6"}));
        emit rig.router.routingChanged(); // nothing changed: nothing sent
        QVERIFY(first->nothingMore());
    }

    // Each client sees its own locks as O and another's as L, and is told
    // only what changed for it; a lock held by another refuses.
    void locksAsEachClientSeesThem() {
        Rig rig;
        auto first = rig.connected();
        auto second = rig.connected();
        QVERIFY(first && second);
        first->send("VIDEO OUTPUT LOCKS:\n1 O\n1 O\n\n");
        QCOMPARE(first->block(), QByteArrayList{ack});
        QCOMPARE(first->block(), QByteArrayList({"VIDEO OUTPUT LOCKS:", "1 O"}));
        QCOMPARE(second->block(), QByteArrayList({"VIDEO OUTPUT LOCKS:", "1 L"}));
        second->send("VIDEO OUTPUT LOCKS:\n1 F\n\n");
        QCOMPARE(second->block(), QByteArrayList{nak});
        second->send("VIDEO OUTPUT LOCKS:\n\n");
        QCOMPARE(second->block(), QByteArrayList{ack});
        QCOMPARE(second->block(),
                 QByteArrayList({"VIDEO OUTPUT LOCKS:", "0 U", "1 L", "2 U", "3 U"}));
        first->socket.disconnectFromHost();
        QTRY_COMPARE(rig.router.gone.size(), 1);
    }

    // A client's priority comes from the most specific entry that names its
    // address; an entry that makes no sense is named and left out.
    void clientPriorities_data() {
        QTest::addColumn<QString>("address");
        QTest::addColumn<int>("priority");
        QTest::newRow("its own address") << "10.0.0.5" << 30;
        QTest::newRow("seen through IPv6") << "::ffff:10.0.0.5" << 30;
        QTest::newRow("its network") << "10.1.2.3" << 25;
        QTest::newRow("the wider network") << "10.9.9.9" << 22;
        QTest::newRow("IPv6 loopback") << "::1" << 45;
        QTest::newRow("named by none") << "192.168.1.1" << 20;
    }
    void clientPriorities() {
        QFETCH(QString, address);
        QStringList bad;
        const remote::ClientPriorities priorities = remote::ClientPriorities::parse(
            "10.0.0.0/8=22, 10.0.0.5=30,10.1.0.0/16=25, ::1=45, bogus, 10.2.0.0/16=x, =5", &bad);
        QCOMPARE(bad, QStringList({"bogus", "10.2.0.0/16=x", "=5"}));
        QTEST(priorities.of(QHostAddress(address), 20), "priority");
    }

    // A route is answered once it has left, or not: the client's answers keep
    // the order of its blocks while one waits.
    void answersKeepTheirOrder() {
        Rig rig;
        rig.router.holdRoutes = true;
        auto client = rig.connected();
        QVERIFY(client);
        client->send("VIDEO OUTPUT ROUTING:\n1 3\n\nPING:\n\n");
        QTRY_COMPARE(rig.router.held.size(), 1);
        QVERIFY(client->nothingMore());
        rig.router.held.takeFirst()(false); // refused: the monitor is locked
        QCOMPARE(client->block(), QByteArrayList{nak});
        QCOMPARE(client->block(), QByteArrayList{ack});
    }

    // Every block gets ACK or NAK; a refused block leaves the connection usable.
    void answers_data() {
        QTest::addColumn<QByteArray>("request");
        QTest::addColumn<QByteArrayList>("answer"); // the blocks that follow, ACK or NAK first
        const QByteArrayList outputLabels{"OUTPUT LABELS:", "0 Monitor 1", "1 Monitor 2",
                                          "2 Monitor 3", "3 Monitor 4"};
        QTest::newRow("ping") << QByteArray("PING:\n\n") << QByteArrayList{ack};
        QTest::newRow("ping, CR LF") << QByteArray("PING:\r\n\r\n") << QByteArrayList{ack};
        QTest::newRow("dump of one block")
            << QByteArray("OUTPUT LABELS:\n\n") << (QByteArrayList{ack} << outputLabels.join('\n'));
        QTest::newRow("lock of output 4")
            << QByteArray("VIDEO OUTPUT LOCKS:\n4 O\n\n") << QByteArrayList{nak};
        QTest::newRow("lock, unknown state")
            << QByteArray("VIDEO OUTPUT LOCKS:\n0 X\n\n") << QByteArrayList{nak};
        QTest::newRow("output label")
            << QByteArray("OUTPUT LABELS:\n0 Desk\n\n") << QByteArrayList{nak};
        QTest::newRow("output 4") << QByteArray("VIDEO OUTPUT ROUTING:\n4 0\n\n")
                                  << QByteArrayList{nak};
        QTest::newRow("input 16") << QByteArray("VIDEO OUTPUT ROUTING:\n0 1\n0 16\n\n")
                                  << QByteArrayList{nak};
        QTest::newRow("input 16 label")
            << QByteArray("INPUT LABELS:\n16 X\n\n") << QByteArrayList{nak};
        QTest::newRow("unknown header")
            << QByteArray("SERIAL PORT ROUTING:\n0 1\n\n") << QByteArrayList{nak};
        QTest::newRow("line over 4 KB")
            << QByteArray("INPUT LABELS:\n0 " + QByteArray(4095, 'x') + "\n\n")
            << QByteArrayList{nak};
        QTest::newRow("line of 4 KB")
            << QByteArray("INPUT LABELS:\n0 " + QByteArray(4094, 'x') + "\n\n")
            << QByteArrayList({ack, "INPUT LABELS:\n0 " + QByteArray(4094, 'x')});
        QTest::newRow("block over 64 KB")
            << QByteArray("PING:\n" + (QByteArray(999, 'x') + '\n').repeated(66) + "\n")
            << QByteArrayList{nak};
        QTest::newRow("label beyond Latin-1")
            << QStringLiteral("INPUT LABELS:\n3 \u20AC\n\n").toUtf8() << QByteArrayList{nak};
        QTest::newRow("label with a NUL")
            << QByteArray("INPUT LABELS:\n3 a\0b\n\n", 21) << QByteArrayList{nak};
        // Camera 1 without a title would make the configuration file read as new.
        QTest::newRow("camera 1 without a title")
            << QByteArray("INPUT LABELS:\n3 Gate\n0 \n\n") << QByteArrayList{nak};
        QTest::newRow("camera 1 of blanks")
            << QByteArray("INPUT LABELS:\n0  \n\n") << QByteArrayList({ack, "INPUT LABELS:\n0  "});
        // Markup is a title like any other, sent back as it came.
        QTest::newRow("markup") << QByteArray("INPUT LABELS:\n0 <img src=\"/dev/zero\">\n\n")
                                << QByteArrayList(
                                       {ack, "INPUT LABELS:\n0 <img src=\"/dev/zero\">"});
    }
    void answers() {
        QFETCH(QByteArray, request);
        QFETCH(QByteArrayList, answer);
        Rig rig;
        auto client = rig.connected();
        QVERIFY(client);
        client->send(request);
        for (const QByteArray &expected : answer)
            QCOMPARE(client->block().join('\n'), expected);
        QVERIFY(client->nothingMore());
        if (answer.front() == nak) {
            QVERIFY(rig.router.routes.isEmpty());
            QCOMPARE(rig.router.titles, FakeRouter().titles);
        }
        client->send("PING:\n\n");
        QCOMPARE(client->block(), QByteArrayList{ack});
        QCOMPARE(rig.server.clients().size(), 1);
    }

    // A label a client sends renames the camera (UTF-8, or Latin-1 bytes);
    // every client hears of it.
    void labels() {
        Rig rig;
        auto first = rig.connected();
        auto second = rig.connected();
        QVERIFY(first && second);
        first->send("INPUT LABELS:\n4 Caf\xC3\xA9\n9 Gar\xE7on\n12 \n\n");
        QCOMPARE(first->block(), QByteArrayList{ack});
        QCOMPARE(rig.router.titles[4], QStringLiteral("Café"));
        QCOMPARE(rig.router.titles[9], QStringLiteral("Garçon"));
        QCOMPARE(rig.router.titles[12], QString());
        const QByteArrayList update{"INPUT LABELS:", "4 Caf\xC3\xA9", "9 Gar\xC3\xA7on", "12 "};
        QCOMPARE(first->block(), update);
        QCOMPARE(second->block(), update);
        // A title that came to hold a line break cannot end the line.
        rig.router.titles[1] = QStringLiteral("two\r\nlines");
        emit rig.router.inputLabelsChanged();
        QCOMPARE(second->block(), QByteArrayList({"INPUT LABELS:", "1 two  lines"}));
    }

    // A client that stops sending after its request (a script's nc -N) has
    // its route done, gets its answer and is let go.
    void halfClosed() {
        Rig rig;
        auto client = rig.connected();
        QVERIFY(client);
        client->send("VIDEO OUTPUT ROUTING:\n1 2\n\n");
        QVERIFY(QTest::qWaitFor([&] { return client->socket.bytesToWrite() == 0; }));
        QCOMPARE(::shutdown(int(client->socket.socketDescriptor()), SHUT_WR), 0);
        QCOMPARE(client->block(), QByteArrayList{ack});
        QVERIFY(QTest::qWaitFor([&] { return rig.server.clients().isEmpty(); }));
        QCOMPARE(rig.router.routes.size(), 1);
    }

    // A flood: a burst goes at once, the rest at the pace, in order; what
    // does not fit the queue is refused, and nothing of a refused block runs.
    void floodIsPacedAndBounded() {
        Rig rig;
        auto client = rig.connected();
        QVERIFY(client);
        QByteArray flood;
        const int blocks = 200;
        for (int i = 0; i < blocks; ++i)
            flood += "VIDEO OUTPUT ROUTING:\n" + QByteArray::number(i % 4) + ' ' +
                     QByteArray::number(i % 16) + "\n\n";
        client->send(flood);
        QList<int> accepted;
        for (int i = 0; i < blocks; ++i) {
            const QByteArrayList answer = client->block();
            QVERIFY(answer == QByteArrayList{ack} || answer == QByteArrayList{nak});
            if (answer.front() == ack)
                accepted.append(i);
        }
        QVERIFY(accepted.size() >= remote::RoutePacer::burst + remote::RoutePacer::perClient);
        QVERIFY(accepted.size() < blocks);
        QVERIFY(QTest::qWaitFor([&] { return rig.router.routes.size() == accepted.size(); }));
        for (int k = 0; k < accepted.size(); ++k) {
            QCOMPARE(rig.router.routes[k].output, accepted[k] % 4);
            QCOMPARE(rig.router.routes[k].input, accepted[k] % 16);
        }
        const auto &routes = rig.router.routes;
        const qint64 spanMs =
            (routes.back().atNs - routes[remote::RoutePacer::burst].atNs) / 1000000;
        const qint64 paced = accepted.size() - remote::RoutePacer::burst - 1;
        QVERIFY2(spanMs >= paced * remote::RoutePacer::intervalMs * 9 / 10,
                 qPrintable(QString::number(spanMs)));
    }

    // 100 clients at once from ten machines: the first 64 are served, the rest closed at once;
    // when all have gone, none is listed.
    void crowd() {
        Rig rig;
        QSignalSpy changed(&rig.server, &VideohubServer::clientsChanged);
        std::vector<std::unique_ptr<Client>> clients;
        for (int i = 0; i < 100; ++i)
            clients.push_back(std::make_unique<Client>(
                rig.server.port(), QHostAddress(QStringLiteral("127.0.0.%1").arg(1 + i % 10))));
        QVERIFY(QTest::qWaitFor([&] {
            int settled = 0;
            for (const auto &c : clients)
                settled += c->socket.state() == QAbstractSocket::UnconnectedState ||
                           c->socket.bytesAvailable() > 0;
            return settled == 100;
        }));
        QCOMPARE(rig.server.clients().size(), VideohubServer::maxClients);
        int served = 0;
        for (const auto &c : clients) {
            if (c->socket.bytesAvailable() > 0)
                served += c->prelude().contains("END PRELUDE:");
        }
        QCOMPARE(served, VideohubServer::maxClients);
        QVERIFY(changed.count() > 0);
        clients.clear();
        QVERIFY(QTest::qWaitFor([&] { return rig.server.clients().isEmpty(); }));
    }

    // Eight clients that keep the queue full leave room for a ninth: each
    // client keeps its share of the queue.
    void busyClientsLeaveOthersTheirShare() {
        FakeRouter router;
        remote::RoutePacer pacer(router);
        const QList<remote::protocol::Route> one{{1, 2}};
        for (quint64 busy = 1; busy <= 8; ++busy) {
            while (pacer.offer(busy, QStringLiteral("busy"), one)) {
            }
        }
        QVERIFY(pacer.waiting() >= remote::RoutePacer::total - remote::RoutePacer::burst);
        int taken = 0;
        for (int i = 0; i < 20; ++i)
            taken += pacer.offer(9, QStringLiteral("other"), one);
        QCOMPARE(taken, 20);
        // The busy ones are held to their share until the queue has room.
        for (quint64 busy = 1; busy <= 8; ++busy)
            QVERIFY(!pacer.offer(busy, QStringLiteral("busy"), one));
        QVERIFY(pacer.waiting() <= 2 * remote::RoutePacer::total);
    }

    // A client that takes nothing while the panel keeps telling it changes is
    // dropped once too much waits for it; a reading client stays.
    void slowReaderIsDropped() {
        Rig rig;
        auto reader = rig.connected();
        auto sleeper = rig.connected();
        QVERIFY(reader && sleeper);
        sleeper->socket.setReadBufferSize(1);
        const QString sleeperName = rig.server.clients().back();
        QElapsedTimer time;
        time.start();
        for (int round = 0; rig.server.clients().contains(sleeperName); ++round) {
            QVERIFY2(time.elapsed() < 60000, "the sleeper was never dropped");
            for (int i = 0; i < Router::inputCount; ++i)
                rig.router.titles[i] = QString(4000, QLatin1Char('a' + round % 2));
            emit rig.router.inputLabelsChanged();
            QTest::qWait(1);
            reader->socket.readAll();
        }
        QCOMPARE(rig.server.clients().size(), 1);
        reader->send("PING:\n\n");
        QVERIFY(QTest::qWaitFor([&] { return reader->socket.readAll().endsWith("ACK\n\n"); }));
    }

    // Off unless enabled; beyond the loopback only with Allow set.
    void listening_data() {
        QTest::addColumn<QString>("enabled");
        QTest::addColumn<QString>("address");
        QTest::addColumn<QString>("allow");
        QTest::addColumn<QString>("port");
        QTest::addColumn<int>("state");
        QTest::addColumn<QString>("text"); // a regular expression
        const int off = int(VideohubServer::State::Off);
        const int on = int(VideohubServer::State::Listening);
        const int failed = int(VideohubServer::State::Failed);
        QTest::newRow("default") << ""
                                 << ""
                                 << ""
                                 << "0" << off << "^off$";
        QTest::newRow("disabled") << "false"
                                  << ""
                                  << ""
                                  << "0" << off << "^off$";
        QTest::newRow("loopback") << "true"
                                  << ""
                                  << ""
                                  << "0" << on << "^listening on 127\\.0\\.0\\.1:\\d+$";
        QTest::newRow("any, no allow")
            << "true"
            << "0.0.0.0"
            << ""
            << "0" << on
            << "^listening on 127\\.0\\.0\\.1:\\d+ only: Address=0\\.0\\.0\\.0 also needs Allow";
        QTest::newRow("any, bad allow")
            << "true"
            << "0.0.0.0"
            << "10.0.0.300"
            << "0" << on << "^listening on 127\\.0\\.0\\.1:\\d+ only: Allow=10";
        QTest::newRow("any, allowed") << "true"
                                      << "0.0.0.0"
                                      << "10.1.0.0/16"
                                      << "0" << on << "^listening on 0\\.0\\.0\\.0:\\d+$";
        QTest::newRow("bad port") << "true"
                                  << ""
                                  << ""
                                  << "99999" << failed << "^cannot listen: Port=99999";
        QTest::newRow("bad address") << "true"
                                     << "panel..local"
                                     << ""
                                     << "0" << failed << "^cannot listen: Address=panel\\.\\.local";
        QTest::newRow("any, allowed to all")
            << "true"
            << "0.0.0.0"
            << "10.0.0.5/0"
            << "0" << on
            << "^listening on 0\\.0\\.0\\.0:\\d+; Allow=10\\.0\\.0\\.5/0 lets every address "
               "connect$";
        QTest::newRow("both families")
            << "true"
            << "::"
            << "10.0.0.0/8"
            << "0" << on << "^listening on \\[::\\]:\\d+ \\(IPv4 and IPv6\\)$";
    }
    void listening() {
        QFETCH(QString, enabled);
        QFETCH(QString, address);
        QFETCH(QString, allow);
        QFETCH(QString, port);
        QFETCH(int, state);
        QFETCH(QString, text);
        Rig rig({{"Videohub/Enabled", enabled},
                 {"Videohub/Address", address},
                 {"Videohub/Allow", allow},
                 {"Videohub/Port", port}});
        QCOMPARE(int(rig.server.state()), state);
        QVERIFY2(QRegularExpression(text).match(rig.server.stateText()).hasMatch(),
                 qPrintable(rig.server.stateText()));
        QCOMPARE(rig.server.port() != 0, state == int(VideohubServer::State::Listening));
    }

    // "::" takes IPv4 clients as well; a host name is looked up, without
    // holding the panel, and listened on.
    void addresses_data() {
        QTest::addColumn<QString>("address");
        QTest::addColumn<QString>("client");
        QTest::newRow(":: from IPv4") << "::"
                                      << "127.0.0.1";
        QTest::newRow(":: from IPv6") << "::"
                                      << "::1";
        QTest::newRow("localhost") << "localhost"
                                   << "127.0.0.1";
    }
    void addresses() {
        QFETCH(QString, address);
        QFETCH(QString, client);
        Rig rig({{"Videohub/Address", address}, {"Videohub/Allow", "10.0.0.0/8"}});
        QTRY_COMPARE(rig.server.state(), VideohubServer::State::Listening);
        Client c(rig.server.port(), QHostAddress::LocalHost, QHostAddress(client));
        QVERIFY(c.prelude().contains("END PRELUDE:"));
    }

    // Which clients may connect: this machine always, others only by Allow.
    void allowList_data() {
        QTest::addColumn<QString>("allow");
        QTest::addColumn<QString>("client");
        QTest::addColumn<bool>("allowed");
        QTest::newRow("loopback, empty list") << ""
                                              << "127.0.0.1" << true;
        QTest::newRow("loopback v6, empty list") << ""
                                                 << "::1" << true;
        QTest::newRow("other loopback") << ""
                                        << "127.0.0.2" << true;
        QTest::newRow("lan, empty list") << ""
                                         << "10.0.0.5" << false;
        QTest::newRow("mapped lan, empty list") << ""
                                                << "::ffff:10.0.0.5" << false;
        QTest::newRow("the host") << "10.0.0.5"
                                  << "10.0.0.5" << true;
        QTest::newRow("the host, mapped") << "10.0.0.5"
                                          << "::ffff:10.0.0.5" << true;
        QTest::newRow("its neighbour") << "10.0.0.5"
                                       << "10.0.0.6" << false;
        QTest::newRow("in the network") << "10.0.0.5, 10.1.0.0/16"
                                        << "10.1.200.3" << true;
        QTest::newRow("outside it") << "10.0.0.5 10.1.0.0/16"
                                    << "10.2.0.1" << false;
        QTest::newRow("v6 network") << "fd00::/8"
                                    << "fd12::1" << true;
        QTest::newRow("v6 outside") << "fd00::/8"
                                    << "fe80::1" << false;
        QTest::newRow("bad entry voids all") << "10.0.0.5; 10.0.0.x"
                                             << "10.0.0.5" << false;
        QTest::newRow("bad entry, loopback") << "10.0.0.x"
                                             << "127.0.0.1" << true;
    }
    void allowList() {
        QFETCH(QString, allow);
        QFETCH(QString, client);
        QFETCH(bool, allowed);
        QCOMPARE(remote::AllowList::parse(allow).allows(QHostAddress(client)), allowed);
    }
};

VELMAR_TEST_MAIN(TestVideohub)
#include "tst_videohub.moc"

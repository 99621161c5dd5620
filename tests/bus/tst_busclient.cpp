// The station on a real mosquitto broker of the test's own: its state kept
// by the broker for newcomers and current again after the broker comes
// back, commands from another client reaching the switcher with the bus's
// origin or answered with a reason, events bounded when the broker stalls,
// a broker that is away tried again after a growing delay, and Home
// Assistant's discovery kept to what the station has.
#include "Broker.h"
#include "BusRig.h"
#include "Observer.h"
#include "TestMain.h"

#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QSignalSpy>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>

using devicelink::Outcome;
using testbus::Broker;
using testbus::BusRig;
using testbus::Observer;

namespace {
QJsonObject json(const QByteArray &payload) {
    return QJsonDocument::fromJson(payload).object();
}

// The same object whatever the order and spacing of its keys.
QByteArray canon(const QByteArray &payload) {
    return QJsonDocument::fromJson(payload).toJson(QJsonDocument::Compact);
}
} // namespace

// A rig connected, with an observer of all its topics that has seen the
// state it publishes on connecting (so its command subscriptions are in).
#define CONNECT(rig, observer)                                                                     \
    (rig).client->start();                                                                         \
    QTRY_VERIFY((rig).connected());                                                                \
    Observer observer(m_broker.port(), (rig).topic("#"));                                          \
    QTRY_VERIFY(!(observer).last((rig).topic("monitor/4")).isEmpty())

class TestBusClient : public QObject {
    Q_OBJECT
    Broker m_broker; // shared by the tests that neither stop nor pause it

private slots:
    void initTestCase() { START_BROKER(m_broker); }
    void cleanupTestCase() {
        m_broker.stop();
        QTRY_VERIFY(m_broker.stopped());
    }

    // The station's state, kept by the broker, and each change as it comes.
    void stateGoesOut() {
        BusRig rig(m_broker.port());
        QSignalSpy told(rig.client.get(), &bus::BusClient::connectedChanged);
        rig.client->start();
        QTRY_VERIFY(rig.connected());
        QCOMPARE(rig.client->stateText(),
                 QStringLiteral("MQTT: connected to 127.0.0.1:%1").arg(m_broker.port()));
        QCOMPARE(told.size(), 1);
        QCOMPARE(told[0], (QVariantList{true, QString()}));

        Observer observer(m_broker.port(), rig.topic("#"));
        QTRY_VERIFY(!observer.last(rig.topic("monitor/4")).isEmpty());
        for (const char *kept : {"status", "link", "monitor/1", "monitor/4"})
            QVERIFY2(observer.retained(rig.topic(kept)), kept);
        QCOMPARE(observer.last(rig.topic("status")), QByteArray("online"));
        QCOMPARE(canon(observer.last(rig.topic("monitor/1"))),
                 canon(R"({"camera": null, "title": null, "stale": false, "lock": null})"));
        const QJsonObject link = json(observer.last(rig.topic("link")));
        QCOMPARE(link["level"].toString(), QStringLiteral("fault"));
        QCOMPARE(link["ok"].toBool(), false);
        QCOMPARE(link["state"].toString(), QStringLiteral("Closed"));

        rig.switcher.show(2, {5, true, QStringLiteral("web ana")});
        QTRY_COMPARE(canon(observer.last(rig.topic("monitor/2"))),
                     canon(R"({"camera": 5, "title": "CAMERA 5", "stale": true,
                               "lock": {"holder": "web ana"}})"));
        rig.cameras.setTitle(5, QStringLiteral("Gate"));
        QTRY_COMPARE(json(observer.last(rig.topic("monitor/2")))["title"].toString(),
                     QStringLiteral("Gate"));
        // A change that changes nothing publishes nothing (monitor 3's state,
        // published after it, arrives with nothing before it on monitor 2).
        const qsizetype seen = observer.on(rig.topic("monitor/2")).size();
        rig.switcher.show(2, rig.switcher.states[2]);
        rig.switcher.show(3, {9, false, {}});
        QTRY_COMPARE(json(observer.last(rig.topic("monitor/3")))["camera"].toInt(), 9);
        QCOMPARE(observer.on(rig.topic("monitor/2")).size(), seen);

        // The link and the event log follow the session.
        rig.session.serial().openPort();
        QTRY_COMPARE(json(observer.last(rig.topic("link")))["state"].toString(),
                     QStringLiteral("Open"));
        QTRY_VERIFY(!observer.on(rig.topic("events")).isEmpty());
        const QJsonObject event = json(observer.on(rig.topic("events")).last().payload);
        QCOMPARE(event["meaning"].toString(), QStringLiteral("port open"));
        QCOMPARE(event["direction"].toString(), QStringLiteral("state"));
        QVERIFY(event["time"].toString().endsWith(QLatin1Char('Z')));
        QVERIFY(!observer.retained(rig.topic("events")));
    }

    void toursAndAlarmsGoOut() {
        using Run = automation::Automation::TourState::Run;
        BusRig rig(m_broker.port());
        rig.automation.tourStates = {{2, 1, Run::Running, 1, 3}};
        rig.automation.alarmStates = {{7, true, 1, 12, true, false, true}};
        CONNECT(rig, observer);
        QTRY_COMPARE(canon(observer.last(rig.topic("tour/2"))),
                     canon(R"({"tour": 2, "monitor": 1, "state": "running", "step": 1,
                               "steps": 3})"));
        QTRY_COMPARE(canon(observer.last(rig.topic("alarm/7"))),
                     canon(R"({"input": 7, "bound": true, "monitor": 1, "camera": 12,
                               "active": true, "acknowledged": false, "shown": true})"));
        rig.automation.tourStates[0] = {2, 1, Run::Stopped, 0, 3};
        emit rig.automation.tourChanged(2);
        rig.automation.alarmStates[0].active = false;
        emit rig.automation.alarmChanged(7);
        QTRY_COMPARE(json(observer.last(rig.topic("tour/2")))["state"].toString(),
                     QStringLiteral("stopped"));
        QTRY_COMPARE(json(observer.last(rig.topic("alarm/7")))["active"].toBool(), false);
    }

    // A command from another client: the operation it names, asked with the
    // bus's origin, or a refusal with its reason and nothing asked; either
    // way one answer on the result topic.
    void commandsIn_data() {
        QTest::addColumn<QByteArray>("topic");
        QTest::addColumn<QByteArray>("payload");
        QTest::addColumn<QString>("call");
        QTest::addColumn<QString>("refusal");
        const auto row = [](const char *name, const char *topic, const QByteArray &payload,
                            const char *call, const char *refusal) {
            QTest::newRow(name) << QByteArray(topic) << payload << QString::fromUtf8(call)
                                << QString::fromUtf8(refusal);
        };
        row("route", "monitor/2/set", "5", "route 2 5", "");
        row("route by name", "monitor/4/set", "CAMERA 7", "route 4 7", "");
        row("preset", "camera/7/preset/set", "3", "preset 3 on camera 7", "");
        row("salvo", "salvo/set", "Night", "salvo Night", "");
        row("tour start", "tour/2/set", "ON", "tour 2 start", "");
        row("alarm raised", "alarm/7/set", "ON", "alarm 7 on", "");
        row("alarm acknowledged", "alarm/7/set", "ACK", "alarm 7 ack", "");
        row("monitor 5", "monitor/5/set", "1", "", "no monitor 5: monitors are 1 to 4");
        row("binary", "monitor/1/set", QByteArray("\0\xff", 2), "", "no camera named \"??\"");
        row("oversized", "monitor/1/set", QByteArray(300, '1'), "",
            "the payload is too large: 300 bytes, at most 256");
        row("no such salvo", "salvo/set", "Day", "", "no salvo named Day");
    }
    void commandsIn() {
        QFETCH(QByteArray, topic);
        QFETCH(QByteArray, payload);
        QFETCH(QString, call);
        QFETCH(QString, refusal);
        BusRig rig(m_broker.port());
        rig.automation.salvoNames = {QStringLiteral("Night")};
        CONNECT(rig, observer);
        QVERIFY(observer.publish(rig.topic(topic), payload));
        QTRY_COMPARE(observer.on(rig.topic("result")).size(), 1);
        const QJsonObject result = json(observer.last(rig.topic("result")));
        QCOMPARE(result["topic"].toString(), QString::fromUtf8(rig.topic(topic)));
        QCOMPARE(result["ok"].toBool(), refusal.isEmpty());
        QCOMPARE(result["reason"].toString(), refusal);
        QCOMPARE(result["outcome"].toString(),
                 refusal.isEmpty() ? QStringLiteral("done") : QStringLiteral("refused"));
        QVERIFY(!observer.retained(rig.topic("result")));

        QStringList calls;
        for (const auto &c : rig.switcher.calls) {
            calls << c.what;
            QCOMPARE(c.origin.kind, devicelink::Origin::Kind::Bus);
            QCOMPARE(c.origin.text(), QStringLiteral("mqtt"));
            QCOMPARE(c.origin.priority, 20);
        }
        for (const auto &c : rig.automation.calls) {
            calls << c.what;
            QCOMPARE(c.origin.text(), QStringLiteral("mqtt"));
        }
        QCOMPARE(calls, call.isEmpty() ? QStringList() : QStringList{call});
    }

    // The switcher's refusal, with who holds what refused it, or a command
    // that could not leave, is the answer as the switcher gave it.
    void theSwitchersOutcomeIsTheAnswer_data() {
        QTest::addColumn<int>("kind");
        QTest::addColumn<QString>("reason");
        QTest::addColumn<QString>("holder");
        QTest::addColumn<QByteArray>("answer");
        QTest::newRow("locked") << int(Outcome::Kind::Refused)
                                << "monitor 2 is locked by videohub 10.0.0.7"
                                << "videohub 10.0.0.7"
                                << QByteArray(R"({"ok": false, "outcome": "refused",
                                   "reason": "monitor 2 is locked by videohub 10.0.0.7",
                                   "holder": "videohub 10.0.0.7"})");
        QTest::newRow("not sent") << int(Outcome::Kind::NotSent) << "the port is closed"
                                  << "" << QByteArray(R"({"ok": false, "outcome": "not sent",
                                     "reason": "the port is closed"})");
    }
    void theSwitchersOutcomeIsTheAnswer() {
        QFETCH(int, kind);
        QFETCH(QString, reason);
        QFETCH(QString, holder);
        QFETCH(QByteArray, answer);
        BusRig rig(m_broker.port());
        rig.switcher.outcome = {Outcome::Kind(kind), reason, holder};
        CONNECT(rig, observer);
        observer.publish(rig.topic("monitor/2/set"), "5");
        QTRY_COMPARE(observer.on(rig.topic("result")).size(), 1);
        QJsonObject result = json(observer.last(rig.topic("result")));
        result.remove(QStringLiteral("topic"));
        QCOMPARE(QJsonDocument(result).toJson(QJsonDocument::Compact), canon(answer));
    }

    // [MQTT] Priority= first, then [Priorities] MQTT=, then the default.
    void theBusHasItsPriority_data() {
        QTest::addColumn<QString>("own");
        QTest::addColumn<QString>("ofKind");
        QTest::addColumn<int>("priority");
        QTest::newRow("default") << ""
                                 << "" << 20;
        QTest::newRow("[Priorities]") << ""
                                      << "25" << 25;
        QTest::newRow("[MQTT] first") << "45"
                                      << "25" << 45;
        QTest::newRow("not a number") << "high"
                                      << "" << 20;
    }
    void theBusHasItsPriority() {
        QFETCH(QString, own);
        QFETCH(QString, ofKind);
        BusRig rig(m_broker.port());
        rig.settings.values[QStringLiteral("MQTT/Priority")] = own;
        rig.settings.values[QStringLiteral("Priorities/MQTT")] = ofKind;
        CONNECT(rig, observer);
        observer.publish(rig.topic("monitor/1/set"), "3");
        QTRY_COMPARE(rig.switcher.calls.size(), 1);
        QTEST(rig.switcher.calls[0].origin.priority, "priority");
    }

    void withoutAutomationItsCommandsAreRefused() {
        BusRig rig(m_broker.port(), false);
        CONNECT(rig, observer);
        for (const char *topic : {"salvo/set", "tour/1/set", "alarm/1/set"})
            observer.publish(rig.topic(topic), "ON");
        QTRY_COMPARE(observer.on(rig.topic("result")).size(), 3);
        for (const auto &m : observer.on(rig.topic("result")))
            QCOMPARE(json(m.payload)["reason"].toString(),
                     QStringLiteral("salvos, tours and alarms are not available"));
    }

    // A command kept by the broker reaches the station at every connection:
    // it is refused, not carried out again and again.
    void aRetainedCommandIsNotCarriedOut() {
        BusRig rig(m_broker.port());
        Observer early(m_broker.port(), rig.topic("result"));
        QTRY_VERIFY(early.connected());
        early.publish(rig.topic("monitor/1/set"), "4", true);
        CONNECT(rig, observer);
        QTRY_COMPARE(early.on(rig.topic("result")).size(), 1);
        QCOMPARE(
            json(early.last(rig.topic("result")))["reason"].toString(),
            QStringLiteral("a retained command is not carried out: publish it without retain"));
        QVERIFY(rig.switcher.calls.isEmpty());
        early.publish(rig.topic("monitor/1/set"), {}, true); // the broker forgets it
    }

    // Far more commands than the switcher takes: every one answered, the
    // excess at once with a full queue, the rest as the switcher ends them.
    void aFloodIsAnsweredInFull() {
        BusRig rig(m_broker.port());
        rig.switcher.holdAnswers = true;
        CONNECT(rig, observer);
        constexpr int sent = 300;
        constexpr int taken = bus::CommandQueue::runningLimit + bus::CommandQueue::waitingLimit;
        for (int i = 0; i < sent; ++i)
            QVERIFY(observer.publish(rig.topic("monitor/1/set"), QByteArray::number(1 + i % 16)));
        QTRY_COMPARE(observer.on(rig.topic("result")).size(), sent - taken);
        QCOMPARE(rig.switcher.calls.size(), bus::CommandQueue::runningLimit);
        for (const auto &m : observer.on(rig.topic("result")))
            QVERIFY(json(m.payload)["reason"].toString().startsWith(QStringLiteral("queue full")));
        // The rest start at the line's pace, each as one before it ends.
        const auto releaseAll = [&] {
            while (!rig.switcher.held.isEmpty())
                rig.switcher.release();
            return observer.on(rig.topic("result")).size();
        };
        QTRY_COMPARE_WITH_TIMEOUT(releaseAll(), sent, 10000);
        QCOMPARE(rig.switcher.calls.size(), taken);
        // In order: the first taken routed camera 1, the last camera 68 % 16.
        QCOMPARE(rig.switcher.calls.first().what, QStringLiteral("route 1 1"));
        QCOMPARE(rig.switcher.calls.last().what,
                 QStringLiteral("route 1 %1").arg(1 + (taken - 1) % 16));
    }

    // The broker stops: the station says why and when it tries again; the
    // broker starts again: the station is back, and a newcomer finds the
    // state as it is now, changes made meanwhile included.
    void theStateIsCurrentAfterTheBrokerComesBack() {
        Broker broker;
        START_BROKER(broker);
        BusRig rig(broker.port());
        QSignalSpy told(rig.client.get(), &bus::BusClient::connectedChanged);
        rig.client->start();
        QTRY_VERIFY(rig.connected());

        broker.stop();
        QTRY_VERIFY(broker.stopped());
        QTRY_COMPARE(rig.client->state(), bus::BusClient::State::NotConnected);
        QCOMPARE(rig.client->stateText(),
                 QStringLiteral("MQTT: not connected: the connection was lost, retry in 1 s"));
        QCOMPARE(rig.client->reason(), QStringLiteral("the connection was lost"));
        rig.switcher.show(3, {9, false, {}});
        rig.cameras.setTitle(9, QStringLiteral("Loading bay"));

        broker.start();
        QTRY_VERIFY(broker.running());
        // The retry after a second finds it (or the one after, should the
        // broker have been a moment late).
        QTRY_VERIFY_WITH_TIMEOUT(rig.connected(), 8000);
        Observer observer(broker.port(), rig.topic("#"));
        QTRY_VERIFY(!observer.last(rig.topic("monitor/3")).isEmpty());
        QVERIFY(observer.retained(rig.topic("monitor/3")));
        QCOMPARE(json(observer.last(rig.topic("monitor/3")))["title"].toString(),
                 QStringLiteral("Loading bay"));
        QCOMPARE(observer.last(rig.topic("status")), QByteArray("online"));
        QVERIFY(told.size() >= 3);
        QCOMPARE(told[0], (QVariantList{true, QString()}));
        QCOMPARE(told[1], (QVariantList{false, QStringLiteral("the connection was lost")}));
        QCOMPARE(told.last(), (QVariantList{true, QString()}));
        broker.stop();
        QTRY_VERIFY(broker.stopped());
    }

    // Nobody listens: refused, and tried again 1, 2, 4 s later; the event
    // log hears it once. Once connected, the delay starts over.
    void aBrokerThatIsAwayIsTriedAgainLater() {
        Broker broker; // not started yet: its port is free
        BusRig rig(broker.port());
        QSignalSpy told(rig.client.get(), &bus::BusClient::connectedChanged);
        rig.client->start();
        QTRY_COMPARE(rig.client->state(), bus::BusClient::State::NotConnected);
        QCOMPARE(rig.client->stateText(),
                 QStringLiteral("MQTT: not connected: the connection was refused, retry in 1 s"));
        for (const int seconds : {2, 4, 8}) {
            rig.client->connection().retryNow();
            QTRY_COMPARE(rig.client->state(), bus::BusClient::State::NotConnected);
            QCOMPARE(rig.client->connection().retrySeconds(), seconds);
        }
        QCOMPARE(told.size(), 1);
        QCOMPARE(told[0], (QVariantList{false, QStringLiteral("the connection was refused")}));

        START_BROKER(broker);
        rig.client->connection().retryNow();
        QTRY_VERIFY(rig.connected());
        broker.stop();
        QTRY_COMPARE(rig.client->state(), bus::BusClient::State::NotConnected);
        QCOMPARE(rig.client->connection().retrySeconds(), 1);
    }

    // The broker's refusal is the reason (mosquitto answers an unknown user
    // "not authorised"), and it is tried again later.
    void aRefusalOfTheBrokerIsSaid() {
        Broker broker;
        broker.refuseEveryone();
        START_BROKER(broker);
        BusRig rig(broker.port());
        rig.settings.values[QStringLiteral("MQTT/User")] = QStringLiteral("panel");
        rig.settings.values[QStringLiteral("MQTT/Password")] = QStringLiteral("secret");
        rig.client->start();
        QTRY_COMPARE(rig.client->state(), bus::BusClient::State::NotConnected);
        QCOMPARE(rig.client->stateText(), QStringLiteral("MQTT: not connected: the broker refused: "
                                                         "not authorised, retry in 1 s"));
        broker.stop();
        QTRY_VERIFY(broker.stopped());
    }

    // With CAFile= the station speaks TLS and checks the broker's
    // certificate against it, by the name it was given.
    void tlsWhenACaFileIsSet_data() {
        QTest::addColumn<QString>("host");
        QTest::addColumn<bool>("trusted");
        QTest::addColumn<QString>("shown");
        QTest::newRow("by name") << "localhost" << true << "MQTT: connected to localhost:%1";
        QTest::newRow("by address") << "127.0.0.1" << true << "MQTT: connected to 127.0.0.1:%1";
        QTest::newRow("another CA")
            << "localhost" << false
            << "MQTT: not connected: the TLS handshake failed, retry in 1 s";
    }
    void tlsWhenACaFileIsSet() {
        QFETCH(QString, host);
        QFETCH(bool, trusted);
        const QString openssl = QStandardPaths::findExecutable(QStringLiteral("openssl"));
        if (openssl.isEmpty())
            QSKIP("openssl is not installed: no certificate for the broker");
        // A CA, the broker's certificate for localhost and 127.0.0.1 signed
        // by it, and a second CA that signed nothing.
        QTemporaryDir dir;
        const auto file = [&](const char *name) { return dir.filePath(QLatin1String(name)); };
        QFile ext(file("ext.cnf"));
        QVERIFY(ext.open(QIODevice::WriteOnly));
        ext.write("subjectAltName=DNS:localhost,IP:127.0.0.1\n");
        ext.close();
        const QList<QStringList> steps{
            {"req", "-x509", "-newkey", "ec", "-pkeyopt", "ec_paramgen_curve:prime256v1", "-nodes",
             "-keyout", file("ca.key"), "-out", file("ca.crt"), "-days", "2", "-subj",
             "/CN=Test CA"},
            {"req", "-x509", "-newkey", "ec", "-pkeyopt", "ec_paramgen_curve:prime256v1", "-nodes",
             "-keyout", file("other.key"), "-out", file("other.crt"), "-days", "2", "-subj",
             "/CN=Other CA"},
            {"req", "-newkey", "ec", "-pkeyopt", "ec_paramgen_curve:prime256v1", "-nodes",
             "-keyout", file("server.key"), "-out", file("server.csr"), "-subj", "/CN=localhost"},
            {"x509", "-req", "-in", file("server.csr"), "-CA", file("ca.crt"), "-CAkey",
             file("ca.key"), "-CAcreateserial", "-out", file("server.crt"), "-days", "2",
             "-extfile", file("ext.cnf")},
        };
        for (const QStringList &step : steps) {
            QProcess run;
            run.start(openssl, step);
            QTRY_COMPARE(run.state(), QProcess::NotRunning);
            QVERIFY2(run.exitCode() == 0, run.readAllStandardError().constData());
        }
        // The broker may read its key as another user once it drops root.
        QFile::setPermissions(file("server.key"), QFile::ReadOwner | QFile::ReadOther);
        QFile::setPermissions(dir.path(), QFile::ExeOther | QFile::ReadOwner | QFile::WriteOwner |
                                              QFile::ExeOwner);

        Broker broker;
        broker.useTls(file("server.crt"), file("server.key"));
        START_BROKER(broker);
        BusRig rig(broker.port());
        rig.settings.values[QStringLiteral("MQTT/Host")] = host;
        rig.settings.values[QStringLiteral("MQTT/CAFile")] =
            trusted ? file("ca.crt") : file("other.crt");
        rig.client->start();
        QTRY_VERIFY(rig.client->state() == bus::BusClient::State::Connected ||
                    rig.client->state() == bus::BusClient::State::NotConnected);
        QFETCH(QString, shown);
        QCOMPARE(rig.client->stateText(), trusted ? shown.arg(broker.port()) : shown);
        broker.stop();
        QTRY_VERIFY(broker.stopped());
    }

    void settingsThatCannotBeUsed_data() {
        QTest::addColumn<QString>("key");
        QTest::addColumn<QString>("value");
        QTest::addColumn<QString>("shown");
        QTest::newRow("off") << "Enabled"
                             << "false"
                             << "MQTT: off";
        QTest::newRow("port") << "Port"
                              << "70000"
                              << "MQTT: not connected: Port=70000 is not a port number";
        QTest::newRow("station")
            << "Station"
            << "gate/house"
            << "MQTT: not connected: Station=gate/house cannot stand in a topic";
        QTest::newRow("prefix") << "Prefix"
                                << "site/#"
                                << "MQTT: not connected: Prefix=site/# cannot stand in a topic";
    }
    void settingsThatCannotBeUsed() {
        QFETCH(QString, key);
        QFETCH(QString, value);
        BusRig rig(m_broker.port());
        rig.settings.values[QStringLiteral("MQTT/") + key] = value;
        rig.client->start();
        QTEST(rig.client->stateText(), "shown");
        QVERIFY(!rig.connected());
    }

    // Stopped, the station says offline itself (a last will goes out only
    // when a station ends without a goodbye).
    void stopSaysOffline() {
        BusRig rig(m_broker.port());
        CONNECT(rig, observer);
        rig.client->stop();
        QCOMPARE(rig.client->stateText(), QStringLiteral("MQTT: off"));
        QTRY_COMPARE(observer.last(rig.topic("status")), QByteArray("offline"));
        Observer later(m_broker.port(), rig.topic("status"));
        QTRY_COMPARE(later.last(rig.topic("status")), QByteArray("offline"));
        QVERIFY(later.retained(rig.topic("status")));
    }

    // Started again after a change of station: the old one says offline,
    // the new one online.
    void aRestartUnderAnotherStationLeavesTheOldOneOffline() {
        BusRig rig(m_broker.port());
        CONNECT(rig, observer);
        const QByteArray oldStatus = rig.topic("status");
        rig.station += QStringLiteral("b");
        rig.settings.values[QStringLiteral("MQTT/Station")] = rig.station;
        rig.client->start();
        QTRY_VERIFY(rig.connected());
        QTRY_COMPARE(observer.last(oldStatus), QByteArray("offline"));
        Observer renamed(m_broker.port(), rig.topic("status"));
        QTRY_COMPARE(renamed.last(rig.topic("status")), QByteArray("online"));
    }

    // A broker that stops reading: events are left out and counted, what
    // waits for it stays bounded, and the count goes out once it reads again.
    void eventsAreBoundedWhenTheBrokerStalls() {
        Broker broker;
        START_BROKER(broker);
        BusRig rig(broker.port());
        rig.client->start();
        QTRY_VERIFY(rig.connected());
        Observer observer(broker.port(), rig.topic("events"));
        QTRY_VERIFY(observer.connected());

        broker.pause();
        events::Event event;
        event.meaning = QString(4096, QLatin1Char('x'));
        int published = 0;
        while (rig.client->eventsDropped() == 0 && published < 100000) {
            emit rig.log.noted(event);
            ++published;
            QVERIFY(rig.client->connection().unwritten() <= bus::BusClient::eventBacklog);
        }
        QVERIFY2(rig.client->eventsDropped() > 0, "the socket never filled");
        qInfo("%d events of 4 KB filled the socket", published);
        for (int i = 0; i < 100; ++i)
            emit rig.log.noted(event);
        const qint64 dropped = rig.client->eventsDropped();
        QVERIFY(dropped >= 100);

        broker.resume();
        QTRY_COMPARE_WITH_TIMEOUT(rig.client->connection().unwritten(), 0, 20000);
        event.meaning = QStringLiteral("after");
        emit rig.log.noted(event);
        QTRY_COMPARE_WITH_TIMEOUT(json(observer.messages.last().payload)["meaning"].toString(),
                                  QStringLiteral("after"), 20000);
        const QJsonObject count = json(observer.messages.at(observer.messages.size() - 2).payload);
        QCOMPARE(count["dropped"].toInteger(), dropped);
        QCOMPARE(observer.messages.size(), published + 100 - dropped + 2);
        broker.stop();
        QTRY_VERIFY(broker.stopped());
    }

    // Home Assistant finds the monitors, the link, the salvos and the tours;
    // what the station no longer has (a salvo gone, a config left by an
    // earlier run) is removed.
    void discoveryFollowsTheStation() {
        BusRig rig(m_broker.port());
        rig.settings.values[QStringLiteral("MQTT/Discovery")] = QStringLiteral("true");
        rig.automation.salvoNames = {QStringLiteral("Night")};
        rig.automation.tourStates = {{2, 1, automation::Automation::TourState::Run::Stopped, 0, 3}};
        const QByteArray node = "homeassistant/+/velmar_" + rig.station.toUtf8() + "/+/config";
        const QByteArray left =
            "homeassistant/button/velmar_" + rig.station.toUtf8() + "/salvo_old/config";
        Observer ha(m_broker.port(), node);
        QTRY_VERIFY(ha.connected());
        ha.publish(left, R"({"name": "Salvo Old"})", true);

        rig.client->start();
        QTRY_COMPARE(ha.on(left).size(), 2); // cleared
        QVERIFY(ha.last(left).isEmpty());
        const QByteArray select =
            "homeassistant/select/velmar_" + rig.station.toUtf8() + "/monitor_1/config";
        const QByteArray tour =
            "homeassistant/switch/velmar_" + rig.station.toUtf8() + "/tour_2/config";
        const QByteArray link =
            "homeassistant/binary_sensor/velmar_" + rig.station.toUtf8() + "/link/config";
        QTRY_VERIFY(!ha.last(select).isEmpty());
        QTRY_VERIFY(!ha.last(tour).isEmpty());
        QTRY_VERIFY(!ha.last(link).isEmpty());
        QCOMPARE(json(ha.last(select))["command_topic"].toString(),
                 QString::fromUtf8(rig.topic("monitor/1/set")));
        QByteArray salvo;
        for (const auto &m : ha.messages) {
            if (m.topic.contains("/button/") && json(m.payload)["payload_press"] == "Night")
                salvo = m.topic;
        }
        QVERIFY(!salvo.isEmpty());

        rig.cameras.setTitle(3, QStringLiteral("Gate"));
        QTRY_COMPARE(json(ha.last(select))["options"].toArray().at(2).toString(),
                     QStringLiteral("Gate"));
        rig.automation.salvoNames.clear();
        emit rig.automation.salvosChanged();
        QTRY_VERIFY(ha.last(salvo).isEmpty());
        QVERIFY(!ha.last(select).isEmpty());
    }
};

VELMAR_TEST_MAIN(TestBusClient)
#include "tst_busclient.moc"

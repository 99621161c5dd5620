// What the bus reads and writes without a broker: the commands on the
// station's topics, the cameras' names, the delay between attempts, the
// bounded queue toward the switcher, and Home Assistant's discovery configs.
#include "TestMain.h"
#include "bus/BusSettings.h"
#include "bus/CameraOptions.h"
#include "bus/Command.h"
#include "bus/CommandQueue.h"
#include "bus/Discovery.h"
#include "bus/ReconnectDelay.h"
#include "config/CameraModel.h"

#include <QElapsedTimer>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QTest>
#include <algorithm>

using bus::Command;
using devicelink::Outcome;

namespace {
QStringList designTitles() {
    QStringList titles;
    for (int k = 1; k <= 16; ++k)
        titles << config::CameraModel::designTitle(k);
    return titles;
}

QString shown(const Command &c) {
    using Kind = Command::Kind;
    switch (c.kind) {
    case Kind::Invalid:
        return QStringLiteral("refused: ") + c.error;
    case Kind::Route:
        return QStringLiteral("route %1 %2").arg(c.monitor).arg(c.camera);
    case Kind::RecallPreset:
        return QStringLiteral("preset %1 on camera %2").arg(c.preset).arg(c.camera);
    case Kind::RecallSalvo:
        return QStringLiteral("salvo ") + c.salvo;
    case Kind::StartTour:
        return QStringLiteral("tour %1 start").arg(c.tour);
    case Kind::StopTour:
        return QStringLiteral("tour %1 stop").arg(c.tour);
    case Kind::RaiseAlarm:
        return QStringLiteral("alarm %1 on").arg(c.alarm);
    case Kind::ClearAlarm:
        return QStringLiteral("alarm %1 off").arg(c.alarm);
    case Kind::AckAlarm:
        return QStringLiteral("alarm %1 ack").arg(c.alarm);
    }
    return {};
}

QJsonObject json(const QByteArray &payload) {
    QJsonParseError error;
    const QJsonDocument doc = QJsonDocument::fromJson(payload, &error);
    if (error.error != QJsonParseError::NoError)
        qWarning("not JSON: %s", payload.constData());
    return doc.object();
}
} // namespace

class TestBusCommand : public QObject {
    Q_OBJECT
private slots:
    // Each command topic with what its payload may hold, and why anything
    // else is refused.
    void commandsAreRead_data() {
        QTest::addColumn<QByteArray>("topic");
        QTest::addColumn<QByteArray>("payload");
        QTest::addColumn<QString>("read");
        const auto row = [](const char *name, const char *topic, const QByteArray &payload,
                            const char *read) {
            QTest::newRow(name) << QByteArray(topic) << payload << QString::fromUtf8(read);
        };
        row("route", "monitor/2/set", "5", "route 2 5");
        row("route, blanks around", "monitor/4/set", " 16\r\n", "route 4 16");
        row("route, leading zero", "monitor/1/set", "07", "route 1 7");
        row("route by name", "monitor/3/set", "CAMERA 12", "route 3 12");
        row("route by name, blanks around", "monitor/3/set", "  CAMERA 2 ", "route 3 2");
        row("name in another case", "monitor/3/set", "camera 2",
            "refused: no camera named \"camera 2\"");
        row("camera 0", "monitor/1/set", "0", "refused: no camera 0: cameras are 1 to 16");
        row("camera 17", "monitor/1/set", "17", "refused: no camera 17: cameras are 1 to 16");
        row("negative", "monitor/1/set", "-3", "refused: no camera named \"-3\"");
        row("five digits", "monitor/1/set", "00005", "refused: no camera named \"00005\"");
        row("empty", "monitor/1/set", "", "refused: no camera named \"\"");
        row("not UTF-8", "monitor/1/set", "\xff\xfe", "refused: no camera named \"??\"");
        row("monitor 0", "monitor/0/set", "1", "refused: no monitor 0: monitors are 1 to 4");
        row("monitor 5", "monitor/5/set", "1", "refused: no monitor 5: monitors are 1 to 4");
        row("monitor by word", "monitor/two/set", "1", "refused: \"two\" is not a monitor number");
        row("preset", "camera/7/preset/set", "3", "preset 3 on camera 7");
        row("preset 17", "camera/7/preset/set", "17", "refused: no preset 17: presets are 1 to 16");
        row("preset of camera 99", "camera/99/preset/set", "1",
            "refused: no camera 99: cameras are 1 to 16");
        row("salvo", "salvo/set", "Night shift", "salvo Night shift");
        row("salvo, UTF-8", "salvo/set", "Notte \xc3\xa8", "salvo Notte \xc3\xa8");
        row("salvo, blank", "salvo/set", "  ", "refused: no salvo named: the payload is empty");
        row("salvo, control", "salvo/set",
            "a\x01"
            "b",
            "refused: a salvo's name has no control characters");
        row("salvo, not UTF-8", "salvo/set", "\xc3", "refused: a salvo's name is UTF-8 text");
        row("tour on", "tour/2/set", "ON", "tour 2 start");
        row("tour off, lower case", "tour/12/set", "off", "tour 12 stop");
        row("tour, other word", "tour/2/set", "START",
            "refused: a tour takes ON or OFF, not \"START\"");
        row("tour 0", "tour/0/set", "ON", "refused: no tour 0: tours are 1 to 999");
        row("alarm on", "alarm/7/set", "ON", "alarm 7 on");
        row("alarm off", "alarm/64/set", "OFF", "alarm 64 off");
        row("alarm ack", "alarm/1/set", "ack", "alarm 1 ack");
        row("alarm 65", "alarm/65/set", "ON",
            "refused: no alarm input 65: alarm inputs are 1 to 64");
        row("alarm, other word", "alarm/1/set", "1",
            "refused: an alarm input takes ON, OFF or ACK, not \"1\"");
        row("at the limit", "salvo/set", QByteArray(256, 'x'),
            qPrintable("salvo " + QString(256, 'x')));
        row("over the limit", "monitor/1/set", QByteArray(257, '1'),
            "refused: the payload is too large: 257 bytes, at most 256");
        row("a long reason is cut", "tour/1/set", QByteArray(40, 'y'),
            qPrintable("refused: a tour takes ON or OFF, not \"" + QString(32, 'y') + "...\""));
        row("unknown topic", "monitor/1/get", "1", "refused: not a command topic");
        row("extra level", "monitor/1/set/x", "1", "refused: not a command topic");
        row("a state topic", "monitor/1", "1", "refused: not a command topic");
    }
    void commandsAreRead() {
        QFETCH(QByteArray, topic);
        QFETCH(QByteArray, payload);
        const QStringList options = bus::cameraOptions(designTitles());
        QTEST(shown(Command::read(topic, payload, options)), "read");
    }

    // Every camera has a name of its own that does not read as a number,
    // whatever the titles are.
    void camerasHaveNamesOfTheirOwn_data() {
        QTest::addColumn<QStringList>("titles");
        QTest::addColumn<QStringList>("options");
        QTest::newRow("plain") << QStringList{"Gate", "Yard"} << QStringList{"Gate", "Yard"};
        QTest::newRow("shared") << QStringList{"Gate", "Gate", "Yard"}
                                << QStringList{"Gate (1)", "Gate (2)", "Yard"};
        QTest::newRow("empty") << QStringList{"", "  "} << QStringList{"Camera 1", "Camera 2"};
        QTest::newRow("a number") << QStringList{"12", "Yard"} << QStringList{"12 (1)", "Yard"};
        QTest::newRow("control characters")
            << QStringList{"Ga\tte\x01", "Yard"} << QStringList{"Ga te", "Yard"};
        QTest::newRow("meets a numbered name")
            << QStringList{"A", "A", "A (1)"} << QStringList{"A (1)", "A (2)", "A (1) (3)"};
        QTest::newRow("empty meets a title")
            << QStringList{"", "Camera 1"} << QStringList{"Camera 1 (1)", "Camera 1 (2)"};
    }
    void camerasHaveNamesOfTheirOwn() {
        QFETCH(QStringList, titles);
        const QStringList options = bus::cameraOptions(titles);
        QTEST(options, "options");
        // ... and each name routes its own camera.
        for (int k = 0; k < options.size(); ++k) {
            const Command c = Command::read("monitor/1/set", options[k].toUtf8(), options);
            QCOMPARE(c.camera, k + 1);
        }
    }

    // 1 s after the first failure, doubling, never more than a minute.
    void theDelayGrows_data() {
        QTest::addColumn<int>("failures");
        QTest::addColumn<int>("seconds");
        const int table[][2] = {{0, 1},  {1, 1},  {2, 2},  {3, 4},    {4, 8},       {5, 16},
                                {6, 32}, {7, 60}, {8, 60}, {100, 60}, {1000000, 60}};
        for (const auto &[failures, seconds] : table)
            QTest::addRow("%d", failures) << failures << seconds;
    }
    void theDelayGrows() {
        QFETCH(int, failures);
        QTEST(bus::ReconnectDelay::afterFailures(failures), "seconds");
    }
    void theDelayStartsOverAfterAConnection() {
        bus::ReconnectDelay delay;
        QCOMPARE((QList<int>{delay.fail(), delay.fail(), delay.fail()}), (QList<int>{1, 2, 4}));
        delay.reset();
        QCOMPARE(delay.fail(), 1);
    }

    // The queue holds four running and 64 waiting; beyond that a command is
    // refused at once, and every command is answered exactly once.
    void theQueueIsBounded() {
        bus::CommandQueue queue;
        queue.setPace(0);
        QList<devicelink::Done> ends;
        QList<Outcome> answers;
        const int offered = bus::CommandQueue::runningLimit + bus::CommandQueue::waitingLimit + 10;
        for (int i = 0; i < offered; ++i)
            queue.offer([&](const devicelink::Done &done) { ends.append(done); },
                        [&](const Outcome &o) { answers.append(o); });
        QCOMPARE(ends.size(), bus::CommandQueue::runningLimit);
        QCOMPARE(queue.waiting(), bus::CommandQueue::waitingLimit);
        QCOMPARE(answers.size(), 10);
        for (const Outcome &o : answers) {
            QCOMPARE(o.kind, Outcome::Kind::Refused);
            QCOMPARE(o.reason, QStringLiteral("queue full: 68 commands wait for the switcher"));
        }
        // As each ends, the next runs; an answer given twice counts once.
        while (!ends.isEmpty()) {
            const devicelink::Done done = ends.takeFirst();
            done(Outcome::done());
            done(Outcome::notSent(QStringLiteral("again")));
        }
        QCOMPARE(answers.size(), offered);
        QCOMPARE(std::count_if(answers.cbegin(), answers.cend(),
                               [](const Outcome &o) { return o.ok(); }),
                 offered - 10);
        QCOMPARE(queue.running() + queue.waiting(), 0);
    }

    // Operations that end before they return, and answers that offer the
    // next command, neither nest nor lose a command.
    void answersAtOnceDoNotNest() {
        bus::CommandQueue queue;
        queue.setPace(0);
        int depth = 0;
        int deepest = 0;
        int answered = 0;
        std::function<void(int)> offer = [&](int left) {
            queue.offer(
                [&](const devicelink::Done &done) {
                    deepest = qMax(deepest, ++depth);
                    done(Outcome::done());
                    --depth;
                },
                [&, left](const Outcome &) {
                    ++answered;
                    if (left > 0)
                        offer(left - 1);
                });
        };
        offer(500);
        QCOMPARE(answered, 501);
        QCOMPARE(deepest, 1);
    }

    // Commands start at the line's pace: a burst, then one an interval.
    void commandsStartAtThePace() {
        bus::CommandQueue queue;
        QElapsedTimer clock;
        clock.start();
        QList<qint64> started;
        for (int i = 0; i < bus::CommandQueue::burst + 8; ++i)
            queue.offer(
                [&](const devicelink::Done &done) {
                    started.append(clock.elapsed());
                    done(Outcome::done());
                },
                [](const Outcome &) {});
        QCOMPARE(started.size(), bus::CommandQueue::burst);
        QTRY_COMPARE(started.size(), bus::CommandQueue::burst + 8);
        // Eight more a pace apart: at least seven intervals after the burst.
        QVERIFY(started.last() - started.first() >= 7 * bus::CommandQueue::intervalMs - 2);
    }

    // A flood of commands that each end at once: the pace, not the running
    // ones, holds them back, and the waiting places are still a bound.
    void aFloodFasterThanThePaceIsRefusedPastTheWaitingPlaces() {
        bus::CommandQueue queue;
        int started = 0;
        QStringList refusals;
        const int offered = bus::CommandQueue::burst + bus::CommandQueue::waitingLimit + 20;
        for (int i = 0; i < offered; ++i)
            queue.offer(
                [&](const devicelink::Done &done) {
                    ++started;
                    done(Outcome::done());
                },
                [&](const Outcome &o) {
                    if (o.kind == Outcome::Kind::Refused)
                        refusals << o.reason;
                });
        QCOMPARE(started, bus::CommandQueue::burst);
        QCOMPARE(queue.waiting(), bus::CommandQueue::waitingLimit);
        QCOMPARE(refusals.size(), 20);
        QVERIFY2(refusals.first().startsWith(QStringLiteral("queue full")),
                 qPrintable(refusals.first()));
    }

    // An operation that never ends is answered when its time is up, and its
    // place goes to the next.
    void aCommandWithoutOutcomeIsRefusedInTime() {
        bus::CommandQueue queue(40);
        QList<Outcome> answers;
        for (int i = 0; i < 5; ++i)
            queue.offer([](const devicelink::Done &) {},
                        [&](const Outcome &o) { answers.append(o); });
        QCOMPARE(queue.waiting(), 1);
        QTRY_COMPARE(answers.size(), 5);
        QCOMPARE(answers.first().reason,
                 QStringLiteral("no outcome from the switcher within 0.04 s"));
    }

    void dropWaitingAnswersWhatWaits() {
        bus::CommandQueue queue;
        QList<Outcome> answers;
        for (int i = 0; i < 6; ++i)
            queue.offer([](const devicelink::Done &) {},
                        [&](const Outcome &o) { answers.append(o); });
        queue.dropWaiting(QStringLiteral("stopped"));
        QCOMPARE(answers.size(), 2);
        QCOMPARE(answers.first().kind, Outcome::Kind::Refused);
        QCOMPARE(answers.first().reason, QStringLiteral("stopped"));
    }

    // A select per monitor offering the cameras by name, showing the camera
    // the monitor's state names; the link as a connectivity sensor; a button
    // per salvo; a switch per tour; all of one device, available while the
    // station is online.
    void discoveryConfigs() {
        bus::BusSettings settings;
        settings.prefix = QStringLiteral("site/a");
        settings.station = QStringLiteral("gate.house");
        const bus::Discovery discovery(settings);
        QStringList options = bus::cameraOptions(designTitles());
        options[1] = QStringLiteral("Say \"hi\" \\o/");

        const bus::Discovery::Config select = discovery.monitor(2, options);
        QCOMPARE(select.topic,
                 QByteArray("homeassistant/select/site_a_gate_house/monitor_2/config"));
        const QJsonObject s = json(select.payload);
        QCOMPARE(s["unique_id"].toString(), QStringLiteral("site_a_gate_house_monitor_2"));
        QCOMPARE(s["object_id"].toString(), QStringLiteral("site_a_gate_house_monitor_2"));
        QCOMPARE(s["name"].toString(), QStringLiteral("Monitor 2"));
        QCOMPARE(s["command_topic"].toString(), QStringLiteral("site/a/gate.house/monitor/2/set"));
        QCOMPARE(s["state_topic"].toString(), QStringLiteral("site/a/gate.house/monitor/2"));
        QCOMPARE(s["availability_topic"].toString(), QStringLiteral("site/a/gate.house/status"));
        QCOMPARE(s["payload_available"].toString(), QStringLiteral("online"));
        QCOMPARE(s["payload_not_available"].toString(), QStringLiteral("offline"));
        QCOMPARE(s["options"].toArray().toVariantList().size(), 16);
        QCOMPARE(s["options"].toArray()[1].toString(), options[1]);
        QString expected = QStringLiteral("{{ {1: \"CAMERA 1\", 2: \"Say \\\"hi\\\" \\\\o/\"");
        for (int k = 3; k <= 16; ++k)
            expected += QStringLiteral(", %1: \"CAMERA %1\"").arg(k);
        expected += QStringLiteral("}.get(value_json.camera, \"None\") }}");
        QCOMPARE(s["value_template"].toString(), expected);
        const QJsonObject device = s["device"].toObject();
        QCOMPARE(device["identifiers"].toArray()[0].toString(),
                 QStringLiteral("site_a_gate_house"));
        QCOMPARE(device["name"].toString(), QStringLiteral("Velmar gate.house"));

        const QJsonObject link = json(discovery.link().payload);
        QCOMPARE(discovery.link().topic,
                 QByteArray("homeassistant/binary_sensor/site_a_gate_house/link/config"));
        QCOMPARE(link["device_class"].toString(), QStringLiteral("connectivity"));
        QCOMPARE(link["state_topic"].toString(), QStringLiteral("site/a/gate.house/link"));
        QCOMPARE(link["value_template"].toString(),
                 QStringLiteral("{{ \"ON\" if value_json.ok else \"OFF\" }}"));

        const bus::Discovery::Config salvo = discovery.salvo(QStringLiteral("Night/2 +#"));
        QVERIFY(salvo.topic.startsWith("homeassistant/button/site_a_gate_house/salvo_"));
        QCOMPARE(salvo.topic, discovery.salvo(QStringLiteral("Night/2 +#")).topic);
        QVERIFY(salvo.topic != discovery.salvo(QStringLiteral("Night/3 +#")).topic);
        const QJsonObject button = json(salvo.payload);
        QCOMPARE(button["command_topic"].toString(), QStringLiteral("site/a/gate.house/salvo/set"));
        QCOMPARE(button["payload_press"].toString(), QStringLiteral("Night/2 +#"));

        const QJsonObject tour = json(discovery.tour(3, 2).payload);
        QCOMPARE(discovery.tour(3, 2).topic,
                 QByteArray("homeassistant/switch/site_a_gate_house/tour_3/config"));
        QCOMPARE(tour["name"].toString(), QStringLiteral("Tour 3 (monitor 2)"));
        QCOMPARE(tour["command_topic"].toString(), QStringLiteral("site/a/gate.house/tour/3/set"));
        QCOMPARE(tour["state_topic"].toString(), QStringLiteral("site/a/gate.house/tour/3"));
        QCOMPARE(tour["payload_on"].toString(), QStringLiteral("ON"));
        QCOMPARE(tour["payload_off"].toString(), QStringLiteral("OFF"));
    }
};

VELMAR_TEST_MAIN(TestBusCommand)
#include "tst_buscommand.moc"

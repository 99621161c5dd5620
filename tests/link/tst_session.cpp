// The switcher session on fake platform parts, without any window: what
// leaves on each channel and who sent it, what replies do to the routing
// model, and the terminal log's failed writes.
#include "Fakes.h"
#include "TestMain.h"
#include "link/LinkMonitor.h"
#include "link/RoutingModel.h"
#include "link/Session.h"
#include "link/StatusPolls.h"
#include "ui/QtDatagramSocket.h"
#include "ui/Timer.h"

#include <QFile>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTimer>

using devicelink::ChannelChoice;
using devicelink::Frame;
using devicelink::Origin;
using devicelink::Session;

Q_DECLARE_METATYPE(devicelink::Frame)

class TestSession : public QObject {
    Q_OBJECT

    struct Rig {
        fakes::SerialPort port;
        fakes::DatagramSocket socket;
        fakes::Clock clock;
        Session session{port, socket, clock};
        QList<Frame> frames;

        Rig() {
            session.serial().openPort();
            session.polls().stop();
            for (auto signal :
                 {&Session::frameSent, &Session::frameReceived, &Session::frameIgnored})
                QObject::connect(&session, signal, &session,
                                 [this](const Frame &f) { frames.append(f); });
        }
    };

private slots:
    // Every send names its channel and its origin; the bytes are the
    // channel's framing of the code.
    void sendsCarryTheirOrigin_data() {
        QTest::addColumn<QString>("address");
        QTest::addColumn<int>("kind");
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<QString>("channel");
        QTest::addColumn<QString>("origin");
        QTest::newRow("serial, panel")
            << "0.0.0.0" << int(Origin::Kind::Panel) << QByteArray("\x35\r") << "serial Com1"
            << "panel";
        QTest::newRow("site, code box") << "10.1.2.3" << int(Origin::Kind::CodeBox)
                                        << QByteArray("\x00\x35\r", 3) << "10.1.2.3:2000"
                                        << "code box";
    }
    void sendsCarryTheirOrigin() {
        QFETCH(QString, address);
        QFETCH(int, kind);
        Rig rig;
        rig.session.setChannel(ChannelChoice::fromAddress(address));
        devicelink::SessionSink sink(rig.session, Origin{static_cast<Origin::Kind>(kind)});
        sink.send(devicelink::number(5));
        QCOMPARE(rig.frames.size(), 1);
        const Frame &f = rig.frames.first();
        QTEST(f.bytes, "bytes");
        QTEST(f.channel, "channel");
        QTEST(f.origin.text(), "origin");
        QCOMPARE(f.at, rig.clock.ms);
        QCOMPARE(rig.port.written +
                     (rig.socket.sent.isEmpty() ? QByteArray() : rig.socket.sent[0].datagram),
                 f.bytes);
    }

    // A reply fills the routing model with its time and channel; a change of
    // channel or a lost port makes what it holds stale until a reply again.
    void repliesFillTheRoutingModel() {
        Rig rig;
        QSignalSpy changed(&rig.session, &Session::routingChanged);
        rig.port.receive(QByteArray("\x01\x40\x08\x00", 4)); // monitor 2, camera 5
        const devicelink::RoutingModel::Entry &e = rig.session.routing().entry(2);
        QCOMPARE(e.camera, 5);
        QCOMPARE(e.channel, "serial Com1");
        QCOMPARE(e.at, rig.clock.ms);
        QVERIFY(!e.stale);
        QCOMPARE(rig.session.routing().entry(1).camera, 0);
        QCOMPARE(changed.size(), 1);

        rig.session.setChannel(ChannelChoice::site(QStringLiteral("10.1.2.3")));
        QVERIFY(e.stale);
        rig.session.setChannel(ChannelChoice::serial());
        rig.port.receive(QByteArray("\x01\x40\x08\x00", 4));
        QVERIFY(!e.stale);
        rig.port.loseLink(QStringLiteral("gone"));
        QVERIFY(e.stale);
        QCOMPARE(e.camera, 5);
    }

    // A datagram from a host other than the site is reported as ignored,
    // neither decoded nor acknowledged; the site's own is both.
    void onlyTheSiteIsHeard() {
        Rig rig;
        rig.session.setChannel(ChannelChoice::site(QStringLiteral("10.1.2.3")));
        rig.session.Timer3_Timer();
        QCOMPARE(rig.socket.sent.last().datagram, QByteArray("1.\r"));
        rig.socket.arrive(QByteArray("\x01\x01\x40\x08\x00", 5), QStringLiteral("10.9.9.9"));
        QCOMPARE(rig.frames.last().direction, Frame::Direction::Ignored);
        QCOMPARE(rig.session.routing().entry(2).camera, 0);
        QCOMPARE(rig.socket.sent.size(), 1);
        rig.socket.arrive(QByteArray("\x01\x01\x40\x08\x00", 5), QStringLiteral("10.1.2.3"));
        QCOMPARE(rig.session.routing().entry(2).camera, 5);
        QCOMPARE(rig.session.routing().entry(2).channel, "10.1.2.3:2000");
        QCOMPARE(rig.socket.sent.last().datagram, QByteArray("0"));
        QCOMPARE(rig.frames.last().origin.text(), "acknowledgement");
    }

    // A log write that fails is said once; what arrives meanwhile waits
    // behind it and goes out in order on a retry.
    void aFailedLogWriteWaitsInOrder() {
        Rig rig;
        QSignalSpy failed(&rig.session, &Session::logWriteFailed);
        QVERIFY(rig.session.log().open(QStringLiteral("/dev/full"), true).isEmpty());
        rig.port.receive("one\n");
        rig.port.receive("two\n");
        QCOMPARE(failed.size(), 1);
        // The operator frees the disk (here: a log that can be written).
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("terminal.log"));
        QVERIFY(rig.session.log().open(path, false).isEmpty());
        rig.session.retryLogWrite();
        rig.port.receive("three");
        QCOMPARE(failed.size(), 1);
        QFile written(path);
        QVERIFY(written.open(QIODevice::ReadOnly));
        QCOMPARE(written.readAll(), QByteArray("onetwothree"));
    }

    // A site named by a host name: a command given while the name resolves
    // is listed when it really leaves, or as not sent, with the reason.
    void aCommandIsListedWhenItLeaves_data() {
        QTest::addColumn<bool>("resolves");
        QTest::newRow("resolves") << true;
        QTest::newRow("does not resolve") << false;
    }
    void aCommandIsListedWhenItLeaves() {
        QFETCH(bool, resolves);
        fakes::SerialPort port;
        ui::QtDatagramSocket socket;
        fakes::Clock clock;
        socket.setResolver(
            [resolves](const QString &, QObject *context, ui::QtDatagramSocket::Answer answer) {
                QTimer::singleShot(100, context, [answer, resolves] {
                    if (resolves)
                        answer({QHostAddress(QHostAddress::LocalHost)}, {});
                    else
                        answer({}, QStringLiteral("Host not found"));
                });
            });
        Session session(port, socket, clock);
        QList<Frame> frames;
        for (auto signal : {&Session::frameSent, &Session::frameNotSent})
            QObject::connect(&session, signal, &session,
                             [&frames](const Frame &f) { frames.append(f); });
        session.setChannel(ChannelChoice::site(QStringLiteral("gw.site-a")));
        const qint64 clicked = clock.ms;
        devicelink::SessionSink(session, Origin::Kind::Panel).send(devicelink::number(1));
        QVERIFY(frames.isEmpty());
        clock.ms += 100;
        QTRY_COMPARE(frames.size(), 1);
        const Frame &f = frames.first();
        QCOMPARE(f.direction, resolves ? Frame::Direction::Sent : Frame::Direction::NotSent);
        QCOMPARE(f.at, clicked + 100);
        QCOMPARE(f.bytes, QByteArray("\x00\x31\r", 3));
        QCOMPARE(f.origin.text(), "panel");
        if (!resolves)
            QCOMPARE(f.note, "gw.site-a does not resolve (Host not found)");
    }

    // A reply is credited to the channel it came on: the previous site's
    // datagram after a return to the serial port is not the serial line's.
    void aReplyIsCreditedToItsChannel() {
        Rig rig;
        devicelink::LinkMonitor monitor(rig.session);
        rig.session.setChannel(ChannelChoice::site(QStringLiteral("10.1.2.3")));
        rig.session.statusRequest(Origin::Kind::StatusPoll);
        rig.session.setChannel(ChannelChoice::serial());
        rig.socket.arrive(QByteArray("\x01\x01\x40\x08\x00", 5), QStringLiteral("10.1.2.3"));
        QCOMPARE(rig.session.routing().entry(2).channel, "10.1.2.3:2000");
        QVERIFY(monitor.answerText().endsWith("(the previous channel)"));
        QCOMPARE(monitor.level(), devicelink::LinkMonitor::Level::Warning);
    }

    // F5 with the port closed says that nothing was sent, and why.
    void aRequestThatCannotLeaveSaysSo() {
        Rig rig;
        devicelink::LinkMonitor monitor(rig.session);
        rig.session.serial().closePort();
        QVERIFY(!rig.session.statusRequest(Origin::Kind::StatusPoll));
        QVERIFY2(monitor.answerText().contains("not sent: the port is closed"),
                 qPrintable(monitor.answerText()));
        QCOMPARE(monitor.stateText(), "Closed");
    }
};

VELMAR_TEST_MAIN(TestSession)
#include "tst_session.moc"

// The real UDP adapter on 127.0.0.1: frames arrive whole, replies are told
// apart by sender, and nothing ever goes to 0.0.0.0.
#include "TestMain.h"
#include "ui/QtDatagramSocket.h"

#include <QNetworkDatagram>
#include <QSignalSpy>
#include <QTest>
#include <QTimer>
#include <QUdpSocket>

class TestDatagram : public QObject {
    Q_OBJECT

    // A gateway on the loopback, on a port the system picks.
    struct Gateway {
        QUdpSocket socket;
        Gateway() { socket.bind(QHostAddress::LocalHost, 0); }
        QList<QNetworkDatagram> receive(int atLeast) {
            QList<QNetworkDatagram> out;
            (void)QTest::qWaitFor(
                [&] {
                    while (socket.hasPendingDatagrams())
                        out.append(socket.receiveDatagram());
                    return out.size() >= atLeast;
                },
                3000);
            return out;
        }
    };

private slots:
    void sendsToTheRemoteHostAndHearsItsReply() {
        Gateway gateway;
        ui::QtDatagramSocket socket;
        socket.setRemotePort(gateway.socket.localPort());
        socket.setRemoteHost(QStringLiteral("127.0.0.1"));
        QCOMPARE(socket.SendData(QByteArray("\x00\x31\r", 3)), ui::DatagramSocket::Outcome::Sent);
        const auto got = gateway.receive(1);
        QCOMPARE(got.size(), 1);
        QCOMPARE(got[0].data(), QByteArray("\x00\x31\r", 3));
        QVERIFY(socket.localPort() != 0);

        QSignalSpy arrivals(&socket, &ui::DatagramSocket::DataArrival);
        gateway.socket.writeDatagram(QByteArray("\x01\x00\x80\x00", 4), got[0].senderAddress(),
                                     got[0].senderPort());
        QTRY_COMPARE(arrivals.count(), 1);
        QCOMPARE(arrivals[0][0].toByteArray(), QByteArray("\x01\x00\x80\x00", 4));
        const auto sender = arrivals[0][1].value<QHostAddress>();
        QVERIFY(socket.isFromRemoteHost(sender));
        QVERIFY(socket.isFromRemoteHost(QHostAddress(QStringLiteral("::ffff:127.0.0.1"))));
        QVERIFY(!socket.isFromRemoteHost(QHostAddress(QStringLiteral("127.0.0.2"))));
    }

    void neverSendsToTheSerialMarker() {
        Gateway gateway;
        ui::QtDatagramSocket socket;
        socket.setRemotePort(gateway.socket.localPort());
        for (const char *host : {"0.0.0.0", "0.0.0.0 ", "::"}) {
            socket.setRemoteHost(QLatin1String(host));
            socket.SendData("0");
        }
        QTest::qWait(200);
        QVERIFY(!gateway.socket.hasPendingDatagrams());
    }

    // A name is looked up once, when it is given, not per datagram; what is
    // sent meanwhile leaves in order once it resolves, or is dropped, with
    // the reason, when it does not.
    void hostNamesResolveOnceWithoutBlocking_data() {
        QTest::addColumn<bool>("resolves");
        QTest::newRow("resolves") << true;
        QTest::newRow("does not resolve") << false;
    }
    void hostNamesResolveOnceWithoutBlocking() {
        using Outcome = ui::DatagramSocket::Outcome;
        QFETCH(bool, resolves);
        Gateway gateway;
        ui::QtDatagramSocket socket;
        socket.setRemotePort(gateway.socket.localPort());
        QStringList lookups;
        socket.setResolver([&lookups, resolves](const QString &name, QObject *context,
                                                ui::QtDatagramSocket::Answer answer) {
            lookups << name;
            QTimer::singleShot(200, context, [answer, resolves] {
                if (resolves)
                    answer({QHostAddress(QHostAddress::LocalHost)}, {});
                else
                    answer({}, QStringLiteral("Host not found"));
            });
        });
        QSignalSpy sent(&socket, &ui::DatagramSocket::QueuedSent);
        QSignalSpy dropped(&socket, &ui::DatagramSocket::QueuedDropped);
        socket.setRemoteHost(QStringLiteral("gw.site-a"));
        QCOMPARE(socket.hostState(), ui::DatagramSocket::HostState::Resolving);
        QCOMPARE(socket.SendData("a"), Outcome::Queued);
        QCOMPARE(socket.SendData("b"), Outcome::Queued);
        if (!resolves) {
            QTRY_COMPARE(dropped.size(), 2);
            QCOMPARE(dropped[0][1].toString(), "gw.site-a does not resolve (Host not found)");
            QCOMPARE(socket.hostState(), ui::DatagramSocket::HostState::Failed);
            QTest::qWait(100);
            QVERIFY(!gateway.socket.hasPendingDatagrams());
            QCOMPARE(lookups, QStringList{"gw.site-a"});
            return;
        }
        const auto got = gateway.receive(2);
        QCOMPARE(got.size(), 2);
        QCOMPARE(got[0].data(), QByteArray("a"));
        QCOMPARE(got[1].data(), QByteArray("b"));
        QCOMPARE(sent.size(), 2);
        QCOMPARE(socket.SendData("c"), Outcome::Sent);
        QCOMPARE(gateway.receive(1).value(0).data(), QByteArray("c"));
        QCOMPARE(lookups, QStringList{"gw.site-a"});
        QVERIFY(dropped.isEmpty());
    }
};

VELMAR_TEST_MAIN(TestDatagram)
#include "tst_datagram.moc"

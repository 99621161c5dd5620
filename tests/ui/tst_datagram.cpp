// The real UDP adapter on 127.0.0.1: frames arrive whole, replies are told
// apart by sender, and nothing ever goes to 0.0.0.0.
#include "TestMain.h"
#include "ui/QtDatagramSocket.h"

#include <QNetworkDatagram>
#include <QSignalSpy>
#include <QTest>
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
        QVERIFY(socket.SendData(QByteArray("\x00\x31\r", 3)));
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

    void hostNamesResolveWithoutBlocking() {
        Gateway gateway;
        ui::QtDatagramSocket socket;
        socket.setRemotePort(gateway.socket.localPort());
        socket.setRemoteHost(QStringLiteral("localhost"));
        QVERIFY(socket.SendData("a"));
        QVERIFY(socket.SendData("b"));
        const auto got = gateway.receive(2);
        QCOMPARE(got.size(), 2);
        QCOMPARE(got[0].data(), QByteArray("a"));
        QCOMPARE(got[1].data(), QByteArray("b"));
    }
};

VELMAR_TEST_MAIN(TestDatagram)
#include "tst_datagram.moc"

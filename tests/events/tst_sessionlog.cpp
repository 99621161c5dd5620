// The switcher session recorded in the real event log, in a temporary folder:
// a click, a reply, a lost port and a stranger's datagram, each with its
// origin and meaning, whether or not any window looks.
#include "Fakes.h"
#include "TestMain.h"
#include "events/EventQuery.h"
#include "events/EventStore.h"
#include "events/SessionLog.h"
#include "link/Session.h"

#include <QTemporaryDir>
#include <QTest>

class TestSessionLog : public QObject {
    Q_OBJECT
private slots:
    void whatHappensIsRecordedWithItsOrigin() {
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("events.sqlite"));
        fakes::SerialPort port;
        fakes::DatagramSocket socket;
        fakes::Clock clock;
        {
            events::EventStore store(path);
            devicelink::Session session(port, socket, clock);
            events::SessionLog log(session, store);
            session.serial().openPort();
            devicelink::SessionSink(session, devicelink::Origin::Kind::Keyboard)
                .send(devicelink::number(5));
            port.receive(QByteArray("\x01\x40\x08\x00", 4));
            port.loseLink(QStringLiteral("Com1 (/dev/ttyUSB0): the device is gone"));
            session.setChannel(devicelink::ChannelChoice::site(QStringLiteral("10.1.2.3")));
            socket.arrive(QByteArray("\x01\x01\x40\x08\x00", 5), QStringLiteral("10.9.9.9"));
        } // the store writes what it holds as it closes
        QStringList rows;
        const QString error = events::EventQuery::read(
            path, {0, 4102444800000}, {}, [&rows](const events::Record &r) {
                rows << QStringList{r.direction, r.channel, r.origin, r.bytes, r.meaning}.join('|');
                return true;
            });
        QVERIFY2(error.isEmpty(), qPrintable(error));
        const QStringList expected{
            "state|serial Com1|link||port open",
            "sent|serial Com1|keyboard|35 0D|camera 5",
            "received|serial Com1|switcher|01 40 08 00|monitor 2, camera 5",
            "state|serial Com1|link||monitor 2 shows camera 5",
            "state|serial Com1|link||routing of monitor 2 no longer known",
            "state|serial Com1|link||port lost: Com1 (/dev/ttyUSB0): the device is gone",
            "state|10.1.2.3:2000|link||channel: 10.1.2.3:2000",
            "ignored|10.9.9.9:2000|other host|01 01 40 08 00|not from the site in use",
        };
        for (const QString &row : expected)
            QVERIFY2(rows.contains(row), qPrintable(row + "\nin\n" + rows.join('\n')));
    }
};

VELMAR_TEST_MAIN(TestSessionLog)
#include "tst_sessionlog.moc"

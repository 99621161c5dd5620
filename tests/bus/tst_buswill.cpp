// A station killed by its PID, with no goodbye: the broker publishes its
// last will, and every newcomer reads it offline.
#include "Broker.h"
#include "Observer.h"
#include "TestMain.h"

#include <QProcess>
#include <QTest>
#include <csignal>

class TestBusWill : public QObject {
    Q_OBJECT
private slots:
    void aKilledStationReadsOffline() {
        testbus::Broker broker;
        START_BROKER(broker);
        const QByteArray status = "velmar/killed/status";
        testbus::Observer observer(broker.port(), status);
        QTRY_VERIFY(observer.connected());

        QProcess station;
        station.setProcessChannelMode(QProcess::ForwardedChannels);
        station.start(QStringLiteral(BUS_STATION),
                      {QString::number(broker.port()), QStringLiteral("killed")});
        QTRY_COMPARE(observer.last(status), QByteArray("online"));
        QCOMPARE(observer.on(status).size(), 1);

        ::kill(pid_t(station.processId()), SIGKILL);
        QTRY_COMPARE(station.state(), QProcess::NotRunning);
        QTRY_COMPARE(observer.last(status), QByteArray("offline"));
        testbus::Observer later(broker.port(), status);
        QTRY_COMPARE(later.last(status), QByteArray("offline"));
        QVERIFY(later.retained(status));

        broker.stop();
        QTRY_VERIFY(broker.stopped());
    }
};

VELMAR_TEST_MAIN(TestBusWill)
#include "tst_buswill.moc"

// The real serial adapter against a pseudo-terminal: what goes on the line,
// what comes back, and how a lost or busy device is reported.
#include "Fakes.h"
#include "Pty.h"
#include "TestMain.h"
#include "ui/QtSerialPort.h"
#include "ui/SerialSettings.h"
#include "ui/SettingsStore.h"

#include <QFile>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>
#include <algorithm>

class TestSerialPort : public QObject {
    Q_OBJECT

    fakes::SettingsStore m_store;

    void mapPort(int n, const QString &device) {
        m_store.setValue(QStringLiteral("Ports"), QStringLiteral("Com%1").arg(n), device);
    }

private slots:
    void settingsStrings_data() {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("backAs"); // empty: refused
        QTest::newRow("design") << "9600,n,8,1"
                                << "9600,n,8,1";
        QTest::newRow("upper-case parity comes back lower") << "4800,O,7,1"
                                                            << "4800,o,7,1";
        QTest::newRow("mark, two stop bits") << "115200,M,8,2"
                                             << "115200,m,8,2";
        QTest::newRow("space") << "300,s,5,1"
                               << "300,s,5,1";
        QTest::newRow("unknown parity") << "9600,x,8,1"
                                        << "";
        QTest::newRow("no speed") << ",n,8,1"
                                  << "";
        QTest::newRow("three fields") << "9600,n,8"
                                      << "";
        QTest::newRow("nine data bits") << "9600,n,9,1"
                                        << "";
        QTest::newRow("four data bits") << "9600,n,4,1"
                                        << "";
        QTest::newRow("1.5 stop bits") << "19200,e,7,1.5"
                                       << "";
        QTest::newRow("three stop bits") << "9600,n,8,3"
                                         << "";
    }
    void settingsStrings() {
        QFETCH(QString, text);
        QFETCH(QString, backAs);
        ui::QtSerialPort port(m_store);
        const QString before = port.Settings();
        const QString error = port.setSettings(text);
        if (backAs.isEmpty()) {
            QVERIFY(!error.isEmpty());
            QCOMPARE(port.Settings(), before);
        } else {
            QCOMPARE(error, QString());
            QCOMPARE(port.Settings(), backAs);
        }
    }

    void designValues() {
        ui::QtSerialPort port(m_store);
        QCOMPARE(port.CommPort(), 1);
        QCOMPARE(port.Settings(), QStringLiteral("9600,n,8,1"));
        QCOMPARE(port.Handshaking(), 0);
        QCOMPARE(port.OutBufferSize(), 512);
        QVERIFY(!port.PortOpen());
    }

    void portNumbersMapToDevices() {
        fakes::SettingsStore store;
        store.setValue("Ports", "Com3", "/dev/ttyUSB0");
        ui::QtSerialPort port(store);
        QCOMPARE(port.devicePath(3), QStringLiteral("/dev/ttyUSB0"));
        QCOMPARE(port.devicePath(1), QStringLiteral("/dev/ttyS0"));
        QCOMPARE(port.devicePath(16), QStringLiteral("/dev/ttyS15"));
        QCOMPARE(port.mappingProblem(), QString());
    }

    // Written by hand, the map's section and keys are found whatever their
    // case, and an entry that names no port is reported, not passed over.
    void handWrittenPortMap() {
        QTemporaryDir dir;
        QFile f(dir.filePath("settings.ini"));
        QVERIFY(f.open(QIODevice::WriteOnly));
        f.write("[ports]\ncom1=/dev/ttyUSB0\nCOM2=/dev/ttyUSB1\nPort3=/dev/ttyUSB2\n");
        f.close();
        ui::IniSettingsStore store(f.fileName());
        ui::QtSerialPort port(store);
        QCOMPARE(port.devicePath(1), QStringLiteral("/dev/ttyUSB0"));
        QCOMPARE(port.devicePath(2), QStringLiteral("/dev/ttyUSB1"));
        QCOMPARE(port.devicePath(3), QStringLiteral("/dev/ttyS2"));
        QVERIFY2(port.mappingProblem().contains("Port3=/dev/ttyUSB2 names no serial port"),
                 qPrintable(port.mappingProblem()));
    }

    void writesAndReadsBytesUnchanged() {
        Pty pty;
        QVERIFY(pty.isValid());
        mapPort(2, pty.slavePath());
        ui::QtSerialPort port(m_store);
        QCOMPARE(port.setCommPort(2), QString());
        QCOMPARE(port.setPortOpen(true), QString());
        QVERIFY(port.PortOpen());
        QVERIFY(!port.setCommPort(3).isEmpty()); // not while open

        QCOMPARE(port.Output(QByteArray("\x2E\r\x00\xB4", 4)), QString());
        QCOMPARE(pty.readFar(4), QByteArray("\x2E\r\x00\xB4", 4));

        QSignalSpy events(&port, &ui::SerialPort::OnComm);
        QByteArray received;
        qsizetype largest = 0;
        connect(&port, &ui::SerialPort::OnComm, this, [&] {
            QCOMPARE(port.CommEvent(), int(ui::SerialPort::comEvReceive));
            const QByteArray piece = port.Input();
            largest = std::max(largest, piece.capacity());
            received += piece;
        });
        pty.writeFar(QByteArray("\x00\x20\x80", 3));
        QTRY_COMPARE(received, QByteArray("\x00\x20\x80", 3));
        QVERIFY(events.count() >= 1);
        // What is read holds its own bytes, not the port's read buffer of
        // tens of kilobytes: the event log and the browser panel keep
        // hundreds of received frames.
        QVERIFY2(largest < 256, qPrintable(QString::number(largest)));

        // The modem lines of a pty are not there; asking is no link fault.
        QCOMPARE(port.setDTREnable(false), QString());
        QVERIFY(!port.CDHolding());
        QVERIFY(port.PortOpen());
    }

    // A command is on the line when Output returns, not on the event loop's
    // next pass; a line that is backed up queues the rest without failing.
    void commandsLeaveAtOnceAndABackedUpLineQueues() {
        Pty pty;
        mapPort(1, pty.slavePath());
        ui::QtSerialPort port(m_store);
        QCOMPARE(port.setPortOpen(true), QString());
        QCOMPARE(port.Output("\x35\r"), QString());
        QCOMPARE(pty.readFar(2, 0), QByteArray("\x35\r"));

        const QByteArray block(4096, 'x');
        for (int i = 0; i < 64; ++i)
            QCOMPARE(port.Output(block), QString());
        QVERIFY(port.OutBufferCount() > 0); // the far end has not read
        QByteArray far;
        QTRY_VERIFY((far += pty.readFar(1 << 30, 0)).size() == 64 * 4096 &&
                    port.OutBufferCount() == 0);
        QVERIFY(port.PortOpen());
    }

    void closedPortWritesNothing() {
        Pty pty;
        mapPort(1, pty.slavePath());
        ui::QtSerialPort port(m_store);
        QVERIFY(!port.Output("x").isEmpty());
        QCOMPARE(pty.drainFar(50), QByteArray());
    }

    void missingDeviceReportsItsError() {
        mapPort(4, QStringLiteral("/dev/no-such-serial-device"));
        ui::QtSerialPort port(m_store);
        port.setCommPort(4);
        const QString error = port.setPortOpen(true);
        QVERIFY(!error.isEmpty());
        QVERIFY2(error.contains(QStringLiteral("/dev/no-such-serial-device")), qPrintable(error));
        QVERIFY(!port.PortOpen());
    }

    void busyPortReportsItsError() {
        Pty pty;
        mapPort(1, pty.slavePath());
        ui::QtSerialPort holder(m_store);
        QCOMPARE(holder.setPortOpen(true), QString());
        ui::QtSerialPort second(m_store);
        const QString error = second.setPortOpen(true);
        QVERIFY(!error.isEmpty());
        QVERIFY(!second.PortOpen());
    }

    void farEndClosingClosesThePortOnce() {
        Pty pty;
        mapPort(1, pty.slavePath());
        ui::QtSerialPort port(m_store);
        QCOMPARE(port.setPortOpen(true), QString());
        QSignalSpy lost(&port, &ui::SerialPort::LinkLost);
        pty.closeFar();
        QTRY_VERIFY(!port.PortOpen());
        QTest::qWait(100);
        QCOMPARE(lost.count(), 1);
        QVERIFY(!lost.first().first().toString().isEmpty());
    }

    void settingsApplyToAnOpenPort() {
        Pty pty;
        mapPort(1, pty.slavePath());
        ui::QtSerialPort port(m_store);
        QCOMPARE(port.setPortOpen(true), QString());
        QCOMPARE(port.setSettings("19200,n,8,2"), QString());
        QCOMPARE(port.Settings(), QStringLiteral("19200,n,8,2"));
        // A pseudo-terminal keeps 8 data bits: the refusal names what failed
        // and the port keeps its settings.
        const QString error = port.setSettings("19200,e,7,2");
        QVERIFY2(error.contains(QStringLiteral("7 data bits")), qPrintable(error));
        QCOMPARE(port.Settings(), QStringLiteral("19200,n,8,2"));
        for (int code = 0; code <= 3; ++code)
            QCOMPARE(port.setHandshaking(code), QString());
        QVERIFY(!port.setHandshaking(4).isEmpty());
        QCOMPARE(port.Handshaking(), 3);
    }
};

VELMAR_TEST_MAIN(TestSerialPort)
#include "tst_serialport.moc"

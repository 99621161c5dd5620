// The simulator as a process: its options, its serial line and datagram
// port under garbage and floods, and a clean end on a signal.
#include "SimProcess.h"
#include "TestMain.h"

#include <QDeadlineTimer>
#include <QFile>
#include <QNetworkDatagram>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>
#include <QUdpSocket>

#include <csignal>
#include <fcntl.h>
#include <sys/stat.h>
#include <termios.h>
#include <unistd.h>

namespace {

// The panel's end of the simulator's serial line.
struct Line {
    int fd = -1;
    explicit Line(const QString &path) {
        fd = ::open(QFile::encodeName(path).constData(), O_RDWR | O_NOCTTY | O_NONBLOCK);
        if (fd >= 0) {
            termios t{};
            ::tcgetattr(fd, &t);
            ::cfmakeraw(&t);
            ::tcsetattr(fd, TCSANOW, &t);
        }
    }
    ~Line() {
        if (fd >= 0)
            ::close(fd);
    }
    bool write(const QByteArray &bytes) {
        return ::write(fd, bytes.constData(), bytes.size()) == bytes.size();
    }
    QByteArray read(int count) {
        QByteArray got;
        for (int i = 0; i < 300 && got.size() < count; ++i) {
            char buffer[256];
            const ssize_t n = ::read(fd, buffer, sizeof buffer);
            if (n > 0)
                got.append(buffer, static_cast<int>(n));
            else
                QTest::qWait(10);
        }
        return got;
    }
};

} // namespace

class TestSimProcess : public QObject {
    Q_OBJECT
private slots:
    void helpNamesEveryOption() {
        SimProcess sim({QStringLiteral("--help")});
        QVERIFY(sim.ended());
        QCOMPARE(sim.process.exitCode(), 0);
        for (const char *option : {"--serial", "--udp", "--log-rate", "--help", "--version"})
            QVERIFY2(sim.out.contains(option), option);
    }

    void wrongOptionsAreRefused_data() {
        QTest::addColumn<QStringList>("args");
        QTest::newRow("nothing to simulate") << QStringList();
        QTest::newRow("bad address") << QStringList{"--udp", "nowhere:2000"};
        QTest::newRow("bad port") << QStringList{"--udp", "127.0.0.1:99999"};
        QTest::newRow("stray argument") << QStringList{"--udp", "127.0.0.1:0", "extra"};
        QTest::newRow("bad log rate") << QStringList{"--udp", "127.0.0.1:0", "--log-rate", "0"};
    }
    void wrongOptionsAreRefused() {
        QFETCH(QStringList, args);
        SimProcess sim(args);
        QVERIFY(sim.ended());
        QCOMPARE(sim.process.exitCode(), 2);
        QVERIFY(sim.out.contains("--help"));
    }

    void aBareUdpOptionMeansTheDefaultAddress() {
        SimProcess sim({QStringLiteral("--udp")});
        // Either it listens there, or it says why it cannot (port in use).
        QVERIFY(sim.said("127.0.0.1:2000"));
    }

    void aFileInTheWayIsNotReplaced() {
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("tty"));
        QFile file(path);
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write("keep me");
        file.close();
        SimProcess sim({QStringLiteral("--serial"), path});
        QVERIFY(sim.ended());
        QCOMPARE(sim.process.exitCode(), 1);
        QVERIFY(file.open(QIODevice::ReadOnly));
        QCOMPARE(file.readAll(), QByteArray("keep me"));
    }

    void aSignalEndsItAndRemovesTheLink_data() {
        QTest::addColumn<int>("signalNumber");
        QTest::addColumn<bool>("staleLink");
        QTest::newRow("SIGTERM") << int(SIGTERM) << false;
        QTest::newRow("SIGINT over a stale link") << int(SIGINT) << true;
        QTest::newRow("SIGHUP") << int(SIGHUP) << false;
    }
    void aSignalEndsItAndRemovesTheLink() {
        QFETCH(int, signalNumber);
        QFETCH(bool, staleLink);
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("tty"));
        if (staleLink)
            QVERIFY(QFile::link(QStringLiteral("/dev/pts/nonexistent"), path));
        SimProcess sim({QStringLiteral("--serial"), path});
        QVERIFY(sim.said("line ready"));
        QVERIFY(QFileInfo(path).isSymLink());
        QVERIFY(QFileInfo(path).symLinkTarget().startsWith(QStringLiteral("/dev/pts/")));
        ::kill(static_cast<pid_t>(sim.process.processId()), signalNumber);
        QVERIFY(sim.ended());
        QCOMPARE(sim.process.exitStatus(), QProcess::NormalExit);
        QCOMPARE(sim.process.exitCode(), 0);
        QVERIFY(!QFileInfo::exists(path) && !QFileInfo(path).isSymLink());
    }

    void serialGarbageIsSurvived_data() {
        QTest::addColumn<QByteArray>("garbage");
        QTest::newRow("unframed bytes") << QByteArray("\x01\x02\x03\x35\x35\x35");
        QTest::newRow("flood without CR") << QByteArray(100000, '\x41');
        QTest::newRow("flood of CRs") << QByteArray(20000, '\r');
        QTest::newRow("unknown commands") << QByteArray("\xFF\r\x00\r\x63\r", 6);
        QTest::newRow("half a preset sequence") << QByteArray("\xF7\r\x5D\r");
    }
    void serialGarbageIsSurvived() {
        QFETCH(QByteArray, garbage);
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("tty"));
        SimProcess sim({QStringLiteral("--serial"), path});
        QVERIFY(sim.said("line ready"));
        Line line(path);
        QVERIFY(line.fd >= 0);
        // Written in pieces: a pty takes a few kilobytes at a time.
        for (qsizetype at = 0; at < garbage.size(); at += 1024) {
            while (::write(line.fd, garbage.constData() + at,
                           qMin<qsizetype>(1024, garbage.size() - at)) < 0)
                QTest::qWait(5);
        }
        // A lone CR ends whatever came before; then a real request.
        QVERIFY(line.write(QByteArray("\r\x52\r\x35\r\x2E\r")));
        QCOMPARE(line.read(4), QByteArray("\x2E\x40\x08\x00", 4));
        QVERIFY(sim.said("monitor 2 <- camera 5"));
        QVERIFY(sim.out.contains("ignored: "));
        QCOMPARE(sim.process.state(), QProcess::Running);
    }

    void datagramFloodIsSurvived() {
        SimProcess sim({QStringLiteral("--udp"), QStringLiteral("127.0.0.1:0"),
                        QStringLiteral("--log-rate"), QStringLiteral("20")});
        QVERIFY(sim.said("listening on"));
        const quint16 port = sim.udpPort();
        QVERIFY(port != 0);
        QUdpSocket panel;
        QVERIFY(panel.bind(QHostAddress::LocalHost, 0));
        for (int i = 0; i < 2000; ++i)
            panel.writeDatagram(QByteArray(i % 700, char(i)), QHostAddress::LocalHost, port);
        QTest::qWait(200);
        panel.writeDatagram(QByteArray("\x00\x54\r", 3), QHostAddress::LocalHost, port);
        panel.writeDatagram(QByteArray("1.\r"), QHostAddress::LocalHost, port);
        QTRY_VERIFY_WITH_TIMEOUT(panel.hasPendingDatagrams(), 5000);
        QCOMPARE(panel.receiveDatagram().data(), QByteArray("\x01\x2E\x60\x10\x00", 5));
        // The flood is counted, not printed line by line.
        QVERIFY(sim.said("more lines not shown", 3000));
        QVERIFY(sim.out.count('\n') < 200);
    }
};

VELMAR_TEST_MAIN(TestSimProcess)
#include "tst_simprocess.moc"

// The simulated switcher's protocol: what each command does to the routing,
// the status reply it gives, the preset sequences, and the framing of the
// serial stream and of datagrams.
#include "Endpoint.h"
#include "GatewayFrame.h"
#include "LogThrottle.h"
#include "SerialFramer.h"
#include "Switcher.h"
#include "TestMain.h"

#include <QTest>

using sim::Switcher;

namespace {
// Feeds codes 10 ms apart; returns every action and problem line, in order.
QStringList run(Switcher &s, const QByteArray &codes, qint64 start = 0, qint64 stepMs = 10) {
    QStringList lines;
    qint64 now = start;
    for (const char c : codes) {
        const sim::Reaction r = s.command(static_cast<quint8>(c), now);
        lines << r.lines;
        now += stepMs;
    }
    return lines;
}
} // namespace

class TestSwitcher : public QObject {
    Q_OBJECT
private slots:
    void statusReplyNamesMonitorAndCamera_data() {
        QTest::addColumn<QByteArray>("codes");
        QTest::addColumn<QByteArray>("reply");
        QTest::newRow("power-on") << QByteArray() << QByteArray("\x2E\x00\x80\x00", 4);
        QTest::newRow("camera 5 on monitor 2")
            << QByteArray("\x52\x35") << QByteArray("\x2E\x40\x08\x00", 4);
        QTest::newRow("monitor 3 bit 5") << QByteArray("\x53") << QByteArray("\x2E\x20\x20\x00", 4);
        QTest::newRow("monitor 4 both bits")
            << QByteArray("\x54\x38") << QByteArray("\x2E\x60\x01\x00", 4);
        QTest::newRow("camera 9 in the second byte")
            << QByteArray("\x39") << QByteArray("\x2E\x00\x00\x80", 4);
        QTest::newRow("camera 16") << QByteArray("\x52\x40") << QByteArray("\x2E\x40\x00\x01", 4);
        // Each monitor keeps its own camera.
        QTest::newRow("back to a routed monitor")
            << QByteArray("\x52\x3C\x51\x33\x52") << QByteArray("\x2E\x40\x00\x10", 4);
    }
    void statusReplyNamesMonitorAndCamera() {
        QFETCH(QByteArray, codes);
        QFETCH(QByteArray, reply);
        Switcher s;
        run(s, codes);
        QCOMPARE(s.statusReply(), reply);
        QVERIFY(s.command(0x2E, 5000).wantsStatus);
    }

    void actionsAreReported_data() {
        QTest::addColumn<QByteArray>("codes");
        QTest::addColumn<QStringList>("lines");
        const auto m2c5 = QStringList{"monitor 2 selected (camera 2)", "monitor 2 <- camera 5"};
        QTest::newRow("routing") << QByteArray("\x52\x35") << m2c5;
        QTest::newRow("pan left at the default speed")
            << QByteArray("\x52\x35\x60\x95\x61")
            << m2c5 + QStringList{"camera 5: pan left, speed 5", "camera 5: pan stop"};
        QTest::newRow("tilt with a speed change")
            << QByteArray("\x66\x9F\x65")
            << QStringList{"camera 1: tilt down, speed 5", "camera 1: tilt speed 7",
                           "camera 1: tilt stop"};
        // The joystick repeats direction and speed codes every poll.
        QTest::newRow("repeats change nothing")
            << QByteArray("\x62\x97\x62\x97\x62\x97\x61\x61")
            << QStringList{"camera 1: pan right, speed 5", "camera 1: pan speed 7",
                           "camera 1: pan stop"};
        QTest::newRow("lens") << QByteArray("\x6C\x6D\x72\x71\x74\x75")
                              << QStringList{"camera 1: zoom +",  "camera 1: zoom stop",
                                             "camera 1: focus -", "camera 1: focus stop",
                                             "camera 1: iris +",  "camera 1: iris stop"};
        QTest::newRow("speeds are per camera")
            << QByteArray("\x93\x32\x60")
            << QStringList{"camera 1: pan speed 3", "monitor 1 <- camera 2",
                           "camera 2: pan left, speed 5"};
        QTest::newRow("recall") << QByteArray("\x52\x35\x5D\x3C\x5E")
                                << m2c5 + QStringList{"camera 5: preset 12 recalled"};
        QTest::newRow("store") << QByteArray("\x52\x35\xF7\x5D\x3C\xF8\x5E")
                               << m2c5 + QStringList{"camera 5: preset 12 stored"};
        QTest::newRow("preset 16 is not camera 16")
            << QByteArray("\x5D\x40\x5E\x2E") << QStringList{"camera 1: preset 16 recalled"};
        QTest::newRow("tour and A/P")
            << QByteArray("\x5D\xBC\xBC") << QStringList{"camera 1: tour", "camera 1: A/P"};
        QTest::newRow("aux keys") << QByteArray("\xBA\xB7\xB6\xB4\x8C")
                                  << QStringList{"camera 1: aux",
                                                 "camera 1: auxiliary function released",
                                                 "camera 1: lamps", "camera 1: wiper",
                                                 "monitor 1: sequence"};
        QTest::newRow("unknown codes")
            << QByteArray("\x63\x00\xFF\x5E\xF8", 5)
            << QStringList{"ignored: unknown command 0x63", "ignored: unknown command 0x00",
                           "ignored: unknown command 0xFF",
                           "ignored: 0x5E outside a preset sequence",
                           "ignored: 0xF8 outside a preset sequence"};
        // The panel's status poll and its delayed speed and release codes
        // can fall between the steps of a preset sequence.
        QTest::newRow("timed codes pass through a sequence")
            << QByteArray("\xF7\x5D\x2E\x33\x91\xF8\xB7\x5E")
            << QStringList{"camera 1: pan speed 1", "camera 1: auxiliary function released",
                           "camera 1: preset 3 stored"};
        QTest::newRow("a broken sequence gives way to the next command")
            << QByteArray("\x5D\x52\x35")
            << QStringList{"ignored: preset sequence 5D broken by 0x52",
                           "monitor 2 selected (camera 2)", "monitor 2 <- camera 5"};
        QTest::newRow("a new sequence restarts a broken one")
            << QByteArray("\xF7\x5D\x34\x5D\x35\x5E")
            << QStringList{"ignored: preset sequence F7 5D 34 broken by 0x5D",
                           "camera 1: preset 5 recalled"};
    }
    void actionsAreReported() {
        QFETCH(QByteArray, codes);
        QFETCH(QStringList, lines);
        Switcher s;
        QCOMPARE(run(s, codes), lines);
    }

    void aStaleSequenceIsAbandoned() {
        Switcher s;
        run(s, QByteArray("\x5D"), 0);
        // Long after, a camera key means a camera, not a preset number.
        QCOMPARE(run(s, QByteArray("\x33"), Switcher::sequenceTimeoutMs + 1),
                 (QStringList{"ignored: unfinished preset sequence 5D abandoned",
                              "monitor 1 <- camera 3"}));
        QCOMPARE(s.cameraOn(1), 3);
    }

    void serialFraming_data() {
        QTest::addColumn<QList<QByteArray>>("reads");
        QTest::addColumn<QStringList>("items");
        using L = QList<QByteArray>;
        QTest::newRow("commands") << L{QByteArray("\x52\r\x35\r")} << QStringList{"52", "35"};
        QTest::newRow("split across reads")
            << L{QByteArray("\x52"), QByteArray("\r\x35"), QByteArray("\r")}
            << QStringList{"52", "35"};
        QTest::newRow("zero is a command") << L{QByteArray("\x00\r", 2)} << QStringList{"00"};
        QTest::newRow("missing CR")
            << L{QByteArray("\x31\x52\r")} << QStringList{"ignored: 1 byte out of frame: 31", "52"};
        QTest::newRow("stray CR") << L{QByteArray("\r\r\x35\r")}
                                  << QStringList{"ignored: 2 bytes out of frame: 0D 0D", "35"};
        QTest::newRow("garbage is reported once per read")
            << L{QByteArray(40, 'A') + "\x35\r"}
            << QStringList{"ignored: 40 bytes out of frame: 41 41 41 41 41 41 41 41 41 41 41 41 "
                           "41 41 41 41 ...",
                           "35"};
    }
    void serialFraming() {
        QFETCH(QList<QByteArray>, reads);
        QFETCH(QStringList, items);
        sim::SerialFramer framer;
        QStringList got;
        for (const QByteArray &read : reads) {
            for (const auto &item : framer.feed(read, 0))
                got << (item.isCommand ? QString::number(item.code, 16)
                                             .toUpper()
                                             .rightJustified(2, QLatin1Char('0'))
                                       : QStringLiteral("ignored: ") + item.problem);
        }
        QCOMPARE(got, items);
    }

    void aByteWhoseCrNeverCameIsDropped() {
        sim::SerialFramer framer;
        QVERIFY(framer.feed(QByteArray("\x31"), 0).isEmpty());
        const auto items = framer.feed(QByteArray("\r"), sim::SerialFramer::crTimeoutMs + 1);
        QCOMPARE(items.size(), 1);
        QVERIFY(!items[0].isCommand);
        QVERIFY(!framer.hasPending());
    }

    void datagrams_data() {
        QTest::addColumn<QByteArray>("datagram");
        QTest::addColumn<int>("kind");
        QTest::addColumn<int>("code");
        using K = sim::GatewayFrame::Kind;
        QTest::newRow("command") << QByteArray("\x00\x35\r", 3) << int(K::Command) << 0x35;
        QTest::newRow("command zero") << QByteArray("\x00\x00\r", 3) << int(K::Command) << 0;
        QTest::newRow("status request") << QByteArray("1.\r") << int(K::StatusRequest) << 0;
        QTest::newRow("acknowledgement") << QByteArray("0") << int(K::Zero) << 0;
        QTest::newRow("empty") << QByteArray() << int(K::Invalid) << 0;
        QTest::newRow("no CR") << QByteArray("\x00\x35\x00", 3) << int(K::Invalid) << 0;
        QTest::newRow("serial framing") << QByteArray("\x35\r") << int(K::Invalid) << 0;
        QTest::newRow("too long") << QByteArray("\x00\x35\r\r", 4) << int(K::Invalid) << 0;
        QTest::newRow("request without lead") << QByteArray(".\r") << int(K::Invalid) << 0;
    }
    void datagrams() {
        QFETCH(QByteArray, datagram);
        QFETCH(int, kind);
        QFETCH(int, code);
        const auto f = sim::GatewayFrame::parse(datagram);
        QCOMPARE(int(f.kind), kind);
        QCOMPARE(int(f.code), code);
        QCOMPARE(f.problem.isEmpty(), kind != int(sim::GatewayFrame::Kind::Invalid));
    }

    void endpoints_data() {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("parsed"); // empty: rejected
        QTest::newRow("address and port") << "127.0.0.1:2000"
                                          << "127.0.0.1:2000";
        QTest::newRow("bare port") << "2001"
                                   << "127.0.0.1:2001";
        QTest::newRow("any port") << "127.0.0.1:0"
                                  << "127.0.0.1:0";
        QTest::newRow("ipv6") << "[::1]:2000"
                              << "[::1]:2000";
        QTest::newRow("all interfaces") << "0.0.0.0:2000"
                                        << "0.0.0.0:2000";
        QTest::newRow("ipv6 without brackets") << "::1:2000"
                                               << "";
        QTest::newRow("host name") << "localhost:2000"
                                   << "";
        QTest::newRow("port too big") << "127.0.0.1:65536"
                                      << "";
        QTest::newRow("negative port") << "127.0.0.1:-1"
                                       << "";
        QTest::newRow("no port") << "127.0.0.1:"
                                 << "";
        QTest::newRow("empty") << ""
                               << "";
    }
    void endpoints() {
        QFETCH(QString, text);
        QFETCH(QString, parsed);
        QString error;
        const auto e = sim::Endpoint::parse(text, &error);
        QCOMPARE(e ? e->text() : QString(), parsed);
        QCOMPARE(error.isEmpty(), !parsed.isEmpty());
    }

    void floodsAreCountedNotPrinted() {
        sim::LogThrottle throttle(3);
        int admitted = 0;
        for (int i = 0; i < 10; ++i)
            admitted += throttle.admit(100) ? 1 : 0;
        QCOMPARE(admitted, 3);
        QCOMPARE(throttle.takeHeldBack(500), 0); // the second is not over yet
        QCOMPARE(throttle.takeHeldBack(1100), 7);
        QCOMPARE(throttle.takeHeldBack(1200), 0);
        QVERIFY(throttle.admit(1200));
    }
};

VELMAR_TEST_MAIN(TestSwitcher)
#include "tst_switcher.moc"

// Command codes, terminal text and status replies: the pure rules of the link.
#include "TestMain.h"
#include "link/CommandCode.h"
#include "link/CommandMeaning.h"
#include "link/StatusReply.h"
#include "link/TerminalBuffer.h"
#include "link/TrafficLog.h"

#include <QTest>

using devicelink::TerminalBuffer;

namespace {
QString chars(std::initializer_list<int> codes) {
    QString s;
    for (int c : codes)
        s.append(QChar(c));
    return s;
}
} // namespace

class TestCodes : public QObject {
    Q_OBJECT
private slots:
    void commandValue_data() {
        QTest::addColumn<QString>("code");
        QTest::addColumn<int>("value"); // -1: names no value
        QTest::newRow("status request") << "2E" << 0x2E;
        QTest::newRow("zero") << "0" << 0;
        QTest::newRow("aux wiper") << "B4" << 0xB4;
        QTest::newRow("store end") << "F8" << 0xF8;
        QTest::newRow("largest") << "7FFF" << 32767;
        QTest::newRow("three digits") << "100" << 256;
        QTest::newRow("past 16 bits") << "8000" << -1;
        QTest::newRow("lower case") << "2e" << -1;
        QTest::newRow("leading zero") << "031" << -1;
        QTest::newRow("empty") << "" << -1;
        QTest::newRow("blank") << "31 " << -1;
        QTest::newRow("five digits") << "10000" << -1;
        QTest::newRow("not hex") << "G1" << -1;
    }
    void commandValue() {
        QFETCH(QString, code);
        QFETCH(int, value);
        const auto v = devicelink::commandValue(code);
        QCOMPARE(v.value_or(-1), value);
        // Every value names exactly the code it is written as.
        if (v)
            QCOMPARE(devicelink::codeOf(*v), code);
    }

    void numberCodes() {
        QCOMPARE(devicelink::numberCode(1), QStringLiteral("31"));
        QCOMPARE(devicelink::numberCode(10), QStringLiteral("3A"));
        QCOMPARE(devicelink::numberCode(16), QStringLiteral("40"));
    }

    // Received text as the terminal box shows it.
    void terminalFilter_data() {
        QTest::addColumn<QString>("shown");
        QTest::addColumn<QString>("received");
        QTest::addColumn<QString>("result");
        QTest::newRow("backspace in the middle") << ""
                                                 << "A\bB"
                                                 << "B";
        QTest::newRow("backspace at start erases the last shown") << "xyz"
                                                                  << "\bC"
                                                                  << "xyC";
        QTest::newRow("two leading backspaces erase one") << "xyz"
                                                          << "\b\bC"
                                                          << "xyC";
        QTest::newRow("backspace into an empty box") << ""
                                                     << "\bC"
                                                     << "C";
        QTest::newRow("backspace after consuming") << "xy"
                                                   << "A\b\bC"
                                                   << "xC";
        QTest::newRow("CR LF kept") << ""
                                    << "A\r\nB"
                                    << "A\r\nB";
        QTest::newRow("lone LF dropped") << ""
                                         << "A\nB"
                                         << "AB";
        QTest::newRow("lone CR gets LF") << ""
                                         << "A\rB"
                                         << "A\r\nB";
        QTest::newRow("LF CR") << ""
                               << "\n\r"
                               << "\r\n";
        QTest::newRow("bytes above 127 kept")
            << "" << chars({0, 32, 128, 255}) << chars({0, 32, 128, 255});
    }
    void terminalFilter() {
        QFETCH(QString, shown);
        QFETCH(QString, received);
        QFETCH(QString, result);
        TerminalBuffer buffer;
        buffer.append(shown);
        buffer.append(received);
        QCOMPARE(buffer.text(), result);
    }

    void terminalTrim_data() {
        QTest::addColumn<int>("length");
        QTest::addColumn<int>("kept");
        QTest::newRow("exactly 16000 stays") << 16000 << 16000;
        QTest::newRow("16001 loses 4096") << 16001 << 16001 - 4096;
    }
    void terminalTrim() {
        QFETCH(int, length);
        QFETCH(int, kept);
        TerminalBuffer buffer;
        QString text;
        for (int i = 0; i < length; ++i)
            text.append(QChar('a' + i % 26));
        buffer.append(text);
        const TerminalBuffer::Change change = buffer.append(QStringLiteral("!"));
        QCOMPARE(buffer.text().size(), kept + 1);
        QCOMPARE(buffer.text(), text.right(kept) + QLatin1Char('!'));
        QCOMPARE(change.rewritten, kept != length);
        QCOMPARE(change.appended, QStringLiteral("!"));
    }

    void terminalTrimCountsCrLfAsTwo() {
        TerminalBuffer buffer;
        buffer.append(QString(7999, QLatin1Char('x')) + QStringLiteral("\r"));
        buffer.append(QString(8000, QLatin1Char('y')));
        QCOMPARE(buffer.text().size(), 16001);
        buffer.append(QStringLiteral("z"));
        QCOMPARE(buffer.text().size(), 16001 - 4096 + 1);
    }

    void statusReply_data() {
        QTest::addColumn<QString>("text");
        QTest::addColumn<int>("camera");
        QTest::addColumn<int>("monitor");
        QTest::newRow("empty") << QString() << 0 << 1;
        QTest::newRow("lead only") << chars({1}) << 0 << 1;
        QTest::newRow("monitor only") << chars({1, 64}) << 0 << 2;
        QTest::newRow("length 3, camera 0") << chars({1, 32, 0}) << 0 << 3;
        QTest::newRow("length 3, camera 1") << chars({1, 0, 128}) << 1 << 1;
        QTest::newRow("camera 16 monitor 2") << chars({9, 64, 0, 1}) << 16 << 2;
        QTest::newRow("camera 1 monitor 3, byte 4 ignored") << chars({9, 32, 128, 8}) << 1 << 3;
        QTest::newRow("two bits: no camera") << chars({9, 0, 3, 0}) << 0 << 1;
        QTest::newRow("monitor 4, no camera") << chars({9, 96, 0, 0}) << 0 << 4;
        QTest::newRow("bit 7 of monitor ignored") << chars({9, 224, 0, 8}) << 13 << 4;
        QTest::newRow("low bits of monitor ignored") << chars({9, 31, 8}) << 5 << 1;
        QTest::newRow("160 is monitor 3") << chars({9, 160, 64}) << 2 << 3;
        QTest::newRow("192 is monitor 2") << chars({9, 192, 1}) << 8 << 2;
        QTest::newRow("camera 9") << chars({9, 0, 0, 128}) << 9 << 1;
        QTest::newRow("longer text") << chars({9, 64, 16, 0, 255, 255}) << 4 << 2;
        QTest::newRow("multi-bit high byte") << chars({9, 0, 0, 129}) << 0 << 1;
    }
    void statusReply() {
        QFETCH(QString, text);
        QFETCH(int, camera);
        QFETCH(int, monitor);
        const auto reply = devicelink::StatusReply::decode(text);
        QCOMPARE(reply.camera, camera);
        QCOMPARE(reply.monitor, monitor);
    }

    // What the traffic window says a frame means, in the panel's own codes.
    void frameMeanings_data() {
        QTest::addColumn<int>("kind"); // 0 serial sent, 1 datagram sent, 2 received text
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<QString>("meaning");
        QTest::newRow("camera") << 0 << QByteArray("5\r") << "camera 5";
        QTest::newRow("monitor") << 0 << QByteArray("R\r") << "monitor 2";
        QTest::newRow("pan left") << 0 << QByteArray("`\r") << "pan left";
        QTest::newRow("pan speed") << 0 << QByteArray("\x95\r") << "pan speed 5";
        QTest::newRow("tilt speed") << 0 << QByteArray("\x9D\r") << "tilt speed 5";
        QTest::newRow("status request") << 0 << QByteArray(".\r") << "status request";
        QTest::newRow("typed text") << 0 << QByteArray("ATDT1\r\n") << "";
        QTest::newRow("network camera") << 1 << QByteArray("\x00\x31\r", 3) << "camera 1 (network)";
        QTest::newRow("network request") << 1 << QByteArray("1.\r") << "status request (network)";
        QTest::newRow("sign-off") << 1 << QByteArray("0") << "acknowledgement / sign-off";
        QTest::newRow("reply") << 2 << QByteArray("\x01\x40\x08\x00", 4) << "monitor 2, camera 5";
        QTest::newRow("reply, cameras 9-16")
            << 2 << QByteArray("\x01\xE0\x00\x01", 4) << "monitor 4, camera 16";
        // The decoder reads any text, and always lights a monitor.
        QTest::newRow("no camera named") << 2 << QByteArray("\x01\x40\x03\x00", 4) << "monitor 2";
        QTest::newRow("text") << 2 << QByteArray("hello") << "monitor 4";
        QTest::newRow("longer than a reply")
            << 2 << QByteArray("\x01\x40\x08\x00\x55\x66", 6) << "monitor 2, camera 5";
    }
    void frameMeanings() {
        QFETCH(int, kind);
        QFETCH(QByteArray, bytes);
        using namespace devicelink;
        const QString meaning = kind == 0   ? CommandMeaning::ofSerialSent(bytes)
                                : kind == 1 ? CommandMeaning::ofDatagramSent(bytes)
                                            : CommandMeaning::ofReply(bytes);
        QTEST(meaning, "meaning");
    }

    // The log keeps its last frames in order, the oldest going first, each
    // with its first bytes and its whole length.
    void trafficLogKeepsTheLastFrames() {
        devicelink::TrafficLog log(3);
        for (int i = 1; i <= 5; ++i)
            log.append(i, devicelink::TrafficLog::Direction::Sent,
                       devicelink::TrafficLog::Medium::Serial, QStringLiteral("serial"),
                       QByteArray(i * 30, char('0' + i)));
        QCOMPARE(log.size(), 3);
        QCOMPARE(log.appended(), 5);
        QCOMPARE((QList<qint64>{log.at(0).at, log.at(1).at, log.at(2).at}),
                 (QList<qint64>{3, 4, 5}));
        QCOMPARE(log.at(2).size, 150);
        QCOMPARE(log.at(2).bytes, QByteArray(devicelink::TrafficLog::keptBytes, '5'));
        QCOMPARE(log.channel(log.at(0)), QStringLiteral("serial"));
        log.clear();
        QCOMPARE(log.size(), 0);
    }
};

VELMAR_TEST_MAIN(TestCodes)
#include "tst_codes.moc"

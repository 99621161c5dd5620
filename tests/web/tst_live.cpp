// The live socket on a loopback port: what a browser is told when it
// connects and when something changes, and hold-to-run moves that stop when
// the page stops saying so, goes away, or floods.
#include "TestMain.h"
#include "WebRig.h"
#include "web/LiveClient.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QNetworkRequest>
#include <QTimer>
#include <QWebSocket>

using webtest::HttpReply;
using webtest::WebRig;

namespace {
// A browser's end of the socket, keeping every message it is sent.
struct Browser {
    QWebSocket socket;
    QList<QJsonObject> messages;
    bool open = false;

    Browser() {
        QObject::connect(&socket, &QWebSocket::textMessageReceived, [this](const QString &text) {
            messages.append(QJsonDocument::fromJson(text.toUtf8()).object());
        });
        QObject::connect(&socket, &QWebSocket::connected, [this] { open = true; });
        QObject::connect(&socket, &QWebSocket::disconnected, [this] { open = false; });
    }
    bool connectTo(quint16 port, const QByteArray &token) {
        socket.open(QUrl(QStringLiteral("ws://127.0.0.1:%1/api/v1/live?token=%2")
                             .arg(port)
                             .arg(QString::fromLatin1(token))));
        return QTest::qWaitFor([this] { return open; }, 5000);
    }
    void send(const QByteArray &json) { socket.sendTextMessage(QString::fromUtf8(json)); }
    QList<QJsonObject> ofType(const QString &type) const {
        QList<QJsonObject> out;
        for (const QJsonObject &m : messages) {
            if (m[u"type"].toString() == type)
                out.append(m);
        }
        return out;
    }
};
} // namespace

class TestLive : public QObject {
    Q_OBJECT
private slots:
    void toldEverythingThenEachChange();
    void holdsKeepAMoveGoingAndItsStopFollowsTheirEnd();
    void aClosedSocketStopsTheMove();
    void stopAndANewMoveEndTheLast();
    void refusedMoves_data();
    void refusedMoves();
    void floodsAndLargeMessagesCloseTheSocket_data();
    void floodsAndLargeMessagesCloseTheSocket();
    void socketsFromOtherSitesAreRefused();
};

void TestLive::toldEverythingThenEachChange() {
    WebRig rig;
    const quint16 port = rig.start();
    const QByteArray token = rig.login(QStringLiteral("bob"));
    rig.switcher.show(2, 5);
    Browser browser;
    QVERIFY(browser.connectTo(port, token));
    QTRY_VERIFY(!browser.ofType(QStringLiteral("automation")).isEmpty());
    QCOMPARE(browser.messages.first()[u"type"].toString(), QStringLiteral("hello"));
    QCOMPARE(browser.messages.first()[u"role"].toString(), QStringLiteral("viewer"));
    const QJsonArray monitors =
        browser.ofType(QStringLiteral("routing")).first()[u"monitors"].toArray();
    QCOMPARE(monitors[1][u"camera"].toInt(), 5);
    QCOMPARE(browser.ofType(QStringLiteral("cameras")).first()[u"cameras"].toArray().size(), 16);
    QVERIFY(browser.ofType(QStringLiteral("link")).first().contains(u"state"));
    QCOMPARE(browser.ofType(QStringLiteral("automation")).first()[u"alarms"][0][u"input"].toInt(),
             7);

    // A route made elsewhere (the panel) arrives without asking; a burst of
    // changes is one message.
    browser.messages.clear();
    rig.switcher.show(3, 9);
    rig.switcher.show(4, 10, true);
    QTRY_COMPARE(browser.ofType(QStringLiteral("routing")).size(), 1);
    const QJsonArray now = browser.ofType(QStringLiteral("routing")).first()[u"monitors"].toArray();
    QCOMPARE(now[2][u"camera"].toInt(), 9);
    QCOMPARE(now[3][u"stale"].toBool(), true);

    // Titles and events too.
    rig.cameras.setTitle(9, QStringLiteral("LOADING BAY"));
    QTRY_VERIFY(!browser.ofType(QStringLiteral("cameras")).isEmpty());
    QCOMPARE(browser.ofType(QStringLiteral("cameras")).last()[u"cameras"][8][u"title"].toString(),
             QStringLiteral("LOADING BAY"));
    rig.log->noteProgram(QStringLiteral("program started"));
    QTRY_VERIFY(!browser.ofType(QStringLiteral("events")).isEmpty());
    QCOMPARE(browser.ofType(QStringLiteral("events")).last()[u"events"][0][u"meaning"].toString(),
             QStringLiteral("program started"));
    QCOMPARE(rig.server->liveClients(), 1);
}

void TestLive::holdsKeepAMoveGoingAndItsStopFollowsTheirEnd() {
    WebRig rig;
    const quint16 port = rig.start();
    Browser browser;
    QVERIFY(browser.connectTo(port, rig.login(QStringLiteral("alice"))));
    browser.send(R"({"type": "move", "camera": 5, "action": "left", "speed": 3})");
    QTRY_COMPARE(rig.switcher.count(QStringLiteral("startMove")), 1);
    const auto start = rig.switcher.named(QStringLiteral("startMove")).first();
    QCOMPARE(start.a, int(devicelink::Move::Left));
    QCOMPARE(start.b, 5);
    QCOMPARE(start.origin.text(), QStringLiteral("web alice"));
    QCOMPARE(rig.switcher.speed(devicelink::Axis::Pan), 3);

    // Holds every 100 ms for twice the wait keep it going.
    QTimer holds;
    holds.setTimerType(Qt::PreciseTimer);
    connect(&holds, &QTimer::timeout, [&] { browser.send(R"({"type": "hold"})"); });
    holds.start(100);
    QTest::qWait(2 * web::LiveClient::holdWaitMs);
    QCOMPARE(rig.switcher.count(QStringLiteral("stopMove")), 0);
    holds.stop();
    // ... and when they stop, the stop code follows by itself.
    QTRY_COMPARE(rig.switcher.count(QStringLiteral("stopMove")), 1);
    const auto stop = rig.switcher.named(QStringLiteral("stopMove")).first();
    QCOMPARE(stop.a, int(devicelink::Move::Left));
    QCOMPARE(stop.origin.text(), QStringLiteral("web alice"));
    QTRY_VERIFY(!browser.ofType(QStringLiteral("stopped")).isEmpty());
    QVERIFY(browser.ofType(QStringLiteral("stopped"))
                .first()[u"reason"]
                .toString()
                .contains(QLatin1String("no hold")));
    // A hold after the stop starts nothing again.
    browser.send(R"({"type": "hold"})");
    QTest::qWait(50);
    QCOMPARE(rig.switcher.count(QStringLiteral("startMove")), 1);
}

void TestLive::aClosedSocketStopsTheMove() {
    WebRig rig;
    const quint16 port = rig.start();
    auto browser = std::make_unique<Browser>();
    QVERIFY(browser->connectTo(port, rig.login(QStringLiteral("alice"))));
    browser->send(R"({"type": "move", "camera": 2, "action": "zoom-in"})");
    QTRY_COMPARE(rig.switcher.count(QStringLiteral("startMove")), 1);
    // The browser dies: its socket closes without a word.
    browser->socket.abort();
    browser.reset();
    QTRY_COMPARE_WITH_TIMEOUT(rig.switcher.count(QStringLiteral("stopMove")), 1,
                              web::LiveClient::holdWaitMs);
    QCOMPARE(rig.switcher.named(QStringLiteral("stopMove")).first().a,
             int(devicelink::Move::ZoomIn));
    QTRY_COMPARE(rig.server->liveClients(), 0);
}

void TestLive::stopAndANewMoveEndTheLast() {
    WebRig rig;
    const quint16 port = rig.start();
    Browser browser;
    QVERIFY(browser.connectTo(port, rig.login(QStringLiteral("alice"))));
    browser.send(R"({"type": "move", "camera": 5, "action": "up"})");
    browser.send(R"({"type": "move", "camera": 5, "action": "focus-far"})");
    browser.send(R"({"type": "stop"})");
    QTRY_COMPARE(rig.switcher.count(QStringLiteral("stopMove")), 2);
    const auto stops = rig.switcher.named(QStringLiteral("stopMove"));
    QCOMPARE(stops[0].a, int(devicelink::Move::Up));
    QCOMPARE(stops[1].a, int(devicelink::Move::FocusFar));
    // A second stop has nothing to stop.
    browser.send(R"({"type": "stop"})");
    QTest::qWait(50);
    QCOMPARE(rig.switcher.count(QStringLiteral("stopMove")), 2);
}

void TestLive::refusedMoves_data() {
    QTest::addColumn<QString>("user");
    QTest::addColumn<QByteArray>("message");
    QTest::addColumn<bool>("takenBySomeoneElse");
    QTest::addColumn<int>("status");
    QTest::newRow("viewer") << "bob"
                            << QByteArray(R"({"type": "move", "camera": 5, "action": "left"})")
                            << false << 403;
    QTest::newRow("camera 17") << "alice"
                               << QByteArray(R"({"type": "move", "camera": 17, "action": "left"})")
                               << false << 400;
    QTest::newRow("no such action")
        << "alice" << QByteArray(R"({"type": "move", "camera": 5, "action": "spin"})") << false
        << 400;
    QTest::newRow("speed 8") << "alice"
                             << QByteArray(R"({"type": "move", "action": "left", "speed": 8})")
                             << false << 400;
    QTest::newRow("not JSON") << "alice" << QByteArray("move left") << false << 400;
    QTest::newRow("camera driven by a higher source")
        << "alice" << QByteArray(R"({"type": "move", "camera": 5, "action": "left"})") << true
        << 409;
}

void TestLive::refusedMoves() {
    QFETCH(QString, user);
    QFETCH(QByteArray, message);
    QFETCH(bool, takenBySomeoneElse);
    QFETCH(int, status);
    WebRig rig;
    const quint16 port = rig.start();
    if (takenBySomeoneElse)
        rig.switcher.answer = devicelink::Outcome::refused(
            QStringLiteral("camera 5 is driven by panel"), QStringLiteral("panel"));
    Browser browser;
    QVERIFY(browser.connectTo(port, rig.login(user)));
    browser.send(message);
    QTRY_VERIFY(!browser.ofType(QStringLiteral("refused")).isEmpty());
    const QJsonObject refused = browser.ofType(QStringLiteral("refused")).first();
    QCOMPARE(refused[u"status"].toInt(), status);
    if (takenBySomeoneElse)
        QCOMPARE(refused[u"holder"].toString(), QStringLiteral("panel"));
    // Nothing runs, so nothing is stopped when the holds never come.
    QTest::qWait(web::LiveClient::holdWaitMs + 100);
    QCOMPARE(rig.switcher.count(QStringLiteral("stopMove")), 0);
    QCOMPARE(rig.switcher.count(QStringLiteral("startMove")), takenBySomeoneElse ? 1 : 0);
    QVERIFY(browser.open);
}

void TestLive::floodsAndLargeMessagesCloseTheSocket_data() {
    QTest::addColumn<int>("count");
    QTest::addColumn<int>("size");
    QTest::newRow("100 holds at once") << 100 << 0;
    QTest::newRow("a 2 KiB message") << 1 << 2048;
}

void TestLive::floodsAndLargeMessagesCloseTheSocket() {
    QFETCH(int, count);
    QFETCH(int, size);
    WebRig rig;
    const quint16 port = rig.start();
    Browser browser;
    QVERIFY(browser.connectTo(port, rig.login(QStringLiteral("alice"))));
    browser.send(R"({"type": "move", "camera": 1, "action": "right"})");
    QTRY_COMPARE(rig.switcher.count(QStringLiteral("startMove")), 1);
    const QByteArray hold = size > 0
                                ? R"({"type": "hold", "pad": ")" + QByteArray(size, 'x') + "\"}"
                                : QByteArray(R"({"type": "hold"})");
    for (int i = 0; i < count; ++i)
        browser.send(hold);
    QTRY_VERIFY(!browser.open);
    QCOMPARE(rig.switcher.count(QStringLiteral("stopMove")), 1);
}

void TestLive::socketsFromOtherSitesAreRefused() {
    WebRig rig;
    const quint16 port = rig.start();
    const QByteArray token = rig.login(QStringLiteral("alice"));
    const QByteArray upgrade =
        "GET /api/v1/live HTTP/1.1\r\nHost: 127.0.0.1:" + QByteArray::number(port) +
        "\r\nConnection: Upgrade\r\nUpgrade: websocket\r\n"
        "Sec-WebSocket-Version: 13\r\n"
        "Sec-WebSocket-Key: dGhlIHNhbXBsZSBub25jZQ==\r\n";
    const QByteArray cookie = "Cookie: velmar_session=" + token + "\r\n";
    // The user's cookie sent by a page of another site.
    HttpReply reply =
        webtest::exchange(port, upgrade + cookie + "Origin: http://evil.example\r\n\r\n");
    QCOMPARE(reply.status, 403);
    // The cookie alone, with no Origin: not a browser, and no token of its own.
    reply = webtest::exchange(port, upgrade + cookie + "\r\n");
    QCOMPARE(reply.status, 403);
    // The page's own origin.
    reply = webtest::exchange(
        port,
        upgrade + cookie + "Origin: http://127.0.0.1:" + QByteArray::number(port) + "\r\n\r\n",
        2000);
    QCOMPARE(reply.status, 101);
    QCOMPARE(reply.fields.value("upgrade").toLower(), QByteArray("websocket"));
}

VELMAR_TEST_MAIN(TestLive)
#include "tst_live.moc"

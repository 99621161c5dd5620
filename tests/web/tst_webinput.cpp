// The readers of what a browser sends and the small books the server keeps:
// request heads at their bounds, the fields read from them, JSON bodies,
// rate limits, tokens and the ring of recent events.
#include "TestMain.h"
#include "web/ApiInput.h"
#include "web/EventRing.h"
#include "web/HttpHead.h"
#include "web/LiveMessage.h"
#include "web/RateLimiter.h"
#include "web/TokenBook.h"

using web::HttpHead;

class TestWebInput : public QObject {
    Q_OBJECT
private slots:
    void heads_data();
    void heads();
    void headsInPieces();
    void fieldReaders_data();
    void fieldReaders();
    void numbers_data();
    void numbers();
    void rateLimiter();
    void rateLimiterForgetsWithinItsBound();
    void tokens();
    void eventRing();
};

void TestWebInput::heads_data() {
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<int>("status");
    QTest::addColumn<QByteArray>("path");
    QTest::addColumn<bool>("keepAlive");
    using S = HttpHead::Status;
    QTest::newRow("GET") << QByteArray("GET /api/v1/routing?x=1 HTTP/1.1\r\nHost: a\r\n\r\n")
                         << int(S::Complete) << QByteArray("/api/v1/routing") << true;
    QTest::newRow("bare LF lines")
        << QByteArray("GET / HTTP/1.1\nHost: a\n\n") << int(S::Complete) << QByteArray("/") << true;
    QTest::newRow("HTTP/1.0 closes")
        << QByteArray("GET / HTTP/1.0\r\n\r\n") << int(S::Complete) << QByteArray("/") << false;
    QTest::newRow("close asked") << QByteArray("GET / HTTP/1.1\r\nConnection: close\r\n\r\n")
                                 << int(S::Complete) << QByteArray("/") << false;
    QTest::newRow("escaped path") << QByteArray("GET /salvos/Day%20shift HTTP/1.1\r\n\r\n")
                                  << int(S::Complete) << QByteArray("/salvos/Day shift") << true;
    QTest::newRow("half a head") << QByteArray("GET / HTTP/1.1\r\nHost: a\r\n") << int(S::NeedMore)
                                 << QByteArray() << true;
    QTest::newRow("NUL escaped") << QByteArray("GET /a%00b HTTP/1.1\r\n\r\n") << int(S::Bad)
                                 << QByteArray() << true;
    QTest::newRow("broken escape")
        << QByteArray("GET /a%4 HTTP/1.1\r\n\r\n") << int(S::Bad) << QByteArray() << true;
    QTest::newRow("absolute target")
        << QByteArray("GET http://a/ HTTP/1.1\r\n\r\n") << int(S::Bad) << QByteArray() << true;
    QTest::newRow("folded field") << QByteArray("GET / HTTP/1.1\r\nA: b\r\n c\r\n\r\n")
                                  << int(S::Bad) << QByteArray() << true;
    QTest::newRow("space in a name")
        << QByteArray("GET / HTTP/1.1\r\nA b: c\r\n\r\n") << int(S::Bad) << QByteArray() << true;
    QTest::newRow("lower-case method")
        << QByteArray("get / HTTP/1.1\r\n\r\n") << int(S::Bad) << QByteArray() << true;
    QTest::newRow("negative length") << QByteArray("POST / HTTP/1.1\r\nContent-Length: -1\r\n\r\n")
                                     << int(S::Bad) << QByteArray() << true;
    QTest::newRow("length at the bound")
        << QByteArray("POST / HTTP/1.1\r\nContent-Length: 65536\r\n\r\n") << int(S::Complete)
        << QByteArray("/") << true;
    QTest::newRow("one past the bound")
        << QByteArray("POST / HTTP/1.1\r\nContent-Length: 65537\r\n\r\n") << int(S::BodyTooLarge)
        << QByteArray() << true;
    QTest::newRow("a length of 30 digits")
        << QByteArray("POST / HTTP/1.1\r\nContent-Length: " + QByteArray(30, '9') + "\r\n\r\n")
        << int(S::BodyTooLarge) << QByteArray() << true;
    QTest::newRow("no end within 8 KiB")
        << QByteArray("GET / HTTP/1.1\r\nA: " + QByteArray(HttpHead::headLimit, 'a'))
        << int(S::HeadTooLarge) << QByteArray() << true;
    QTest::newRow("blank lines only") << QByteArray(HttpHead::headLimit + 1, '\n')
                                      << int(S::HeadTooLarge) << QByteArray() << true;
}

void TestWebInput::heads() {
    QFETCH(QByteArray, bytes);
    QFETCH(int, status);
    QFETCH(QByteArray, path);
    QFETCH(bool, keepAlive);
    HttpHead head;
    QCOMPARE(int(HttpHead::read(bytes, &head)), status);
    if (status == int(HttpHead::Status::Complete)) {
        QCOMPARE(head.path, path);
        QCOMPARE(head.keepAlive, keepAlive);
        QCOMPARE(head.size, bytes.size());
    }
}

void TestWebInput::headsInPieces() {
    // Every prefix of a head short of its blank line waits for more; the
    // body after it is not part of it.
    const QByteArray head = "POST /api/v1/route HTTP/1.1\r\nContent-Length: 2\r\n\r\n";
    for (qsizetype n = 0; n < head.size(); ++n) {
        HttpHead h;
        QCOMPARE(HttpHead::read(head.left(n), &h), HttpHead::Status::NeedMore);
    }
    HttpHead h;
    QCOMPARE(HttpHead::read(head + "{}GET / HTTP/1.1\r\n\r\n", &h), HttpHead::Status::Complete);
    QCOMPARE(h.size, head.size());
    QCOMPARE(h.contentLength, 2);
}

void TestWebInput::fieldReaders_data() {
    QTest::addColumn<QByteArray>("cookie");
    QTest::addColumn<QByteArray>("authorization");
    QTest::addColumn<QByteArray>("query");
    QTest::addColumn<QByteArray>("token");
    QTest::newRow("cookie among others") << QByteArray("a=1; velmar_session=T1; b=2")
                                         << QByteArray() << QByteArray() << QByteArray("T1");
    QTest::newRow("quoted cookie")
        << QByteArray("velmar_session=\"T2\"") << QByteArray() << QByteArray() << QByteArray("T2");
    QTest::newRow("a cookie whose name only ends alike")
        << QByteArray("xvelmar_session=T3") << QByteArray() << QByteArray() << QByteArray();
    QTest::newRow("bearer in any case")
        << QByteArray() << QByteArray("bEaReR  T4 ") << QByteArray() << QByteArray("T4");
    QTest::newRow("basic is not bearer")
        << QByteArray() << QByteArray("Basic dTpw") << QByteArray() << QByteArray();
    QTest::newRow("token in the query")
        << QByteArray() << QByteArray() << QByteArray("x=1&token=a%2Bb+c") << QByteArray("a+b c");
    QTest::newRow("broken escape in the query")
        << QByteArray() << QByteArray() << QByteArray("token=%zz") << QByteArray();
}

void TestWebInput::fieldReaders() {
    QFETCH(QByteArray, cookie);
    QFETCH(QByteArray, authorization);
    QFETCH(QByteArray, query);
    QFETCH(QByteArray, token);
    const QByteArray found = !cookie.isEmpty()          ? HttpHead::cookie(cookie, "velmar_session")
                             : !authorization.isEmpty() ? HttpHead::bearer(authorization)
                                                        : HttpHead::queryValue(query, "token");
    QCOMPARE(found, token);
}

void TestWebInput::numbers_data() {
    QTest::addColumn<QByteArray>("json");
    QTest::addColumn<int>("camera"); // -1: refused
    QTest::newRow("5") << QByteArray(R"({"camera": 5})") << 5;
    QTest::newRow("16") << QByteArray(R"({"camera": 16})") << 16;
    QTest::newRow("0") << QByteArray(R"({"camera": 0})") << -1;
    QTest::newRow("5.0 is five") << QByteArray(R"({"camera": 5.0})") << 5;
    QTest::newRow("5.5") << QByteArray(R"({"camera": 5.5})") << -1;
    QTest::newRow("text") << QByteArray(R"({"camera": "5"})") << -1;
    QTest::newRow("true") << QByteArray(R"({"camera": true})") << -1;
    QTest::newRow("null") << QByteArray(R"({"camera": null})") << -1;
    QTest::newRow("huge") << QByteArray(R"({"camera": 1e300})") << -1;
    QTest::newRow("missing") << QByteArray(R"({})") << -1;
}

void TestWebInput::numbers() {
    QFETCH(QByteArray, json);
    QFETCH(int, camera);
    QString error;
    const std::optional<QJsonObject> object = web::ApiInput::object(json, &error);
    QVERIFY(object);
    const std::optional<int> n =
        web::ApiInput::number(*object, QStringLiteral("camera"), 1, 16, &error);
    QCOMPARE(n.value_or(-1), camera);
    if (!n)
        QVERIFY(error.contains(QLatin1String("camera")));
    // The live socket's move reads the camera the same way.
    const web::LiveMessage move =
        web::LiveMessage::parse(R"({"type": "move", "action": "left", )" + json.mid(1));
    if (json != R"({})")
        QCOMPARE(move.type == web::LiveMessage::Type::Move, camera > 0);
}

void TestWebInput::rateLimiter() {
    web::RateLimiter limit(3, 1000);
    qint64 now = 0;
    QVERIFY(limit.take(QStringLiteral("a"), now));
    QVERIFY(limit.take(QStringLiteral("a"), now));
    QVERIFY(limit.take(QStringLiteral("a"), now));
    QVERIFY(!limit.take(QStringLiteral("a"), now));
    QCOMPARE(limit.waitMs(QStringLiteral("a"), now), 1000);
    QVERIFY(limit.take(QStringLiteral("b"), now)); // another key has its own
    now += 999;
    QVERIFY(!limit.take(QStringLiteral("a"), now));
    now += 1;
    QVERIFY(limit.take(QStringLiteral("a"), now));
    // Refused attempts do not push the refill further away.
    now += 10000;
    for (int i = 0; i < 3; ++i)
        QVERIFY(limit.take(QStringLiteral("a"), now));
}

void TestWebInput::rateLimiterForgetsWithinItsBound() {
    web::RateLimiter limit(1, 60000);
    const QString first = QStringLiteral("10.0.0.1");
    QVERIFY(limit.take(first, 0));
    QVERIFY(!limit.take(first, 1));
    // A flood of new addresses cannot grow the book past its bound.
    for (int i = 0; i < 2 * web::RateLimiter::keyLimit; ++i)
        limit.take(QStringLiteral("addr %1").arg(i), 2);
    QCOMPARE(limit.size(), web::RateLimiter::keyLimit);
}

void TestWebInput::tokens() {
    web::TokenBook book;
    const QByteArray a = book.issue(QStringLiteral("alice"), web::Role::Operator, 0);
    const QByteArray b = book.issue(QStringLiteral("alice"), web::Role::Operator, 0);
    QVERIFY(a != b);
    QCOMPARE(a.size(), 43); // 32 random bytes
    QCOMPARE(book.use(a, 1000)->user, QStringLiteral("alice"));
    // Unused for 12 hours it ends; used, it lives on.
    QVERIFY(book.use(b, web::TokenBook::idleMs));
    QVERIFY(!book.use(a, web::TokenBook::idleMs + 1001));
    book.revokeUser(QStringLiteral("alice"));
    QVERIFY(!book.use(b, web::TokenBook::idleMs + 2));
    QVERIFY(!book.holds(QStringLiteral("alice")));
    for (int i = 0; i < web::TokenBook::tokenLimit + 10; ++i)
        book.issue(QStringLiteral("u"), web::Role::Viewer, i);
    QCOMPARE(book.size(), web::TokenBook::tokenLimit);
}

void TestWebInput::eventRing() {
    web::EventRing ring;
    for (int i = 0; i < web::EventRing::capacity + 5; ++i) {
        events::Event e;
        e.at = i;
        ring.add(e);
    }
    QCOMPARE(ring.size(), web::EventRing::capacity);
    const QList<events::Event> latest = ring.latest(3);
    QCOMPARE(latest.size(), 3);
    QCOMPARE(latest[0].at, web::EventRing::capacity + 2);
    QCOMPARE(latest[2].at, web::EventRing::capacity + 4);
    QCOMPARE(ring.latest(1000).first().at, 5);
}

VELMAR_TEST_MAIN(TestWebInput)
#include "tst_webinput.moc"

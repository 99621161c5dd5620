// The API on a loopback port: real requests, each status produced by what a
// client can actually send, and what reached the switcher with which origin.
#include "TestMain.h"
#include "WebRig.h"
#include "web/Access.h"
#include "web/HttpHead.h"

#include <QFile>
#include <QJsonArray>
#include <QSignalSpy>

using webtest::HttpReply;
using webtest::WebRig;

class TestWebApi : public QObject {
    Q_OBJECT
private slots:
    void statuses_data();
    void statuses();
    void routeGoesOutAsTheUser();
    void lockedMonitorNamesItsHolder();
    void notSentIs503WithTheReason();
    void logInAttemptsAreLimitedPerAddress();
    void requestsAreLimitedPerAddress();
    void cookieSessionAndOtherSites();
    void automationAbsent();
    void pageFromResourcesOnly();
    void offByDefaultAndLoopbackWithoutUsers();
    void removedUserLosesTokens();
    void bounds_data();
    void bounds();
};

void TestWebApi::statuses_data() {
    QTest::addColumn<QString>("user");
    QTest::addColumn<QByteArray>("method");
    QTest::addColumn<QByteArray>("path");
    QTest::addColumn<QByteArray>("body");
    QTest::addColumn<int>("status");
    QTest::addColumn<QString>("says");

    QTest::newRow("no token") << "" << QByteArray("GET") << QByteArray("/api/v1/routing")
                              << QByteArray() << 401 << "log in";
    QTest::newRow("a token that was never given")
        << "forged" << QByteArray("GET") << QByteArray("/api/v1/routing") << QByteArray() << 401
        << "log in";
    QTest::newRow("wrong password")
        << "" << QByteArray("POST") << QByteArray("/api/v1/login")
        << QByteArray(R"({"user": "alice", "password": "bob-pw"})") << 401 << "wrong user name";
    QTest::newRow("unknown user") << "" << QByteArray("POST") << QByteArray("/api/v1/login")
                                  << QByteArray(R"({"user": "mallory", "password": "x"})") << 401
                                  << "wrong user name";
    QTest::newRow("log-in without a password")
        << "" << QByteArray("POST") << QByteArray("/api/v1/login")
        << QByteArray(R"({"user": "alice"})") << 400 << "password";
    QTest::newRow("log-in that is not JSON")
        << "" << QByteArray("POST") << QByteArray("/api/v1/login") << QByteArray("{user") << 400
        << "not JSON";
    QTest::newRow("viewer reads the routing")
        << "bob" << QByteArray("GET") << QByteArray("/api/v1/routing") << QByteArray() << 200
        << "monitors";
    QTest::newRow("viewer routes")
        << "bob" << QByteArray("POST") << QByteArray("/api/v1/route")
        << QByteArray(R"({"monitor": 2, "camera": 5})") << 403 << "viewer";
    QTest::newRow("viewer locks") << "bob" << QByteArray("POST")
                                  << QByteArray("/api/v1/monitors/2/lock") << QByteArray() << 403
                                  << "viewer";
    QTest::newRow("operator forces a lock")
        << "alice" << QByteArray("POST") << QByteArray("/api/v1/monitors/2/lock")
        << QByteArray(R"({"force": true})") << 403 << "supervisor";
    QTest::newRow("operator raises an alarm input")
        << "alice" << QByteArray("POST") << QByteArray("/api/v1/alarms/7")
        << QByteArray(R"({"active": true})") << 403 << "operator";
    QTest::newRow("supervisor raises an alarm input")
        << "sue" << QByteArray("POST") << QByteArray("/api/v1/alarms/7")
        << QByteArray(R"({"active": true})") << 200 << "ok";
    QTest::newRow("operator acknowledges an alarm")
        << "alice" << QByteArray("POST") << QByteArray("/api/v1/alarms/7/ack") << QByteArray()
        << 200 << "ok";
    QTest::newRow("camera 17") << "alice" << QByteArray("POST") << QByteArray("/api/v1/route")
                               << QByteArray(R"({"monitor": 2, "camera": 17})") << 400 << "camera";
    QTest::newRow("camera as text")
        << "alice" << QByteArray("POST") << QByteArray("/api/v1/route")
        << QByteArray(R"({"monitor": 2, "camera": "5"})") << 400 << "camera";
    QTest::newRow("camera 2.5") << "alice" << QByteArray("POST") << QByteArray("/api/v1/route")
                                << QByteArray(R"({"monitor": 2, "camera": 2.5})") << 400
                                << "whole number";
    QTest::newRow("body an array") << "alice" << QByteArray("POST") << QByteArray("/api/v1/route")
                                   << QByteArray("[1, 2]") << 400 << "object";
    QTest::newRow("monitor 5 lock")
        << "alice" << QByteArray("POST") << QByteArray("/api/v1/monitors/5/lock") << QByteArray()
        << 400 << "monitors";
    QTest::newRow("preset 17") << "alice" << QByteArray("POST")
                               << QByteArray("/api/v1/presets/17/recall") << QByteArray() << 400
                               << "presets";
    QTest::newRow("preset recall")
        << "alice" << QByteArray("POST") << QByteArray("/api/v1/presets/3/recall")
        << QByteArray(R"({"camera": 5})") << 200 << "ok";
    QTest::newRow("auxiliary wiper")
        << "alice" << QByteArray("POST") << QByteArray("/api/v1/auxiliary/wiper") << QByteArray()
        << 200 << "ok";
    QTest::newRow("auxiliary unknown")
        << "alice" << QByteArray("POST") << QByteArray("/api/v1/auxiliary/horn") << QByteArray()
        << 400 << "auxiliary";
    QTest::newRow("salvo") << "alice" << QByteArray("POST")
                           << QByteArray("/api/v1/salvos/Day%20shift/recall") << QByteArray() << 200
                           << "ok";
    QTest::newRow("salvo unknown")
        << "alice" << QByteArray("POST") << QByteArray("/api/v1/salvos/Dawn/recall") << QByteArray()
        << 404 << "salvo";
    QTest::newRow("tour step back")
        << "alice" << QByteArray("POST") << QByteArray("/api/v1/tours/1/step")
        << QByteArray(R"({"by": -1})") << 200 << "ok";
    QTest::newRow("tour 9") << "alice" << QByteArray("POST") << QByteArray("/api/v1/tours/9/start")
                            << QByteArray() << 404 << "tour";
    QTest::newRow("no such resource")
        << "alice" << QByteArray("GET") << QByteArray("/api/v1/nothing") << QByteArray() << 404
        << "no such";
    QTest::newRow("a method not served")
        << "alice" << QByteArray("DELETE") << QByteArray("/api/v1/routing") << QByteArray() << 405
        << "GET";
    QTest::newRow("events limit 0")
        << "bob" << QByteArray("GET") << QByteArray("/api/v1/events?limit=0") << QByteArray() << 400
        << "limit";
}

void TestWebApi::statuses() {
    QFETCH(QString, user);
    QFETCH(QByteArray, method);
    QFETCH(QByteArray, path);
    QFETCH(QByteArray, body);
    QFETCH(int, status);
    QFETCH(QString, says);
    WebRig rig;
    QVERIFY(rig.start() != 0);
    QByteArray token;
    if (user == QLatin1String("forged"))
        token = "AAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAA";
    else if (!user.isEmpty())
        token = rig.login(user);
    QVERIFY(user.isEmpty() || !token.isEmpty());
    const HttpReply reply = webtest::exchange(
        rig.server->port(),
        webtest::request(method, path, body,
                         token.isEmpty() ? QByteArray()
                                         : "Authorization: Bearer " + token + "\r\n"));
    QCOMPARE(reply.status, status);
    QVERIFY2(reply.body.contains(says.toUtf8()), reply.body.constData());
    QVERIFY(reply.fields.value("content-type").startsWith("application/json"));
    if (status == 401 && !path.endsWith("login"))
        QCOMPARE(reply.fields.value("www-authenticate"), QByteArray("Bearer"));
}

void TestWebApi::routeGoesOutAsTheUser() {
    WebRig rig;
    rig.start();
    const QByteArray alice = rig.login(QStringLiteral("alice"));
    const QByteArray sue = rig.login(QStringLiteral("sue"));
    QCOMPARE(rig.post("/api/v1/route", R"({"monitor": 2, "camera": 5})", alice).status, 200);
    QCOMPARE(rig.post("/api/v1/route", R"({"monitor": 3, "camera": 16})", sue).status, 200);
    const auto routes = rig.switcher.named(QStringLiteral("route"));
    QCOMPARE(routes.size(), 2);
    QCOMPARE(routes[0].a, 2);
    QCOMPARE(routes[0].b, 5);
    QCOMPARE(routes[0].origin.text(), QStringLiteral("web alice"));
    QCOMPARE(routes[0].origin.priority, 40);
    QCOMPARE(routes[1].origin.text(), QStringLiteral("web sue"));
    QCOMPARE(routes[1].origin.priority, 80);

    // The routing read back says what the switcher says, titles and all.
    rig.cameras.setTitle(5, QStringLiteral("GATE NORTH"));
    const QJsonArray monitors = rig.get("/api/v1/routing", alice).json()[u"monitors"].toArray();
    QCOMPARE(monitors.size(), 4);
    QCOMPARE(monitors[1][u"camera"].toInt(), 5);
    QCOMPARE(monitors[1][u"title"].toString(), QStringLiteral("GATE NORTH"));
    QVERIFY(monitors[0][u"camera"].isNull());
    QVERIFY(monitors[0][u"lock"].isNull());

    // The log-ins are in the event log with their users.
    QStringList seen;
    for (const events::Event &e : std::as_const(rig.noted))
        seen << e.origin + QLatin1String(": ") + e.meaning;
    QVERIFY(seen.contains(QStringLiteral("web alice: logged in as operator")));
    QVERIFY(seen.contains(QStringLiteral("web sue: logged in as supervisor")));
}

void TestWebApi::lockedMonitorNamesItsHolder() {
    WebRig rig;
    rig.start();
    const QByteArray alice = rig.login(QStringLiteral("alice"));
    const QByteArray sue = rig.login(QStringLiteral("sue"));
    QCOMPARE(rig.post("/api/v1/monitors/2/lock", {}, sue).status, 200);
    const HttpReply refused = rig.post("/api/v1/route", R"({"monitor": 2, "camera": 5})", alice);
    QCOMPARE(refused.status, 409);
    QCOMPARE(refused.json()[u"holder"].toString(), QStringLiteral("web sue"));
    QVERIFY(refused.json()[u"error"].toString().contains(QLatin1String("locked by web sue")));
    const QJsonArray monitors = rig.get("/api/v1/routing", alice).json()[u"monitors"].toArray();
    QCOMPARE(monitors[1][u"lock"][u"holder"].toString(), QStringLiteral("web sue"));
    // An operator cannot take it; the lock's holder gives it up.
    QCOMPARE(rig.post("/api/v1/monitors/2/unlock", {}, alice).status, 409);
    QCOMPARE(rig.post("/api/v1/monitors/2/unlock", {}, sue).status, 200);
    QCOMPARE(rig.post("/api/v1/route", R"({"monitor": 2, "camera": 5})", alice).status, 200);
}

void TestWebApi::notSentIs503WithTheReason() {
    WebRig rig;
    rig.start();
    const QByteArray alice = rig.login(QStringLiteral("alice"));
    rig.switcher.answer = devicelink::Outcome::notSent(QStringLiteral("the port is closed"));
    const HttpReply reply = rig.post("/api/v1/route", R"({"monitor": 1, "camera": 3})", alice);
    QCOMPARE(reply.status, 503);
    QCOMPARE(reply.json()[u"error"].toString(), QStringLiteral("the port is closed"));
    // An answer that comes later still reaches the client that waits for it.
    rig.switcher.answer.reset();
    rig.switcher.holdAnswers = true;
    QTimer::singleShot(50, [&] { rig.switcher.releaseHeld(); });
    QCOMPARE(rig.post("/api/v1/presets/2/store", {}, alice).status, 200);
}

void TestWebApi::logInAttemptsAreLimitedPerAddress() {
    WebRig rig;
    rig.start();
    const QByteArray wrong = R"({"user": "alice", "password": "guess"})";
    for (int i = 0; i < web::Access::loginBurst; ++i)
        QCOMPARE(rig.post("/api/v1/login", wrong, {}).status, 401);
    // The right password is refused too while the address has no attempt left.
    const QByteArray right = R"({"user": "alice", "password": "alice-pw"})";
    const HttpReply limited = rig.post("/api/v1/login", right, {});
    QCOMPARE(limited.status, 429);
    QVERIFY(limited.fields.value("retry-after").toInt() >= 1);
    rig.now += web::Access::loginRefillMs;
    QCOMPARE(rig.post("/api/v1/login", right, {}).status, 200);
    int failed = 0;
    for (const events::Event &e : std::as_const(rig.noted)) {
        if (e.meaning == QLatin1String("log-in failed")) {
            QCOMPARE(e.origin, QStringLiteral("web alice"));
            QCOMPARE(e.channel, QStringLiteral("127.0.0.1"));
            ++failed;
        }
    }
    QCOMPARE(failed, web::Access::loginBurst);
    // The password is never in the log.
    for (const events::Event &e : std::as_const(rig.noted))
        QVERIFY(!e.meaning.contains(QLatin1String("guess")));
}

void TestWebApi::requestsAreLimitedPerAddress() {
    WebRig rig;
    rig.start();
    int answered = 0;
    for (int i = 0; i < web::WebServer::requestBurst; ++i)
        answered += rig.get("/api/v1/routing", {}).status == 401;
    QCOMPARE(answered, web::WebServer::requestBurst);
    const HttpReply limited = rig.get("/api/v1/routing", {});
    QCOMPARE(limited.status, 429);
    QCOMPARE(limited.fields.value("retry-after"), QByteArray("1"));
    rig.now += web::WebServer::requestRefillMs;
    QCOMPARE(rig.get("/api/v1/routing", {}).status, 401);
}

void TestWebApi::cookieSessionAndOtherSites() {
    WebRig rig;
    rig.start();
    const HttpReply login =
        rig.post("/api/v1/login", R"({"user": "alice", "password": "alice-pw"})", {});
    QCOMPARE(login.status, 200);
    QCOMPARE(login.json()[u"role"].toString(), QStringLiteral("operator"));
    QCOMPARE(login.cookies.size(), 1);
    const QByteArray cookie = login.cookies[0];
    QVERIFY(cookie.contains("HttpOnly"));
    QVERIFY(cookie.contains("SameSite=Strict"));
    QVERIFY(!cookie.contains("Secure")); // plain HTTP: a Secure cookie would never come back
    const QByteArray token = web::HttpHead::cookie(cookie.split(';').first(), "velmar_session");
    QCOMPARE(token, login.json()[u"token"].toString().toLatin1());

    const QByteArray byCookie = "Cookie: velmar_session=" + token + "\r\n";
    QCOMPARE(rig.post("/api/v1/route", R"({"monitor": 1, "camera": 2})", {},
                      byCookie + "Origin: http://127.0.0.1\r\n")
                 .status,
             200);
    const HttpReply crossSite = rig.post("/api/v1/route", R"({"monitor": 1, "camera": 2})", {},
                                         byCookie + "Origin: http://evil.example\r\n");
    QCOMPARE(crossSite.status, 403);
    QCOMPARE(rig.switcher.count(QStringLiteral("route")), 1);

    // Logging out ends the token and clears the cookie.
    const HttpReply out = rig.post("/api/v1/logout", {}, token);
    QCOMPARE(out.status, 200);
    QVERIFY(out.cookies.value(0).contains("Max-Age=0"));
    QCOMPARE(rig.get("/api/v1/me", token).status, 401);
}

void TestWebApi::automationAbsent() {
    WebRig rig(false);
    rig.start();
    const QByteArray alice = rig.login(QStringLiteral("alice"));
    QCOMPARE(rig.get("/api/v1/me", alice).json()[u"automation"].toBool(), false);
    QCOMPARE(rig.get("/api/v1/tours", alice).status, 404);
    QCOMPARE(rig.post("/api/v1/salvos/Night/recall", {}, alice).status, 503);
    QCOMPARE(rig.post("/api/v1/alarms/7/ack", {}, alice).status, 503);
}

void TestWebApi::pageFromResourcesOnly() {
    WebRig rig;
    rig.start();
    const HttpReply page = rig.get("/", {});
    QCOMPARE(page.status, 200);
    QVERIFY(page.fields.value("content-type").startsWith("text/html"));
    QVERIFY(page.body.contains("app.js"));
    QVERIFY(page.fields.value("content-security-policy").contains("default-src 'none'"));
    QCOMPARE(rig.get("/app.js", {}).status, 200);
    // Folders are never listed, nothing is read from disk.
    for (const QByteArray &path :
         {QByteArray("/page/"), QByteArray("/web/"), QByteArray("/%2e%2e/users.ini"),
          QByteArray("/users.ini"), QByteArray("/app.js/")})
        QCOMPARE(rig.get(path, {}).status, 404);
}

void TestWebApi::offByDefaultAndLoopbackWithoutUsers() {
    {
        WebRig rig;
        rig.settings.values.clear();
        rig.server->start();
        QCOMPARE(rig.server->state(), web::WebServer::State::Off);
        QCOMPARE(rig.server->port(), quint16(0));
    }
    WebRig rig;
    QFile::remove(rig.dir.filePath(QStringLiteral("users.ini")));
    rig.settings.setValue(QStringLiteral("Web"), QStringLiteral("Address"),
                          QStringLiteral("0.0.0.0"));
    QSignalSpy changed(rig.server.get(), &web::WebServer::stateChanged);
    QVERIFY(rig.start() != 0);
    QCOMPARE(changed.size(), 1);
    QVERIFY2(rig.server->stateText().contains(QLatin1String("127.0.0.1")),
             qPrintable(rig.server->stateText()));
    QVERIFY(rig.server->stateText().contains(QLatin1String("no user")));
    // Neither TLS half alone: it never falls back to plain text.
    rig.settings.setValue(QStringLiteral("Web"), QStringLiteral("Certificate"),
                          rig.dir.filePath(QStringLiteral("missing.pem")));
    rig.server->start();
    QCOMPARE(rig.server->state(), web::WebServer::State::Failed);
    QCOMPARE(rig.server->port(), quint16(0));
}

void TestWebApi::removedUserLosesTokens() {
    WebRig rig;
    rig.start();
    const QByteArray alice = rig.login(QStringLiteral("alice"));
    QCOMPARE(rig.get("/api/v1/me", alice).status, 200);
    QVERIFY(rig.server->users().remove(QStringLiteral("alice")).isEmpty());
    QCOMPARE(rig.get("/api/v1/me", alice).status, 401);
}

void TestWebApi::bounds_data() {
    QTest::addColumn<QByteArray>("raw");
    QTest::addColumn<int>("status");
    const QByteArray longField = "X-Filler: " + QByteArray(9000, 'a') + "\r\n";
    QByteArray manyFields;
    for (int i = 0; i < 70; ++i)
        manyFields += "X-" + QByteArray::number(i) + ": 1\r\n";
    QTest::newRow("head over 8 KiB")
        << QByteArray("GET /api/v1/routing HTTP/1.1\r\nHost: a\r\n" + longField + "\r\n") << 431;
    QTest::newRow("70 fields") << QByteArray("GET /api/v1/routing HTTP/1.1\r\n" + manyFields +
                                             "\r\n")
                               << 431;
    QTest::newRow("body over 64 KiB")
        << QByteArray("POST /api/v1/login HTTP/1.1\r\nContent-Length: 70000\r\n\r\n") << 413;
    QTest::newRow("chunked body")
        << QByteArray("POST /api/v1/login HTTP/1.1\r\nTransfer-Encoding: chunked\r\n\r\n0\r\n\r\n")
        << 501;
    QTest::newRow("two lengths")
        << QByteArray("POST /api/v1/login HTTP/1.1\r\nContent-Length: 2\r\nContent-Length: "
                      "3\r\n\r\n{}")
        << 400;
    QTest::newRow("not HTTP") << QByteArray("HELLO\r\n\r\n") << 400;
    QTest::newRow("HTTP/2 preface") << QByteArray("PRI * HTTP/2.0\r\n\r\nSM\r\n\r\n") << 400;
    QTest::newRow("a socket elsewhere")
        << QByteArray("GET /ws HTTP/1.1\r\nConnection: Upgrade\r\nUpgrade: websocket\r\n\r\n")
        << 404;
    QTest::newRow("a socket without a token")
        << QByteArray("GET /api/v1/live HTTP/1.1\r\nConnection: Upgrade\r\nUpgrade: "
                      "websocket\r\n\r\n")
        << 401;
}

void TestWebApi::bounds() {
    QFETCH(QByteArray, raw);
    QFETCH(int, status);
    WebRig rig;
    rig.start();
    const HttpReply reply = webtest::exchange(rig.server->port(), raw);
    QCOMPARE(reply.status, status);
    QVERIFY(reply.closed);
}

VELMAR_TEST_MAIN(TestWebApi)
#include "tst_webapi.moc"

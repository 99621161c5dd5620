#include "WebRig.h"

#include "web/UserStore.h"

#include <QDir>
#include <QFile>
#include <QJsonDocument>
#include <QTcpSocket>
#include <QTest>

namespace webtest {

namespace {
// The users are made once per run: each password costs 100,000 rounds.
QString usersFile() {
    static QTemporaryDir folder;
    static const QString path = [] {
        const QString p = folder.filePath(QStringLiteral("users.ini"));
        web::UserStore store(p);
        store.add(QStringLiteral("alice"), web::Role::Operator, "alice-pw");
        store.add(QStringLiteral("bob"), web::Role::Viewer, "bob-pw");
        store.add(QStringLiteral("sue"), web::Role::Supervisor, "sue-pw");
        return p;
    }();
    return path;
}
} // namespace

QJsonObject HttpReply::json() const {
    return QJsonDocument::fromJson(body).object();
}

QByteArray request(const QByteArray &method, const QByteArray &path, const QByteArray &body,
                   const QByteArray &extraFields) {
    QByteArray raw = method + ' ' + path + " HTTP/1.1\r\nHost: 127.0.0.1\r\n";
    if (!body.isEmpty() || method == "POST")
        raw +=
            "Content-Type: application/json\r\nContent-Length: " + QByteArray::number(body.size()) +
            "\r\n";
    raw += extraFields;
    raw += "\r\n" + body;
    return raw;
}

HttpReply exchange(quint16 port, const QByteArray &raw, int timeoutMs) {
    QTcpSocket client;
    client.connectToHost(QHostAddress::LocalHost, port);
    QByteArray in;
    bool closed = false;
    QObject::connect(&client, &QTcpSocket::readyRead, [&] { in += client.readAll(); });
    QObject::connect(&client, &QTcpSocket::disconnected, [&] { closed = true; });
    QObject::connect(&client, &QTcpSocket::connected, [&] { client.write(raw); });
    HttpReply reply;
    const auto complete = [&] {
        const qsizetype end = in.indexOf("\r\n\r\n");
        if (end < 0)
            return closed;
        const QByteArrayList lines = in.left(end).split('\n');
        reply = HttpReply();
        reply.status = lines.value(0).split(' ').value(1).toInt();
        for (qsizetype i = 1; i < lines.size(); ++i) {
            const QByteArray line = lines[i].trimmed();
            const qsizetype colon = line.indexOf(':');
            const QByteArray name = line.left(colon).toLower();
            const QByteArray value = line.mid(colon + 1).trimmed();
            if (name == "set-cookie")
                reply.cookies.append(value);
            reply.fields.insert(name, value);
        }
        const qsizetype length = reply.fields.value("content-length").toLongLong();
        reply.body = in.mid(end + 4);
        return reply.body.size() >= length;
    };
    (void)QTest::qWaitFor(complete, timeoutMs);
    // A server that closes after its answer has done so by the time a
    // second look at the socket is taken.
    if (reply.fields.value("connection") == "close")
        (void)QTest::qWaitFor([&] { return closed; }, 2000);
    reply.closed = closed;
    return reply;
}

WebRig::WebRig(bool withAutomation) {
    QFile::copy(usersFile(), dir.filePath(QStringLiteral("users.ini")));
    QFile::setPermissions(dir.filePath(QStringLiteral("users.ini")),
                          QFile::ReadOwner | QFile::WriteOwner);
    store = std::make_unique<events::EventStore>(dir.filePath(QStringLiteral("events.sqlite")));
    log = std::make_unique<events::SessionLog>(session, *store);
    QObject::connect(log.get(), &events::SessionLog::noted,
                     [this](const events::Event &e) { noted.append(e); });
    settings.setValue(QStringLiteral("Web"), QStringLiteral("Enabled"), QStringLiteral("true"));
    settings.setValue(QStringLiteral("Web"), QStringLiteral("Port"), QStringLiteral("0"));
    server = std::make_unique<web::WebServer>(switcher, withAutomation ? &automation : nullptr,
                                              link, cameras, *log, settings, dir.path());
    server->setClock([this] { return now; });
}

WebRig::~WebRig() {
    server.reset();
}

quint16 WebRig::start() {
    server->start();
    return server->port();
}

QByteArray WebRig::login(const QString &user) {
    const HttpReply reply =
        exchange(server->port(), request("POST", "/api/v1/login",
                                         "{\"user\": \"" + user.toUtf8() + "\", \"password\": \"" +
                                             user.toUtf8() + "-pw\"}"));
    return reply.json().value(QStringLiteral("token")).toString().toLatin1();
}

HttpReply WebRig::get(const QByteArray &path, const QByteArray &token) {
    return exchange(
        server->port(),
        request("GET", path, {},
                token.isEmpty() ? QByteArray() : "Authorization: Bearer " + token + "\r\n"));
}

HttpReply WebRig::post(const QByteArray &path, const QByteArray &body, const QByteArray &token,
                       const QByteArray &extraFields) {
    return exchange(
        server->port(),
        request("POST", path, body,
                (token.isEmpty() ? QByteArray() : "Authorization: Bearer " + token + "\r\n") +
                    extraFields));
}

} // namespace webtest

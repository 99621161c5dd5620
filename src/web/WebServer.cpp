#include "web/WebServer.h"

#include "events/Event.h"
#include "events/SessionLog.h"
#include "link/Priorities.h"
#include "ui/SettingsStore.h"
#include "web/Api.h"
#include "web/HttpConnection.h"
#include "web/HttpHead.h"
#include "web/LiveHub.h"

#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QHttpServerResponse>
#include <QSslCertificate>
#include <QSslConfiguration>
#include <QSslKey>
#include <QSslServer>
#include <QSslSocket>
#include <QTcpServer>

namespace web {

namespace {
const QString section = QStringLiteral("Web");
constexpr quint16 defaultPort = 8080;

bool isTrue(const QString &text) {
    const QString t = text.trimmed().toLower();
    return t == QLatin1String("true") || t == QLatin1String("1") || t == QLatin1String("yes") ||
           t == QLatin1String("on");
}

QHostAddress plain(const QHostAddress &address) {
    bool isV4 = false;
    const quint32 v4 = address.toIPv4Address(&isV4);
    return isV4 ? QHostAddress(v4) : address;
}

QString hostPort(const QHostAddress &address, quint16 port) {
    if (address.protocol() == QHostAddress::IPv6Protocol)
        return QLatin1Char('[') + address.toString() + QLatin1String("]:") + QString::number(port);
    return address.toString() + QLatin1Char(':') + QString::number(port);
}

qint64 systemNow() {
    return QDateTime::currentMSecsSinceEpoch();
}
} // namespace

WebServer::WebServer(devicelink::Switcher &switcher, automation::Automation *automation,
                     devicelink::LinkMonitor &link, config::CameraModel &cameras,
                     events::SessionLog &log, ui::SettingsStore &settings,
                     const QString &storageFolder, QObject *parent)
    : QObject(parent)
    , m_switcher(switcher)
    , m_settings(settings)
    , m_log(log)
    , m_clock(&systemNow)
    , m_users(QDir(storageFolder).filePath(QStringLiteral("users.ini"))) {
    const auto clock = [this] { return m_clock(); };
    m_access = new Access(m_users, devicelink::Priorities::read(settings), clock, this);
    m_api = new Api(
        switcher, automation, link, cameras, *m_access, m_events,
        [this](const events::Event &e) { note(e); }, this);
    m_live = new LiveHub(switcher, automation, link, cameras, m_events, clock, this);
    m_stateText = tr("web off");
    connect(&m_log, &events::SessionLog::noted, this, [this](const events::Event &e) {
        // Off, nobody will ask for the latest events.
        if (!m_server)
            return;
        m_events.add(e);
        m_live->eventNoted(e);
    });
    connect(m_access, &Access::userGone, m_live, &LiveHub::closeUser);
}

WebServer::~WebServer() {
    stop();
}

void WebServer::setClock(std::function<qint64()> clock) {
    m_clock = std::move(clock);
}

quint16 WebServer::port() const {
    return m_server && m_server->isListening() ? m_server->serverPort() : 0;
}

int WebServer::liveClients() const {
    return m_live->clients();
}

void WebServer::setState(State state, const QString &text) {
    if (state == m_state && text == m_stateText)
        return;
    m_state = state;
    m_stateText = text;
    emit stateChanged();
}

QString WebServer::failText(const QString &why) const {
    return tr("web: cannot listen: %1").arg(why);
}

void WebServer::stop() {
    m_live->closeAll();
    const QList<HttpConnection *> connections = m_connections;
    for (HttpConnection *c : connections)
        c->close();
    m_connections.clear();
    m_perAddress.clear();
    if (m_server) {
        m_server->close();
        m_server->deleteLater();
        m_server = nullptr;
    }
    setState(State::Off, tr("web off"));
}

void WebServer::start() {
    stop();
    if (!isTrue(m_settings.value(section, QStringLiteral("Enabled"))))
        return;
    const QString addressText = m_settings.value(section, QStringLiteral("Address")).trimmed();
    const QString portText = m_settings.value(section, QStringLiteral("Port")).trimmed();
    const QString certificatePath =
        m_settings.value(section, QStringLiteral("Certificate")).trimmed();
    const QString keyPath = m_settings.value(section, QStringLiteral("Key")).trimmed();
    QHostAddress address(addressText.isEmpty() ? QStringLiteral("127.0.0.1") : addressText);
    if (address.isNull()) {
        setState(State::Failed, failText(tr("Address=%1 is not an IP address").arg(addressText)));
        return;
    }
    bool isNumber = true;
    const uint port = portText.isEmpty() ? defaultPort : portText.toUInt(&isNumber);
    if (!isNumber || port > 65535) {
        setState(State::Failed, failText(tr("Port=%1 is not a port number").arg(portText)));
        return;
    }
    // Nobody could log in from elsewhere without a user: until one exists
    // the server stays on this machine.
    m_users.refresh();
    QString limited;
    if (!plain(address).isLoopback() && m_users.isEmpty()) {
        address = QHostAddress(QHostAddress::LocalHost);
        limited = tr(" (this machine only: no user yet, add one with --add-user)");
    }

    // With a certificate and key it speaks TLS and nothing else; a pair that
    // cannot be used stops it rather than letting it speak in the clear.
    QTcpServer *server = nullptr;
    const bool tls = !certificatePath.isEmpty() || !keyPath.isEmpty();
    if (tls) {
        if (certificatePath.isEmpty() || keyPath.isEmpty()) {
            setState(State::Failed, failText(tr("Certificate and Key are set together")));
            return;
        }
        QFile certificateFile(certificatePath);
        QFile keyFile(keyPath);
        QList<QSslCertificate> chain;
        if (certificateFile.open(QIODevice::ReadOnly) && certificateFile.size() < 1024 * 1024)
            chain = QSslCertificate::fromData(certificateFile.readAll(), QSsl::Pem);
        if (chain.isEmpty()) {
            setState(
                State::Failed,
                failText(tr("%1 is not a PEM certificate that can be read").arg(certificatePath)));
            return;
        }
        QSslKey key;
        if (keyFile.open(QIODevice::ReadOnly) && keyFile.size() < 1024 * 1024) {
            const QByteArray pem = keyFile.readAll();
            key = QSslKey(pem, QSsl::Rsa, QSsl::Pem);
            if (key.isNull())
                key = QSslKey(pem, QSsl::Ec, QSsl::Pem);
        }
        if (key.isNull()) {
            setState(State::Failed,
                     failText(tr("%1 is not a PEM key (RSA or EC) that can be read").arg(keyPath)));
            return;
        }
        QSslConfiguration configuration = QSslConfiguration::defaultConfiguration();
        configuration.setLocalCertificate(chain.first());
        configuration.setLocalCertificateChain(chain);
        configuration.setPrivateKey(key);
        configuration.setProtocol(QSsl::TlsV1_2OrLater);
        configuration.setPeerVerifyMode(QSslSocket::VerifyNone);
        auto *ssl = new QSslServer(this);
        ssl->setSslConfiguration(configuration);
        ssl->setHandshakeTimeout(5000);
        connect(ssl, &QSslServer::startedEncryptionHandshake, this, [this](QSslSocket *socket) {
            if (m_connections.size() >= connectionLimit ||
                m_perAddress.value(plain(socket->peerAddress()).toString()) >= perAddressLimit)
                socket->abort();
        });
        server = ssl;
    } else {
        server = new QTcpServer(this);
    }
    server->setMaxPendingConnections(connectionLimit);
    connect(server, &QTcpServer::pendingConnectionAvailable, this, &WebServer::accept);
    if (!server->listen(address, quint16(port))) {
        const QString why = server->errorString();
        delete server;
        setState(State::Failed, failText(tr("%1: %2").arg(hostPort(address, quint16(port)), why)));
        return;
    }
    m_server = server;
    const QString scheme = tls ? QStringLiteral("https://") : QStringLiteral("http://");
    setState(State::Listening,
             tr("web: %1").arg(scheme + hostPort(address, m_server->serverPort())) + limited);
}

void WebServer::accept() {
    if (!m_server)
        return;
    while (QTcpSocket *socket = m_server->nextPendingConnection())
        take(socket);
}

void WebServer::take(QTcpSocket *socket) {
    const QString address = plain(socket->peerAddress()).toString();
    if (m_connections.size() >= connectionLimit || m_perAddress.value(address) >= perAddressLimit) {
        socket->abort();
        socket->deleteLater();
        return;
    }
    ++m_perAddress[address];
    auto *connection = new HttpConnection(socket, this);
    m_connections.append(connection);
    connect(connection, &HttpConnection::requestReady, this, &WebServer::request);
    connect(connection, &HttpConnection::upgradeRequested, this, &WebServer::upgrade);
    connect(connection, &HttpConnection::closed, this, &WebServer::dropped);
}

void WebServer::dropped(HttpConnection *connection) {
    if (!m_connections.removeOne(connection))
        return;
    const QString address = plain(connection->peer()).toString();
    if (--m_perAddress[address] <= 0)
        m_perAddress.remove(address);
    connection->deleteLater();
}

void WebServer::request(HttpConnection *connection, const HttpHead &head, const QByteArray &body) {
    const QString address = plain(connection->peer()).toString();
    if (!m_requests.take(address, m_clock())) {
        const qint64 wait = m_requests.waitMs(address, m_clock());
        connection->respond(
            Api::error(429, tr("too many requests")),
            {{"Retry-After", QByteArray::number(qMax<qint64>(1, (wait + 999) / 1000))}});
        return;
    }
    QPointer<HttpConnection> guard(connection);
    m_api->handle({head, body, address, connection->secure()},
                  [guard](const QHttpServerResponse &response, const HeaderList &headers) {
                      if (guard)
                          guard->respond(response, headers);
                  });
}

void WebServer::upgrade(HttpConnection *connection, const HttpHead &head) {
    const QString address = plain(connection->peer()).toString();
    if (!m_requests.take(address, m_clock())) {
        connection->refuse(Api::error(429, tr("too many requests")), {{"Retry-After", "1"}});
        return;
    }
    if (head.path != "/api/v1/live" || head.method != "GET") {
        connection->refuse(Api::error(404, QStringLiteral("the live socket is /api/v1/live")));
        return;
    }
    const QByteArray token = HttpHead::queryValue(head.query, "token");
    const std::optional<Access::Caller> caller =
        token.isEmpty() ? m_access->caller(head) : m_access->callerOf(token, false);
    if (!caller) {
        connection->refuse(Api::error(401, QStringLiteral("log in first")));
        return;
    }
    // A page of another site may open a socket here with the user's cookie;
    // the Origin a browser always names tells it apart. A script without a
    // browser names none and must bring its token.
    const QByteArray origin = head.field("origin");
    const QByteArray expected =
        (connection->secure() ? "https://" : "http://") + head.field("host");
    if ((!origin.isEmpty() && origin != expected) || (origin.isEmpty() && caller->byCookie)) {
        connection->refuse(Api::error(403, QStringLiteral("a socket from another site")));
        return;
    }
    QTcpSocket *socket = connection->takeSocket();
    if (socket)
        m_live->accept(socket, *caller);
}

void WebServer::note(const events::Event &event) {
    m_log.note(event);
}

} // namespace web

#include "web/HttpConnection.h"

#include <QHttpServerResponse>
#include <QJsonObject>
#include <QSslSocket>
#include <QTcpSocket>

namespace web {

namespace {
using Status = QHttpServerResponder::StatusCode;

QByteArray reason(int code) {
    switch (code) {
    case 200:
        return "OK";
    case 204:
        return "No Content";
    case 400:
        return "Bad Request";
    case 401:
        return "Unauthorized";
    case 403:
        return "Forbidden";
    case 404:
        return "Not Found";
    case 405:
        return "Method Not Allowed";
    case 408:
        return "Request Timeout";
    case 409:
        return "Conflict";
    case 413:
        return "Content Too Large";
    case 415:
        return "Unsupported Media Type";
    case 429:
        return "Too Many Requests";
    case 431:
        return "Request Header Fields Too Large";
    case 500:
        return "Internal Server Error";
    case 501:
        return "Not Implemented";
    case 503:
        return "Service Unavailable";
    default:
        return "Status";
    }
}

QHttpServerResponse error(Status status, const QString &text) {
    return QHttpServerResponse(QJsonObject{{QStringLiteral("error"), text}}, status);
}
} // namespace

HttpConnection::HttpConnection(QTcpSocket *socket, QObject *parent)
    : QObject(parent)
    , m_socket(socket)
    , m_peer(socket->peerAddress())
    , m_peerPort(socket->peerPort())
    , m_secure(qobject_cast<QSslSocket *>(socket) != nullptr) {
    m_socket->setParent(this);
    // What waits unread is bounded too: a head and a body at most.
    m_socket->setReadBufferSize(HttpHead::headLimit + HttpHead::bodyLimit);
    m_deadline.setTimerType(Qt::PreciseTimer);
    m_deadline.setSingleShot(true);
    m_deadline.start(headWaitMs);
    connect(&m_deadline, &QTimer::timeout, this, &HttpConnection::timedOut);
    connect(m_socket, &QTcpSocket::readyRead, this, &HttpConnection::readSome);
    connect(m_socket, &QTcpSocket::disconnected, this, &HttpConnection::close);
    connect(m_socket, &QTcpSocket::errorOccurred, this, [this] {
        // A peer that shut its side after its last request still gets its answer.
        if (m_state != State::Answering)
            close();
    });
    QMetaObject::invokeMethod(this, &HttpConnection::readSome, Qt::QueuedConnection);
}

HttpConnection::~HttpConnection() {
    if (m_socket)
        m_socket->disconnect(this);
}

void HttpConnection::readSome() {
    if (!m_socket)
        return;
    if (m_state == State::Head) {
        if (m_socket->bytesAvailable() == 0)
            return;
        if (m_deadline.remainingTime() > headWaitMs || !m_deadline.isActive())
            m_deadline.start(headWaitMs);
        const QByteArray seen = m_socket->peek(HttpHead::headLimit + 1);
        const HttpHead::Status status = HttpHead::read(seen, &m_head);
        switch (status) {
        case HttpHead::Status::NeedMore:
            return;
        case HttpHead::Status::Bad:
            refuse(error(Status::BadRequest, QStringLiteral("not an HTTP/1.1 request")));
            return;
        case HttpHead::Status::HeadTooLarge:
            refuse(QHttpServerResponse(
                QJsonObject{{QStringLiteral("error"),
                             QStringLiteral("the request's head is over 8 KiB or 64 fields")}},
                Status(431)));
            return;
        case HttpHead::Status::BodyTooLarge:
            refuse(error(Status::PayloadTooLarge, QStringLiteral("the body is over 64 KiB")));
            return;
        case HttpHead::Status::NotImplemented:
            refuse(error(Status::NotImplemented,
                         QStringLiteral("bodies are sent with a Content-Length")));
            return;
        case HttpHead::Status::Complete:
            break;
        }
        if (m_head.upgrade) {
            m_state = State::Upgrading;
            m_deadline.stop();
            emit upgradeRequested(this, m_head);
            return;
        }
        m_socket->skip(m_head.size);
        m_body.clear();
        m_state = State::Body;
    }
    if (m_state == State::Body) {
        const qint64 missing = m_head.contentLength - m_body.size();
        if (missing > 0)
            m_body += m_socket->read(missing);
        if (m_body.size() < m_head.contentLength)
            return;
        m_state = State::Answering;
        m_deadline.stop();
        emit requestReady(this, m_head, m_body);
    }
}

void HttpConnection::respond(const QHttpServerResponse &response, const HeaderList &headers) {
    if (m_state != State::Answering || !m_socket)
        return;
    const bool keepAlive = m_head.keepAlive && m_socket->state() == QAbstractSocket::ConnectedState;
    write(response, headers, keepAlive);
    if (!keepAlive) {
        m_state = State::Closed;
        m_socket->disconnectFromHost();
        return;
    }
    m_state = State::Head;
    m_deadline.start(idleMs);
    // A request that came behind this one (pipelined) is read from the event loop.
    if (m_socket->bytesAvailable() > 0)
        QMetaObject::invokeMethod(this, &HttpConnection::readSome, Qt::QueuedConnection);
}

void HttpConnection::refuse(const QHttpServerResponse &response, const HeaderList &headers) {
    if (!m_socket || m_state == State::Closed)
        return;
    write(response, headers, false);
    m_state = State::Closed;
    m_deadline.stop();
    // What the client sends after this is not read; it is dropped with the socket.
    m_socket->disconnect(this);
    connect(m_socket, &QTcpSocket::disconnected, this, &HttpConnection::close);
    m_socket->disconnectFromHost();
    if (m_socket && m_socket->state() == QAbstractSocket::UnconnectedState)
        close();
    else
        QTimer::singleShot(2000, this, &HttpConnection::close);
}

void HttpConnection::write(const QHttpServerResponse &response, const HeaderList &headers,
                           bool keepAlive) {
    const int code = int(response.statusCode());
    const QByteArray data = response.data();
    QByteArray out = "HTTP/1.1 " + QByteArray::number(code) + ' ' + reason(code) + "\r\n";
    if (!data.isEmpty() || code != 204)
        out += "Content-Type: " + response.mimeType() + "\r\n";
    out += "Content-Length: " + QByteArray::number(data.size()) + "\r\n";
    out += keepAlive ? "Connection: keep-alive\r\n" : "Connection: close\r\n";
    out += "X-Content-Type-Options: nosniff\r\n";
    out += "Referrer-Policy: no-referrer\r\n";
    out += "X-Frame-Options: DENY\r\n";
    bool cached = false;
    for (const auto &[name, value] : headers) {
        out += name + ": " + value + "\r\n";
        cached = cached || name.compare("Cache-Control", Qt::CaseInsensitive) == 0;
    }
    if (!cached)
        out += "Cache-Control: no-store\r\n";
    out += "\r\n";
    if (m_head.method != "HEAD")
        out += data;
    m_socket->write(out);
    if (m_socket->bytesToWrite() > unsentLimit)
        m_socket->abort();
}

QTcpSocket *HttpConnection::takeSocket() {
    QTcpSocket *socket = m_socket;
    if (!socket)
        return nullptr;
    socket->disconnect(this);
    socket->setParent(nullptr);
    socket->setReadBufferSize(0);
    m_socket = nullptr;
    m_state = State::Closed;
    m_deadline.stop();
    QMetaObject::invokeMethod(this, &HttpConnection::close, Qt::QueuedConnection);
    return socket;
}

void HttpConnection::timedOut() {
    if (m_state == State::Head && m_socket && m_socket->bytesAvailable() > 0) {
        refuse(error(Status::RequestTimeout, QStringLiteral("the request did not arrive in time")));
        return;
    }
    close();
}

void HttpConnection::close() {
    if (m_state == State::Closed && !m_socket) {
        // Closed already, or handed on; said once.
    }
    const bool wasOpen = m_socket || m_state != State::Closed || !property("said").toBool();
    m_state = State::Closed;
    m_deadline.stop();
    if (m_socket) {
        m_socket->disconnect(this);
        m_socket->abort();
        m_socket->deleteLater();
        m_socket = nullptr;
    }
    if (wasOpen && !property("said").toBool()) {
        setProperty("said", true);
        emit closed(this);
    }
}

} // namespace web

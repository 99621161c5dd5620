#include "remote/ClientConnection.h"

#include "remote/AllowList.h"

#include <QTcpSocket>

namespace remote {

namespace {
QString nameOf(const QTcpSocket &socket) {
    const QHostAddress address = AllowList::plain(socket.peerAddress());
    const QString port = QString::number(socket.peerPort());
    if (address.protocol() == QHostAddress::IPv6Protocol)
        return QLatin1Char('[') + address.toString() + QLatin1String("]:") + port;
    return address.toString() + QLatin1Char(':') + port;
}
} // namespace

ClientConnection::ClientConnection(QTcpSocket *socket, quint64 id, QObject *parent)
    : QObject(parent)
    , m_socket(socket)
    , m_id(id)
    , m_name(nameOf(*socket)) {
    m_socket->setParent(this);
    m_socket->setReadBufferSize(readBufferSize);
    connect(m_socket, &QTcpSocket::readyRead, this, &ClientConnection::readSome);
    // Reading resumes once the client has taken enough of its answers, from
    // the event loop: bytesWritten may come from inside a send.
    connect(m_socket, &QTcpSocket::bytesWritten, this, [this] {
        if (m_paused && m_socket->bytesToWrite() <= pauseAbove) {
            m_paused = false;
            QMetaObject::invokeMethod(this, &ClientConnection::readSome, Qt::QueuedConnection);
        }
    });
    connect(m_socket, &QTcpSocket::disconnected, this, &ClientConnection::close);
    connect(m_socket, &QTcpSocket::errorOccurred, this, &ClientConnection::close);
}

void ClientConnection::send(const QByteArray &bytes) {
    if (m_closed)
        return;
    // Straight to the system: an answer leaves at once, and reaches a client
    // that has already shut its side (Qt drops what it holds on that).
    m_socket->write(bytes);
    m_socket->flush();
    if (m_socket->bytesToWrite() > dropAbove)
        close();
}

void ClientConnection::start() {
    m_started = true;
    readSome();
}

void ClientConnection::close() {
    if (m_closed)
        return;
    m_closed = true;
    m_socket->disconnect(this);
    m_socket->abort();
    emit closed();
}

void ClientConnection::readSome() {
    // Handlers send and may close; a signal from inside them must not start
    // a second pass over the same bytes.
    if (!m_started || m_reading)
        return;
    m_reading = true;
    while (!m_closed) {
        if (m_socket->bytesToWrite() > pauseAbove) {
            m_paused = true;
            break;
        }
        if (m_parsed == m_unparsed.size()) {
            m_unparsed = m_socket->read(readChunk);
            m_parsed = 0;
            if (m_unparsed.isEmpty())
                break;
        }
        BlockParser::Event event;
        m_parsed += m_parser.feed(QByteArrayView(m_unparsed).sliced(m_parsed), &event);
        if (event == BlockParser::Event::Block)
            emit blockReceived(m_parser.block());
        else if (event != BlockParser::Event::None)
            emit blockRefused();
    }
    m_reading = false;
}

} // namespace remote

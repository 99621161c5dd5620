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
    , m_name(nameOf(*socket))
    , m_address(AllowList::plain(socket->peerAddress())) {
    m_socket->setParent(this);
    m_blockTimer.setSingleShot(true);
    m_blockTimer.setTimerType(Qt::PreciseTimer);
    m_blockTimer.setInterval(blockTimeoutMs);
    connect(&m_blockTimer, &QTimer::timeout, this, &ClientConnection::blockTimedOut);
    m_labelClock.start();
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
    m_blockTimer.stop();
    m_socket->disconnect(this);
    m_socket->abort();
    emit closed();
}

bool ClientConnection::spendLabels(int count) {
    m_labelAllowance = qMin<double>(labelBurst, m_labelAllowance + m_labelClock.restart() *
                                                                       labelsPerSecond / 1000.0);
    if (count > m_labelAllowance)
        return false;
    m_labelAllowance -= count;
    return true;
}

void ClientConnection::blockTimedOut() {
    // Bytes the panel has not read yet (it waits for the client to take its
    // answers) are not the client's delay.
    if (m_closed)
        return;
    if (m_paused || m_socket->bytesAvailable() > 0 || m_parsed < m_unparsed.size()) {
        m_blockTimer.start();
        return;
    }
    close();
}

void ClientConnection::readSome() {
    // Handlers send and may close; a signal from inside them must not start
    // a second pass over the same bytes.
    if (!m_started || m_reading)
        return;
    m_reading = true;
    // A few blocks a pass, the rest on the next: a flooding client never
    // keeps the panel's clicks and the other clients waiting.
    int handled = 0;
    while (!m_closed) {
        if (handled == blocksPerPass) {
            QMetaObject::invokeMethod(this, &ClientConnection::readSome, Qt::QueuedConnection);
            break;
        }
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
        if (event == BlockParser::Event::None)
            continue;
        ++handled;
        if (event == BlockParser::Event::Block)
            emit blockReceived(m_parser.block());
        else
            emit blockRefused();
    }
    m_reading = false;
    // The clock runs from a block's first byte to its blank line.
    if (m_closed || !m_parser.midBlock())
        m_blockTimer.stop();
    else if (!m_blockTimer.isActive())
        m_blockTimer.start();
}

} // namespace remote

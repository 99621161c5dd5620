#pragma once

#include "remote/BlockParser.h"

#include <QByteArray>
#include <QElapsedTimer>
#include <QHostAddress>
#include <QObject>
#include <QString>
#include <QTimer>

class QTcpSocket;

namespace remote {

// One Videohub client's socket: reads its blocks a few kilobytes at a time
// and stops reading while its answers are not being taken, so that neither
// what it sends nor what waits for it can grow without bound. A client that
// lets too much wait for it is dropped, and so is one that begins a block
// and does not end it in time (one byte a second would hold a slot forever).
class ClientConnection : public QObject {
    Q_OBJECT
public:
    static constexpr qint64 readBufferSize = 16 * 1024; // what the socket holds unread
    static constexpr qint64 readChunk = 4 * 1024;
    static constexpr int blocksPerPass = 64;
    static constexpr qint64 pauseAbove = 64 * 1024; // unsent bytes that stop the reading
    static constexpr qint64 dropAbove = 256 * 1024; // unsent bytes that end the connection
    // A block begun must end within this; an idle client may stay as long as it
    // likes (Companion pings every 15 s). Room for a block typed by hand.
    static constexpr int blockTimeoutMs = 30000;
    // Renames a client may make: a burst of two full sets, then 8 a second.
    static constexpr int labelBurst = 32;
    static constexpr int labelsPerSecond = 8;

    // Takes the socket over.
    ClientConnection(QTcpSocket *socket, quint64 id, QObject *parent = nullptr);

    quint64 id() const { return m_id; }
    // "10.0.0.5:50212", "[fd00::5]:50212".
    const QString &name() const { return m_name; }
    // The peer's address, an IPv4 client through an IPv6 socket as IPv4.
    const QHostAddress &address() const { return m_address; }
    bool isClosed() const { return m_closed; }

    void send(const QByteArray &bytes);
    // Starts taking the client's blocks (after the prelude has been sent).
    void start();
    void close();
    // Tests shorten it.
    void setBlockTimeout(int ms) { m_blockTimer.setInterval(ms); }
    // Takes count renames from the client's allowance; false, taking none,
    // when it has not that many left.
    bool spendLabels(int count);

signals:
    void blockReceived(const remote::BlockParser::Block &block);
    // A line or block over the limits: the client is told NAK.
    void blockRefused();
    // Emitted once, when the connection ends for any reason.
    void closed();

private:
    void readSome();
    void blockTimedOut();

    QTcpSocket *m_socket;
    quint64 m_id;
    QString m_name;
    QHostAddress m_address;
    BlockParser m_parser;
    QByteArray m_unparsed;
    qsizetype m_parsed = 0;
    bool m_started = false;
    bool m_reading = false;
    bool m_paused = false;
    bool m_closed = false;
    QTimer m_blockTimer;
    QElapsedTimer m_labelClock;
    double m_labelAllowance = labelBurst;
};

} // namespace remote

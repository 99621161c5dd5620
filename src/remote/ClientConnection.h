#pragma once

#include "remote/BlockParser.h"

#include <QByteArray>
#include <QObject>
#include <QString>

class QTcpSocket;

namespace remote {

// One Videohub client's socket: reads its blocks a few kilobytes at a time
// and stops reading while its answers are not being taken, so that neither
// what it sends nor what waits for it can grow without bound. A client that
// lets too much wait for it is dropped.
class ClientConnection : public QObject {
    Q_OBJECT
public:
    static constexpr qint64 readBufferSize = 16 * 1024; // what the socket holds unread
    static constexpr qint64 readChunk = 4 * 1024;
    static constexpr qint64 pauseAbove = 64 * 1024; // unsent bytes that stop the reading
    static constexpr qint64 dropAbove = 256 * 1024; // unsent bytes that end the connection

    // Takes the socket over.
    ClientConnection(QTcpSocket *socket, quint64 id, QObject *parent = nullptr);

    quint64 id() const { return m_id; }
    // "10.0.0.5:50212", "[fd00::5]:50212".
    const QString &name() const { return m_name; }
    bool isClosed() const { return m_closed; }

    void send(const QByteArray &bytes);
    // Starts taking the client's blocks (after the prelude has been sent).
    void start();
    void close();

signals:
    void blockReceived(const remote::BlockParser::Block &block);
    // A line or block over the limits: the client is told NAK.
    void blockRefused();
    // Emitted once, when the connection ends for any reason.
    void closed();

private:
    void readSome();

    QTcpSocket *m_socket;
    quint64 m_id;
    QString m_name;
    BlockParser m_parser;
    QByteArray m_unparsed;
    qsizetype m_parsed = 0;
    bool m_started = false;
    bool m_reading = false;
    bool m_paused = false;
    bool m_closed = false;
};

} // namespace remote

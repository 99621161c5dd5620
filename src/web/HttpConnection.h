#pragma once

#include "web/HttpHead.h"

#include <QByteArray>
#include <QHostAddress>
#include <QList>
#include <QObject>
#include <QPair>
#include <QPointer>
#include <QTimer>

class QHttpServerResponse;
class QTcpSocket;

namespace web {

using HeaderList = QList<QPair<QByteArray, QByteArray>>;

// One client's connection, plain or TLS: reads each request within the
// bounds of HttpHead (a head that has not arrived whole within 10 s, or a
// connection idle for 30 s, is closed), hands it on, and writes its answer
// before it reads the next. A request to switch to a WebSocket is handed on
// with its bytes unread, so that the WebSocket server reads the handshake.
class HttpConnection : public QObject {
    Q_OBJECT
public:
    static constexpr int headWaitMs = 10000;
    static constexpr int idleMs = 30000;
    // A client that does not take its answers is dropped past this.
    static constexpr qint64 unsentLimit = 1024 * 1024;

    HttpConnection(QTcpSocket *socket, QObject *parent = nullptr);
    ~HttpConnection() override;

    QHostAddress peer() const { return m_peer; }
    quint16 peerPort() const { return m_peerPort; }
    bool secure() const { return m_secure; }

    // The answer to the request handed on last; the next request is read after it.
    void respond(const QHttpServerResponse &response, const HeaderList &headers = {});
    // An answer to a request that is refused before its body was read (a
    // bound, a WebSocket that is not allowed): the connection closes after it.
    void refuse(const QHttpServerResponse &response, const HeaderList &headers = {});
    // The socket leaves with the WebSocket request unread in it; this
    // connection closes itself without touching it.
    QTcpSocket *takeSocket();
    void close();

signals:
    void requestReady(web::HttpConnection *connection, const web::HttpHead &head,
                      const QByteArray &body);
    void upgradeRequested(web::HttpConnection *connection, const web::HttpHead &head);
    void closed(web::HttpConnection *connection);

private:
    enum class State : quint8 { Head, Body, Answering, Upgrading, Closed };

    void readSome();
    void write(const QHttpServerResponse &response, const HeaderList &headers, bool keepAlive);
    void timedOut();

    QPointer<QTcpSocket> m_socket;
    QHostAddress m_peer;
    quint16 m_peerPort = 0;
    bool m_secure = false;
    State m_state = State::Head;
    HttpHead m_head;
    QByteArray m_body;
    QTimer m_deadline;
};

} // namespace web

#include "web/LiveClient.h"

#include "web/ApiInput.h"
#include "web/LiveMessage.h"

#include <QJsonDocument>
#include <QPointer>
#include <QWebSocket>

namespace web {

LiveClient::LiveClient(std::unique_ptr<QWebSocket> socket, Access::Caller caller,
                       devicelink::Switcher &switcher, std::function<qint64()> clock,
                       QObject *parent)
    : QObject(parent)
    , m_socket(std::move(socket))
    , m_caller(std::move(caller))
    , m_switcher(switcher)
    , m_clock(std::move(clock)) {
    m_socket->setMaxAllowedIncomingFrameSize(LiveMessage::sizeLimit);
    m_socket->setMaxAllowedIncomingMessageSize(LiveMessage::sizeLimit);
    m_hold.setTimerType(Qt::PreciseTimer);
    m_hold.setSingleShot(true);
    m_hold.setInterval(holdWaitMs);
    connect(&m_hold, &QTimer::timeout, this, &LiveClient::holdTimedOut);
    connect(m_socket.get(), &QWebSocket::textMessageReceived, this, &LiveClient::received);
    connect(m_socket.get(), &QWebSocket::binaryMessageReceived, this,
            [this] { m_socket->close(QWebSocketProtocol::CloseCodeDatatypeNotSupported); });
    connect(m_socket.get(), &QWebSocket::disconnected, this, &LiveClient::close);
}

LiveClient::~LiveClient() {
    if (m_socket)
        m_socket->disconnect(this);
    if (m_moving)
        m_switcher.stopMove(m_move, m_caller.origin);
}

void LiveClient::send(const QJsonObject &message) {
    if (m_closed)
        return;
    m_socket->sendTextMessage(
        QString::fromUtf8(QJsonDocument(message).toJson(QJsonDocument::Compact)));
    // A browser that does not take what it is sent is not kept waiting for.
    if (m_socket->bytesToWrite() > unsentLimit)
        close();
}

void LiveClient::close() {
    if (m_closed)
        return;
    m_closed = true;
    stopMove(QStringLiteral("the socket closed"));
    m_socket->disconnect(this);
    if (m_socket->state() != QAbstractSocket::UnconnectedState)
        m_socket->close();
    emit closed(this);
}

void LiveClient::stopMove(const QString &why) {
    m_hold.stop();
    if (!std::exchange(m_moving, false))
        return;
    m_switcher.stopMove(m_move, m_caller.origin);
    send({{QStringLiteral("type"), QStringLiteral("stopped")},
          {QStringLiteral("action"), ApiInput::moveName(m_move)},
          {QStringLiteral("reason"), why}});
}

void LiveClient::holdTimedOut() {
    stopMove(QStringLiteral("no hold for %1 ms").arg(holdWaitMs));
}

void LiveClient::received(const QString &text) {
    if (m_closed)
        return;
    if (!m_limit.take(QStringLiteral("socket"), m_clock())) {
        m_socket->close(QWebSocketProtocol::CloseCodePolicyViolated,
                        QStringLiteral("more than 20 messages a second"));
        close();
        return;
    }
    const LiveMessage message = LiveMessage::parse(text.toUtf8());
    const auto refuse = [this](int status, const QString &why, const QString &holder = {}) {
        QJsonObject m{{QStringLiteral("type"), QStringLiteral("refused")},
                      {QStringLiteral("status"), status},
                      {QStringLiteral("error"), why}};
        if (!holder.isEmpty())
            m.insert(QStringLiteral("holder"), holder);
        send(m);
    };
    switch (message.type) {
    case LiveMessage::Type::Invalid:
        refuse(400, message.error);
        return;
    case LiveMessage::Type::Hold:
        if (m_moving)
            m_hold.start();
        return;
    case LiveMessage::Type::Stop:
        stopMove(QStringLiteral("released"));
        return;
    case LiveMessage::Type::Move:
        break;
    }
    if (!mayAct(m_caller.role)) {
        refuse(403,
               QStringLiteral("the role %1 may not move cameras").arg(roleName(m_caller.role)));
        return;
    }
    // One move at a time from a page: a new one ends the last.
    stopMove(QStringLiteral("another move"));
    const bool pan =
        message.move == devicelink::Move::Left || message.move == devicelink::Move::Right;
    const bool tilt =
        message.move == devicelink::Move::Up || message.move == devicelink::Move::Down;
    if (message.speed >= 0 && (pan || tilt))
        m_switcher.setSpeed(pan ? devicelink::Axis::Pan : devicelink::Axis::Tilt, message.speed);
    m_moving = true;
    m_move = message.move;
    m_hold.start();
    QPointer<LiveClient> self(this);
    const devicelink::Move move = message.move;
    m_switcher.startMove(move, m_caller.origin, message.camera,
                         [self, move, refuse](const devicelink::Outcome &outcome) {
                             if (!self || outcome.ok())
                                 return;
                             // Nothing runs: there is nothing to stop.
                             if (self->m_moving && self->m_move == move) {
                                 self->m_moving = false;
                                 self->m_hold.stop();
                             }
                             refuse(outcome.kind == devicelink::Outcome::Kind::Refused ? 409 : 503,
                                    outcome.reason, outcome.holder);
                         });
}

} // namespace web

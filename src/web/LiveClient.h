#pragma once

#include "link/Switcher.h"
#include "web/Access.h"
#include "web/RateLimiter.h"

#include <QJsonObject>
#include <QObject>
#include <QTimer>
#include <memory>

class QWebSocket;

namespace web {

// One browser's live socket: what changes is sent to it, and its
// hold-to-run moves run only while it keeps saying so. A move stops with its
// stop code when the page says stop, when no hold has come for 500 ms, when
// another move starts, or when the socket closes; messages beyond 20 a
// second (a burst of 40) or over 1 KiB close it.
class LiveClient : public QObject {
    Q_OBJECT
public:
    static constexpr int holdWaitMs = 500;
    static constexpr int messageBurst = 40;
    static constexpr qint64 messageRefillMs = 50;
    static constexpr qint64 unsentLimit = 1024 * 1024;

    LiveClient(std::unique_ptr<QWebSocket> socket, Access::Caller caller,
               devicelink::Switcher &switcher, std::function<qint64()> clock,
               QObject *parent = nullptr);
    ~LiveClient() override;

    const Access::Caller &caller() const { return m_caller; }
    void send(const QJsonObject &message);
    // Ends the socket (the user is gone, the server stops); a running move stops.
    void close();
    bool moving() const { return m_moving; }

    // The hold timer's tick: no hold came in time.
    void holdTimedOut();

signals:
    void closed(web::LiveClient *client);

private:
    void received(const QString &text);
    void stopMove(const QString &why);

    std::unique_ptr<QWebSocket> m_socket;
    Access::Caller m_caller;
    devicelink::Switcher &m_switcher;
    std::function<qint64()> m_clock;
    RateLimiter m_limit{messageBurst, messageRefillMs};
    QTimer m_hold;
    bool m_moving = false;
    devicelink::Move m_move = devicelink::Move::Left;
    bool m_closed = false;
};

} // namespace web

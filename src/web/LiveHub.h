#pragma once

#include "web/Access.h"

#include <QHash>
#include <QJsonObject>
#include <QList>
#include <QObject>
#include <QTimer>
#include <QWebSocketServer>

class QTcpSocket;

namespace automation {
class Automation;
}
namespace config {
class CameraModel;
}
namespace devicelink {
class LinkMonitor;
class Switcher;
} // namespace devicelink
namespace events {
struct Event;
}

namespace web {

class EventRing;
class LiveClient;

// The live sockets of /api/v1/live: each browser is told the whole state
// when it connects, then every change as it happens (routing and locks,
// camera holders and titles, the link, tours, alarms, events). Changes that
// come in a burst go out as one message; events at most ten times a second,
// fifty at a time.
class LiveHub : public QObject {
    Q_OBJECT
public:
    static constexpr int clientLimit = 64;
    static constexpr int eventBatchMs = 100;
    static constexpr int eventBatchLimit = 50;

    LiveHub(devicelink::Switcher &switcher, automation::Automation *automation,
            devicelink::LinkMonitor &link, config::CameraModel &cameras, EventRing &events,
            std::function<qint64()> clock, QObject *parent = nullptr);
    ~LiveHub() override;

    // Takes a socket whose WebSocket request was allowed for this caller;
    // the request itself is still unread in it.
    void accept(QTcpSocket *socket, const Access::Caller &caller);
    int clients() const { return int(m_clients.size()); }
    void closeAll();
    // Every socket of a user that lost its tokens.
    void closeUser(const QString &user);
    void eventNoted(const events::Event &event);

signals:
    void clientsChanged();

private:
    void connected();
    void broadcast(const QJsonObject &message);
    QJsonObject routingMessage() const;
    QJsonObject camerasMessage() const;
    QJsonObject linkMessage() const;
    QJsonObject automationMessage() const;
    void flushEvents();

    devicelink::Switcher &m_switcher;
    automation::Automation *m_automation;
    devicelink::LinkMonitor &m_link;
    config::CameraModel &m_cameras;
    EventRing &m_events;
    std::function<qint64()> m_clock;
    QWebSocketServer m_server;
    QHash<QString, Access::Caller> m_pending; // by the peer's "address port"
    QList<LiveClient *> m_clients;
    QTimer m_routing, m_cameraTimer, m_linkTimer, m_automationTimer, m_eventTimer;
    QList<events::Event> m_eventQueue;
    int m_eventsDropped = 0;
};

} // namespace web

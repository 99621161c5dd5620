#include "web/LiveHub.h"

#include "automation/Automation.h"
#include "config/CameraModel.h"
#include "events/Event.h"
#include "link/LinkMonitor.h"
#include "link/Switcher.h"
#include "web/EventRing.h"
#include "web/LiveClient.h"
#include "web/StateJson.h"

#include <QJsonArray>
#include <QTcpSocket>
#include <QWebSocket>

namespace web {

namespace {
QString peerKey(const QHostAddress &address, quint16 port) {
    bool isV4 = false;
    const quint32 v4 = address.toIPv4Address(&isV4);
    return (isV4 ? QHostAddress(v4) : address).toString() + QLatin1Char(' ') +
           QString::number(port);
}

void coalescing(QTimer &timer) {
    timer.setTimerType(Qt::PreciseTimer);
    timer.setSingleShot(true);
    timer.setInterval(0);
}
} // namespace

LiveHub::LiveHub(devicelink::Switcher &switcher, automation::Automation *automation,
                 devicelink::LinkMonitor &link, config::CameraModel &cameras, EventRing &events,
                 std::function<qint64()> clock, QObject *parent)
    : QObject(parent)
    , m_switcher(switcher)
    , m_automation(automation)
    , m_link(link)
    , m_cameras(cameras)
    , m_events(events)
    , m_clock(std::move(clock))
    , m_server(QStringLiteral("velmar-controller"), QWebSocketServer::NonSecureMode) {
    m_server.setHandshakeTimeout(5000);
    m_server.setMaxPendingConnections(clientLimit);
    connect(&m_server, &QWebSocketServer::newConnection, this, &LiveHub::connected);

    for (QTimer *t : {&m_routing, &m_cameraTimer, &m_linkTimer, &m_automationTimer})
        coalescing(*t);
    m_eventTimer.setTimerType(Qt::PreciseTimer);
    m_eventTimer.setSingleShot(true);
    m_eventTimer.setInterval(eventBatchMs);
    connect(&m_routing, &QTimer::timeout, this, [this] { broadcast(routingMessage()); });
    connect(&m_cameraTimer, &QTimer::timeout, this, [this] { broadcast(camerasMessage()); });
    connect(&m_linkTimer, &QTimer::timeout, this, [this] { broadcast(linkMessage()); });
    connect(&m_automationTimer, &QTimer::timeout, this, [this] { broadcast(automationMessage()); });
    connect(&m_eventTimer, &QTimer::timeout, this, &LiveHub::flushEvents);

    const auto soon = [](QTimer &timer) {
        return [&timer] {
            if (!timer.isActive())
                timer.start();
        };
    };
    connect(&m_switcher, &devicelink::Switcher::monitorChanged, this, soon(m_routing));
    connect(&m_switcher, &devicelink::Switcher::cameraHolderChanged, this, soon(m_cameraTimer));
    connect(&m_switcher, &devicelink::Switcher::speedChanged, this, soon(m_cameraTimer));
    connect(&m_cameras, &config::CameraModel::titleChanged, this, soon(m_cameraTimer));
    connect(&m_cameras, &config::CameraModel::titleChanged, this, soon(m_routing));
    connect(&m_link, &devicelink::LinkMonitor::changed, this, soon(m_linkTimer));
    if (m_automation) {
        connect(m_automation, &automation::Automation::salvosChanged, this,
                soon(m_automationTimer));
        connect(m_automation, &automation::Automation::tourChanged, this, soon(m_automationTimer));
        connect(m_automation, &automation::Automation::alarmChanged, this, soon(m_automationTimer));
    }
}

LiveHub::~LiveHub() {
    closeAll();
}

void LiveHub::accept(QTcpSocket *socket, const Access::Caller &caller) {
    if (m_clients.size() + m_pending.size() >= clientLimit) {
        socket->abort();
        socket->deleteLater();
        return;
    }
    const QString key = peerKey(socket->peerAddress(), socket->peerPort());
    m_pending.insert(key, caller);
    // A handshake that never completes leaves nothing behind.
    connect(socket, &QTcpSocket::disconnected, this, [this, key] { m_pending.remove(key); });
    m_server.handleConnection(socket);
}

void LiveHub::connected() {
    while (QWebSocket *raw = m_server.nextPendingConnection()) {
        std::unique_ptr<QWebSocket> socket(raw);
        const QString key = peerKey(socket->peerAddress(), socket->peerPort());
        const auto it = m_pending.find(key);
        if (it == m_pending.end()) {
            socket->abort();
            continue;
        }
        const Access::Caller caller = it.value();
        m_pending.erase(it);
        auto *client = new LiveClient(std::move(socket), caller, m_switcher, m_clock, this);
        m_clients.append(client);
        connect(client, &LiveClient::closed, this, [this](LiveClient *gone) {
            m_clients.removeOne(gone);
            gone->deleteLater();
            emit clientsChanged();
        });
        client->send({{QStringLiteral("type"), QStringLiteral("hello")},
                      {QStringLiteral("user"), caller.user},
                      {QStringLiteral("role"), roleName(caller.role)},
                      {QStringLiteral("automation"), m_automation != nullptr}});
        client->send(routingMessage());
        client->send(camerasMessage());
        client->send(linkMessage());
        client->send({{QStringLiteral("type"), QStringLiteral("events")},
                      {QStringLiteral("events"), StateJson::events(m_events.latest(50))},
                      {QStringLiteral("dropped"), 0}});
        if (m_automation)
            client->send(automationMessage());
        emit clientsChanged();
    }
}

void LiveHub::closeAll() {
    const QList<LiveClient *> clients = m_clients;
    for (LiveClient *client : clients)
        client->close();
}

void LiveHub::closeUser(const QString &user) {
    const QList<LiveClient *> clients = m_clients;
    for (LiveClient *client : clients) {
        if (client->caller().user == user)
            client->close();
    }
}

void LiveHub::broadcast(const QJsonObject &message) {
    const QList<LiveClient *> clients = m_clients;
    for (LiveClient *client : clients)
        client->send(message);
}

QJsonObject LiveHub::routingMessage() const {
    return {{QStringLiteral("type"), QStringLiteral("routing")},
            {QStringLiteral("monitors"), StateJson::monitors(m_switcher, m_cameras)}};
}

QJsonObject LiveHub::camerasMessage() const {
    QJsonObject m = StateJson::cameras(m_switcher, m_cameras);
    m.insert(QStringLiteral("type"), QStringLiteral("cameras"));
    return m;
}

QJsonObject LiveHub::linkMessage() const {
    QJsonObject m = StateJson::link(m_link);
    m.insert(QStringLiteral("type"), QStringLiteral("link"));
    return m;
}

QJsonObject LiveHub::automationMessage() const {
    return {{QStringLiteral("type"), QStringLiteral("automation")},
            {QStringLiteral("salvos"), StateJson::salvos(*m_automation)},
            {QStringLiteral("tours"), StateJson::tours(*m_automation)},
            {QStringLiteral("alarms"), StateJson::alarms(*m_automation)}};
}

void LiveHub::eventNoted(const events::Event &event) {
    if (m_clients.isEmpty())
        return;
    if (m_eventQueue.size() >= eventBatchLimit) {
        m_eventQueue.removeFirst();
        ++m_eventsDropped;
    }
    m_eventQueue.append(event);
    if (!m_eventTimer.isActive())
        m_eventTimer.start();
}

void LiveHub::flushEvents() {
    if (m_eventQueue.isEmpty())
        return;
    broadcast({{QStringLiteral("type"), QStringLiteral("events")},
               {QStringLiteral("events"), StateJson::events(m_eventQueue)},
               {QStringLiteral("dropped"), m_eventsDropped}});
    m_eventQueue.clear();
    m_eventsDropped = 0;
}

} // namespace web

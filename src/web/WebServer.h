#pragma once

#include "web/Access.h"
#include "web/EventRing.h"
#include "web/RateLimiter.h"
#include "web/UserStore.h"

#include <QHash>
#include <QList>
#include <QObject>
#include <QPointer>
#include <QString>
#include <memory>

class QTcpServer;
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
class SessionLog;
struct Event;
} // namespace events
namespace ui {
class SettingsStore;
}

namespace web {

class Api;
class HttpConnection;
class LiveHub;
struct HttpHead;

// The browser panel and its API, on the session's thread: off unless
// [Web] Enabled=true; beyond this machine only once a user exists; TLS only,
// and nothing else, when Certificate and Key are set. Connections are
// bounded (128 at once, 16 from one address, 20 requests a second from one
// address with a burst of 60), every request within HttpHead's bounds.
class WebServer : public QObject {
    Q_OBJECT
public:
    enum class State { Off, Listening, Failed };

    static constexpr int connectionLimit = 128;
    static constexpr int perAddressLimit = 16;
    static constexpr int requestBurst = 60;
    static constexpr qint64 requestRefillMs = 50;

    WebServer(devicelink::Switcher &switcher, automation::Automation *automation,
              devicelink::LinkMonitor &link, config::CameraModel &cameras, events::SessionLog &log,
              ui::SettingsStore &settings, const QString &storageFolder, QObject *parent = nullptr);
    ~WebServer() override;

    // Reads [Web] and listens as it says (again after a change); the
    // connections of before are dropped.
    void start();
    void stop();

    State state() const { return m_state; }
    // For the status bar: "web off", "web: https://0.0.0.0:8443", "web: cannot listen ...".
    QString stateText() const { return m_stateText; }
    quint16 port() const;
    int liveClients() const;
    UserStore &users() { return m_users; }

    // The clock of tokens and rate limits (tests move it).
    void setClock(std::function<qint64()> clock);

signals:
    void stateChanged();

private:
    void setState(State state, const QString &text);
    void accept();
    void take(QTcpSocket *socket);
    void dropped(HttpConnection *connection);
    void request(HttpConnection *connection, const HttpHead &head, const QByteArray &body);
    void upgrade(HttpConnection *connection, const HttpHead &head);
    void note(const events::Event &event);
    QString failText(const QString &why) const;

    devicelink::Switcher &m_switcher;
    ui::SettingsStore &m_settings;
    events::SessionLog &m_log;
    std::function<qint64()> m_clock;
    UserStore m_users;
    EventRing m_events;
    Access *m_access;
    Api *m_api;
    LiveHub *m_live;
    QPointer<QTcpServer> m_server;
    QList<HttpConnection *> m_connections;
    QHash<QString, int> m_perAddress;
    RateLimiter m_requests{requestBurst, requestRefillMs};
    State m_state = State::Off;
    QString m_stateText;
};

} // namespace web

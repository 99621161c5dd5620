#pragma once

#include "remote/AllowList.h"
#include "remote/BlockParser.h"

#include <QByteArray>
#include <QHash>
#include <QHostAddress>
#include <QList>
#include <QObject>
#include <QString>
#include <QStringList>
#include <QTcpServer>
#include <QTimer>
#include <deque>
#include <memory>
#include <utility>

namespace ui {
class SettingsStore;
}

namespace remote {

class ClientConnection;
class RoutePacer;
class Router;

// The panel as a Videohub router on TCP (Blackmagic's Videohub Ethernet
// protocol): clients see the cameras as inputs and the monitors as outputs,
// route and rename through the Router, and are told every change the Router
// reports. Off unless [Videohub] Enabled=true; beyond this machine only with
// both Address and Allow set.
class VideohubServer : public QObject {
    Q_OBJECT
public:
    enum class State { Off, Resolving, Listening, Failed };

    // More clients than this are turned away at once, and so are more than
    // maxPerAddress from one address, so that one machine cannot take every slot.
    static constexpr int maxClients = 64;
    static constexpr int maxPerAddress = 16;

    VideohubServer(Router &router, ui::SettingsStore &settings, QObject *parent = nullptr);
    ~VideohubServer() override;

    // Reads [Videohub] and listens as it says (again, after a change); the
    // clients connected before are dropped.
    void start();
    void stop();

    State state() const { return m_state; }
    // What a status bar shows: "off", "listening on 127.0.0.1:9990",
    // "cannot listen on ...: reason".
    QString stateText() const { return m_stateText; }
    // A setting that works but is likely a mistake ("Allow=10.0.0.5/0 lets
    // every address connect"); empty when there is none. Part of stateText().
    QString warning() const { return m_warning; }
    // Tests shorten the time a client has to end a block it began.
    void setBlockTimeout(int ms) { m_blockTimeoutMs = ms; }
    // The port listened on (the one chosen when Port=0), 0 when not listening.
    quint16 port() const;
    // The connected clients, "address:port" each, in the order they came.
    QStringList clients() const;

signals:
    void stateChanged();
    void clientsChanged();

private:
    void setState(State state, const QString &text);
    void listenOn(QHostAddress address, const QString &addressText, quint16 port);
    void accept();
    bool hasRoomFor(const QHostAddress &address) const;
    void renameInputs(ClientConnection &client, const QList<std::pair<int, QString>> &labels);
    void dropClient(ClientConnection *client);
    void handle(ClientConnection &client, const BlockParser::Block &block);
    // A client's answers go in the order of its blocks, also when one waits
    // for the switcher (a route is acknowledged once it has left).
    struct Answer {
        QByteArray bytes;
        bool ready = false;
    };
    void answer(ClientConnection &client, const QByteArray &bytes);
    std::shared_ptr<Answer> deferAnswer(ClientConnection &client);
    void flushAnswers(quint64 client);
    void broadcast(const QByteArray &bytes);

    QByteArray prelude(const ClientConnection &client) const;
    QByteArray everything(const ClientConnection &client) const;
    QByteArray deviceBlock() const;
    QByteArray inputLabelsBlock() const;
    QByteArray outputLabelsBlock() const;
    // The locks as this client sees them: O its own, L another's, U none.
    QByteArray lockStates(const ClientConnection &client) const;
    QByteArray locksBlock(const ClientConnection &client) const;
    void locksChanged();
    QByteArray routingBlock() const;
    void remember();
    void inputLabelsChanged();
    void outputLabelsChanged();
    void routingChanged();

    Router &m_router;
    ui::SettingsStore &m_settings;
    QTcpServer m_server;
    RoutePacer *m_pacer;
    AllowList m_allow;
    QList<ClientConnection *> m_clients;
    QHash<quint64, std::deque<std::shared_ptr<Answer>>> m_answers;
    quint64 m_nextId = 1;
    State m_state = State::Off;
    QString m_stateText;
    QString m_warning;
    int m_lookup = -1; // the host name lookup under way
    int m_blockTimeoutMs = 0;
    QByteArray m_uniqueId;
    // What the clients were last told, to send only what changes.
    QStringList m_inputLabels;
    QStringList m_outputLabels;
    QList<int> m_routing;
    QHash<quint64, QByteArray> m_toldLocks; // per client, one state a output
    QTimer m_locks;                         // many lock changes: one update
    bool m_holdLabels = false;
};

} // namespace remote

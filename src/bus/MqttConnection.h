#pragma once

#include "bus/Reason.h"
#include "bus/ReconnectDelay.h"

#include <QByteArray>
#include <QList>
#include <QObject>
#include <QString>
#include <QTimer>
#include <memory>

struct mosquitto;
struct mosquitto_message;
class QHostInfo;
class QSocketNotifier;

namespace bus {

struct Mosquitto;

// One connection to an MQTT broker through libmosquitto, driven from the
// event loop of the thread that owns it: the library's socket is watched by
// socket notifiers and its keep-alive by a timer, and the library runs no
// thread of its own. Nothing waits: a host name is looked up first, the
// connection is made in the background, and a broker that is away is tried
// again after a growing delay until close().
class MqttConnection : public QObject {
    Q_OBJECT
public:
    enum class State : quint8 {
        Closed,     // not asked to connect, or closed
        Connecting, // looking up the host, or waiting for the broker's answer
        Connected,
        Waiting, // not connected; tries again in retrySeconds()
    };

    struct Options {
        QString host = QStringLiteral("127.0.0.1");
        int port = 1883;
        QString user;
        QString password;
        QString caFile; // set: TLS, the broker checked against it
        QByteArray clientId;
        // The last will: what the broker publishes (retained) when the
        // connection ends without a goodbye.
        QByteArray willTopic;
        QByteArray willPayload;
    };

    // The broker is asked to notice a dead connection within 1.5 times this.
    static constexpr int keepAliveSeconds = 30;
    // A broker that has not answered the connection within this is given up.
    static constexpr int answerSeconds = 10;

    explicit MqttConnection(QObject *parent = nullptr);
    ~MqttConnection() override;

    // Connects as the options say (again, if it was connected).
    void open(const Options &options);
    // Publishes the last words given (retained), says goodbye and closes;
    // no retry follows.
    void close(const QByteArray &lastTopic = {}, const QByteArray &lastPayload = {});

    State state() const { return m_state; }
    // Why it is not connected (empty while connected or closed by request).
    const Reason &reason() const { return m_reason; }
    // The wait before the next attempt, while Waiting.
    int retrySeconds() const { return m_retrySeconds; }
    // "127.0.0.1:1883"
    QString where() const;

    // Hands a message to the library (QoS 0); false when not connected or
    // the library refused it.
    bool publish(const QByteArray &topic, const QByteArray &payload, bool retain);
    bool subscribe(const QByteArray &filter);
    // Messages handed to the library that have not yet left for the broker:
    // they grow while the broker reads slower than messages are published.
    int unwritten() const { return m_unwritten; }

    // Tries again at once, as the retry timer would.
    void retryNow();

signals:
    void stateChanged();
    // Connected: subscribe and publish what a new connection needs.
    void connected();
    void message(const QByteArray &topic, const QByteArray &payload, bool retained);
    // Every message handed over has left for the broker.
    void drained();

private:
    struct Incoming {
        QByteArray topic;
        QByteArray payload;
        bool retained = false;
    };

    // The library's callbacks: they note what happened, and the caller of
    // the library acts on it once the library's call has returned.
    static void onConnect(mosquitto *, void *self, int code);
    static void onDisconnect(mosquitto *, void *self, int code);
    static void onMessage(mosquitto *, void *self, const mosquitto_message *message);
    static void onPublish(mosquitto *, void *self, int id);

    void attempt();
    void lookedUp(const QHostInfo &info);
    void connectTo(const QString &target);
    void readable();
    void writable();
    void tick();
    // After each call of the library: act on what its callbacks noted, and
    // watch for writing only while the library has something to write.
    void settle(int result, int error);
    void lose(const Reason &why);
    void teardown();
    void setState(State state, const Reason &why = {});

    Options m_options;
    const Mosquitto *m_lib = nullptr; // loaded at the first connection
    mosquitto *m_mosq = nullptr;
    std::unique_ptr<QSocketNotifier> m_read;
    std::unique_ptr<QSocketNotifier> m_write;
    QTimer m_misc;
    QTimer m_retry;
    QTimer m_answer;
    int m_lookup = -1;
    ReconnectDelay m_delay;
    State m_state = State::Closed;
    Reason m_reason;
    int m_retrySeconds = 0;
    int m_unwritten = 0;
    // Noted by the callbacks:
    int m_connack = -1;
    bool m_dropped = false;
    int m_dropCode = 0;
    QList<Incoming> m_inbox;
    // Counts teardowns, so that code that signalled can tell whether the
    // connection it worked on is still there.
    quint64 m_generation = 0;
};

} // namespace bus

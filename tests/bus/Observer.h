#pragma once

#include "bus/MqttConnection.h"

#include <QByteArray>
#include <QList>
#include <QObject>

namespace testbus {

// Another client on the broker, as a site's dashboard or logger: it keeps
// every message of the topics it subscribed to, and publishes commands.
class Observer : public QObject {
    Q_OBJECT
public:
    struct Message {
        QByteArray topic;
        QByteArray payload;
        bool retained = false;
    };
    QList<Message> messages;

    Observer(quint16 port, const QByteArray &filter);

    bool connected() const { return m_connection.state() == bus::MqttConnection::State::Connected; }
    // The last message on the topic; empty when none came.
    QByteArray last(const QByteArray &topic) const;
    // The last message on the topic came as kept by the broker.
    bool retained(const QByteArray &topic) const;
    QList<Message> on(const QByteArray &topic) const;
    bool publish(const QByteArray &topic, const QByteArray &payload, bool retain = false);

private:
    bus::MqttConnection m_connection;
};

} // namespace testbus

#include "Observer.h"

#include <QUuid>

namespace testbus {

Observer::Observer(quint16 port, const QByteArray &filter) {
    connect(&m_connection, &bus::MqttConnection::connected, this,
            [this, filter] { m_connection.subscribe(filter); });
    connect(&m_connection, &bus::MqttConnection::message, this,
            [this](const QByteArray &topic, const QByteArray &payload, bool retained) {
                messages.append({topic, payload, retained});
            });
    bus::MqttConnection::Options options;
    options.port = port;
    options.clientId = "observer-" + QUuid::createUuid().toByteArray(QUuid::Id128).left(12);
    m_connection.open(options);
}

QByteArray Observer::last(const QByteArray &topic) const {
    for (auto it = messages.crbegin(); it != messages.crend(); ++it) {
        if (it->topic == topic)
            return it->payload;
    }
    return {};
}

bool Observer::retained(const QByteArray &topic) const {
    for (auto it = messages.crbegin(); it != messages.crend(); ++it) {
        if (it->topic == topic)
            return it->retained;
    }
    return false;
}

QList<Observer::Message> Observer::on(const QByteArray &topic) const {
    QList<Message> out;
    for (const Message &m : messages) {
        if (m.topic == topic)
            out.append(m);
    }
    return out;
}

bool Observer::publish(const QByteArray &topic, const QByteArray &payload, bool retain) {
    return m_connection.publish(topic, payload, retain);
}

} // namespace testbus

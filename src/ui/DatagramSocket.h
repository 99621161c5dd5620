#pragma once

#include <QByteArray>
#include <QHostAddress>
#include <QObject>
#include <QString>

namespace ui {

// The UDP link to a remote site's gateway: a remote host given as text, remote
// port 2000, a local port chosen by the system at the first send.
class DatagramSocket : public QObject {
    Q_OBJECT
public:
    using QObject::QObject;

    QString RemoteHost() const { return m_remoteHost; }
    virtual void setRemoteHost(const QString &host) { m_remoteHost = host; }
    quint16 RemotePort() const { return m_remotePort; }
    void setRemotePort(quint16 port) { m_remotePort = port; }

    // Sends one datagram to the remote host; false when it cannot be sent.
    // Nothing is ever sent to an unspecified address such as 0.0.0.0.
    virtual bool SendData(const QByteArray &datagram) = 0;
    // Whether a datagram from this sender comes from the current remote host
    // (an IPv4-mapped IPv6 address equals its IPv4 form).
    virtual bool isFromRemoteHost(const QHostAddress &sender) const = 0;

signals:
    void DataArrival(const QByteArray &datagram, const QHostAddress &sender, quint16 senderPort);

protected:
    QString m_remoteHost;
    quint16 m_remotePort = 2000;
};

} // namespace ui

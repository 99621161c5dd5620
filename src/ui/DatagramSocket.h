#pragma once

#include <QByteArray>
#include <QHostAddress>
#include <QObject>
#include <QString>

namespace ui {

// The UDP link to a remote site's gateway: a remote host given as text, remote
// port 2000, a local port chosen by the system at the first send. A host
// name is looked up once, when it is given (and again after a failure or
// when the answer has aged), never once per datagram.
class DatagramSocket : public QObject {
    Q_OBJECT
public:
    enum class HostState { Ready, Resolving, Failed };
    enum class Outcome {
        Sent,    // on the wire now
        Queued,  // waits for the host's name to resolve; QueuedSent or QueuedDropped follows
        Refused, // cannot be sent (no host, an unspecified address such as 0.0.0.0)
    };

    using QObject::QObject;

    QString RemoteHost() const { return m_remoteHost; }
    virtual void setRemoteHost(const QString &host) { m_remoteHost = host; }
    quint16 RemotePort() const { return m_remotePort; }
    void setRemotePort(quint16 port) { m_remotePort = port; }

    virtual Outcome SendData(const QByteArray &datagram) = 0;
    // Whether a datagram from this sender comes from the current remote host
    // (an IPv4-mapped IPv6 address equals its IPv4 form).
    virtual bool isFromRemoteHost(const QHostAddress &sender) const = 0;

    // Whether the remote host's name is known: "Resolving gw.site-a ...".
    virtual HostState hostState() const { return HostState::Ready; }
    // Why the name did not resolve; empty otherwise.
    virtual QString hostProblem() const { return {}; }
    // A reason this socket gave in English, for the event log; the text
    // itself when it has no other.
    virtual QString inEnglish(const QString &said) const { return said; }

signals:
    void DataArrival(const QByteArray &datagram, const QHostAddress &sender, quint16 senderPort);
    // A datagram that waited for the host's name has left.
    void QueuedSent(const QByteArray &datagram);
    // A datagram that waited for the host's name will never leave.
    void QueuedDropped(const QByteArray &datagram, const QString &why);
    void HostStateChanged();

protected:
    QString m_remoteHost;
    quint16 m_remotePort = 2000;
};

} // namespace ui

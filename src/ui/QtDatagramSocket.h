#pragma once

#include "ui/DatagramSocket.h"

#include <QHostInfo>
#include <QList>
#include <QUdpSocket>

namespace ui {

// DatagramSocket over QUdpSocket. A host name is resolved without blocking;
// datagrams for it wait (a few at most) until the answer is in.
class QtDatagramSocket : public DatagramSocket {
    Q_OBJECT
public:
    explicit QtDatagramSocket(QObject *parent = nullptr);
    ~QtDatagramSocket() override;

    void setRemoteHost(const QString &host) override;
    bool SendData(const QByteArray &datagram) override;
    bool isFromRemoteHost(const QHostAddress &sender) const override;
    quint16 localPort() const { return m_socket.localPort(); }

private:
    bool sendTo(const QHostAddress &address, const QByteArray &datagram);
    void onResolved(const QHostInfo &info);
    void onReadyRead();

    QUdpSocket m_socket;
    QHostAddress m_address; // the remote host's address once known
    QString m_resolving;    // host name being looked up
    int m_lookupId = -1;
    QList<QByteArray> m_waiting;
};

} // namespace ui

#pragma once

#include "link/Channel.h"

#include <QHostAddress>
#include <QObject>

namespace ui {
class DatagramSocket;
}

namespace devicelink {

// A remote site's gateway as a channel: each command is one datagram to its
// port 2000, and only the site's own datagrams count as replies.
class NetworkChannel : public QObject, public Channel {
    Q_OBJECT
public:
    explicit NetworkChannel(ui::DatagramSocket &socket, QObject *parent = nullptr);

    Frame::Medium medium() const override { return Frame::Medium::Network; }
    const QString &name() const override { return m_name; }
    QByteArray commandFrame(int value) const override;
    QByteArray statusRequestFrame() const override;
    // Addresses the site, then sends: true when the frame is on the wire
    // now. One that waits for the site's name to resolve is announced by
    // the socket when it leaves or is dropped.
    bool transmit(const QByteArray &frame) override;
    QString whyNotSent() const override;
    // Whether the last transmit left its frame waiting for the name.
    bool lastQueued() const { return m_lastQueued; }

    ui::DatagramSocket &socket() const { return m_socket; }
    QString site() const { return m_site; }
    // The site in use from now on: the socket addresses it (and looks its
    // name up) at once.
    void setSite(const QString &host);
    // Points the socket at a host without sending (the start-up's 0.0.0.0).
    void address(const QString &host);
    // Sends to the host the socket addresses now, which stays the last site
    // once the serial port is chosen again.
    bool transmitToAddressed(const QByteArray &frame);
    // "10.1.2.3:2000", the host the socket addresses.
    QString addressedName() const;
    // From the host the socket addresses (an IPv4-mapped address equals its
    // IPv4 form): the only datagrams that count as replies.
    bool isFromSite(const QHostAddress &sender) const;

private:
    ui::DatagramSocket &m_socket;
    QString m_site;
    QString m_name;
    bool m_lastQueued = false;
    bool m_lastEmpty = false;
};

} // namespace devicelink

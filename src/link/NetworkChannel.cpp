#include "link/NetworkChannel.h"

#include "link/Codes.h"
#include "ui/DatagramSocket.h"

namespace devicelink {

NetworkChannel::NetworkChannel(ui::DatagramSocket &socket, QObject *parent)
    : QObject(parent)
    , m_socket(socket) {
    setSite(m_socket.RemoteHost());
}

QByteArray NetworkChannel::commandFrame(int value) const {
    return Frames::commandDatagram(value);
}

QByteArray NetworkChannel::statusRequestFrame() const {
    return Frames::statusRequestDatagram();
}

void NetworkChannel::setSite(const QString &host) {
    m_site = host;
    m_name = QStringLiteral("%1:%2").arg(host).arg(m_socket.RemotePort());
}

void NetworkChannel::address(const QString &host) {
    m_socket.setRemoteHost(host);
}

bool NetworkChannel::transmit(const QByteArray &frame) {
    m_socket.setRemoteHost(m_site);
    return !frame.isEmpty() && m_socket.SendData(frame);
}

bool NetworkChannel::transmitToAddressed(const QByteArray &frame) {
    return m_socket.SendData(frame);
}

QString NetworkChannel::addressedName() const {
    return QStringLiteral("%1:%2").arg(m_socket.RemoteHost()).arg(m_socket.RemotePort());
}

bool NetworkChannel::isFromSite(const QHostAddress &sender) const {
    return m_socket.isFromRemoteHost(sender);
}

} // namespace devicelink

#include "link/NetworkChannel.h"

#include "link/Codes.h"
#include "ui/DatagramSocket.h"

namespace devicelink {

NetworkChannel::NetworkChannel(ui::DatagramSocket &socket, QObject *parent)
    : QObject(parent)
    , m_socket(socket)
    , m_site(socket.RemoteHost())
    , m_name(QStringLiteral("%1:%2").arg(m_site).arg(socket.RemotePort())) {}

QByteArray NetworkChannel::commandFrame(int value) const {
    return Frames::commandDatagram(value);
}

QByteArray NetworkChannel::statusRequestFrame() const {
    return Frames::statusRequestDatagram();
}

void NetworkChannel::setSite(const QString &host) {
    m_site = host;
    m_name = QStringLiteral("%1:%2").arg(host).arg(m_socket.RemotePort());
    m_socket.setRemoteHost(host);
}

void NetworkChannel::address(const QString &host) {
    m_socket.setRemoteHost(host);
}

bool NetworkChannel::transmit(const QByteArray &frame) {
    m_socket.setRemoteHost(m_site);
    m_lastQueued = false;
    m_lastEmpty = frame.isEmpty();
    if (frame.isEmpty())
        return false;
    const ui::DatagramSocket::Outcome outcome = m_socket.SendData(frame);
    m_lastQueued = outcome == ui::DatagramSocket::Outcome::Queued;
    return outcome == ui::DatagramSocket::Outcome::Sent;
}

QString NetworkChannel::whyNotSent() const {
    if (m_socket.hostState() == ui::DatagramSocket::HostState::Failed)
        return m_socket.inEnglish(m_socket.hostProblem());
    if (m_lastEmpty)
        return QStringLiteral("a code beyond a byte has no datagram");
    if (m_site.trimmed().isEmpty())
        return QStringLiteral("no site is named");
    return QStringLiteral("%1 cannot be sent to").arg(m_site);
}

bool NetworkChannel::transmitToAddressed(const QByteArray &frame) {
    m_lastQueued = false;
    const ui::DatagramSocket::Outcome outcome = m_socket.SendData(frame);
    m_lastQueued = outcome == ui::DatagramSocket::Outcome::Queued;
    return outcome == ui::DatagramSocket::Outcome::Sent;
}

QString NetworkChannel::addressedName() const {
    return QStringLiteral("%1:%2").arg(m_socket.RemoteHost()).arg(m_socket.RemotePort());
}

bool NetworkChannel::isFromSite(const QHostAddress &sender) const {
    return m_socket.isFromRemoteHost(sender);
}

} // namespace devicelink

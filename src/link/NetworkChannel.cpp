#include "link/NetworkChannel.h"

#include "link/CommandSink.h"
#include "link/RemoteAddress.h"
#include "link/StatusPolls.h"
#include "link/Traffic.h"
#include "ui/DatagramSocket.h"
#include "ui/Timer.h"

namespace devicelink {

NetworkChannel::NetworkChannel(ui::DatagramSocket &socket, RemoteAddress &IPAD, CommandSink &sink,
                               StatusPolls &polls, Decoder decode, QObject *parent)
    : QObject(parent)
    , m_socket(socket)
    , m_IPAD(IPAD)
    , m_sink(sink)
    , m_polls(polls)
    , m_decode(std::move(decode)) {
    connect(&m_socket, &ui::DatagramSocket::DataArrival, this,
            &NetworkChannel::Winsock1_DataArrival);
    connect(&m_polls.Timer3(), &ui::Timer::tick, this, &NetworkChannel::Timer3_Timer);
    connect(&m_polls.Timer5(), &ui::Timer::tick, this, &NetworkChannel::Timer5_Timer);
}

bool NetworkChannel::serialSelected() const {
    return m_IPAD.serialSelected();
}

void NetworkChannel::addressSite() {
    m_socket.setRemoteHost(m_IPAD.text());
}

void NetworkChannel::sendToSite(const QByteArray &datagram) {
    addressSite();
    send(datagram);
}

void NetworkChannel::sendZero() {
    send(QByteArray("0"));
}

void NetworkChannel::send(const QByteArray &datagram) {
    if (m_socket.SendData(datagram) && m_traffic)
        m_traffic->datagramSent(datagram, m_socket.RemoteHost(), m_socket.RemotePort());
}

void NetworkChannel::statusRequest() {
    if (serialSelected())
        m_sink.send(QStringLiteral("2E"));
    else
        sendToSite(QByteArray("1.\r"));
    emit statusRequested();
}

void NetworkChannel::Timer3_Timer() {
    m_polls.Timer3().setEnabled(false);
    statusRequest();
}

void NetworkChannel::Timer5_Timer() {
    statusRequest();
    m_polls.Timer5().setEnabled(false);
}

void NetworkChannel::Winsock1_DataArrival(const QByteArray &datagram, const QHostAddress &sender,
                                          quint16 senderPort) {
    // Only the current site's replies count; anything else on this port is
    // neither decoded nor acknowledged.
    if (!m_socket.isFromRemoteHost(sender)) {
        if (m_traffic)
            m_traffic->datagramIgnored(datagram, sender, senderPort);
        return;
    }
    if (m_traffic)
        m_traffic->datagramReceived(datagram, sender, senderPort);
    if (m_decode)
        m_decode(QString::fromLatin1(datagram.mid(1)));
    sendZero();
}

} // namespace devicelink

#include "ui/QtDatagramSocket.h"

#include <QNetworkDatagram>

namespace ui {

namespace {
// Datagrams kept while a host name is looked up; older ones are dropped.
constexpr int maxWaiting = 16;

bool isUnspecified(const QHostAddress &a) {
    return a.isNull() || a.isEqual(QHostAddress::AnyIPv4, QHostAddress::TolerantConversion) ||
           a.isEqual(QHostAddress::AnyIPv6, QHostAddress::TolerantConversion);
}
} // namespace

QtDatagramSocket::QtDatagramSocket(QObject *parent)
    : DatagramSocket(parent) {
    connect(&m_socket, &QUdpSocket::readyRead, this, &QtDatagramSocket::onReadyRead);
}

QtDatagramSocket::~QtDatagramSocket() {
    if (m_lookupId >= 0)
        QHostInfo::abortHostLookup(m_lookupId);
}

void QtDatagramSocket::setRemoteHost(const QString &host) {
    if (host == m_remoteHost)
        return;
    DatagramSocket::setRemoteHost(host);
    if (m_lookupId >= 0)
        QHostInfo::abortHostLookup(m_lookupId);
    m_lookupId = -1;
    m_waiting.clear();
    m_resolving.clear();
    m_address = QHostAddress(host);
}

bool QtDatagramSocket::SendData(const QByteArray &datagram) {
    if (!m_address.isNull())
        return sendTo(m_address, datagram);
    const QString name = m_remoteHost.trimmed();
    if (name.isEmpty())
        return false;
    if (m_waiting.size() >= maxWaiting)
        m_waiting.removeFirst();
    m_waiting.append(datagram);
    if (m_lookupId < 0) {
        m_resolving = name;
        m_lookupId = QHostInfo::lookupHost(name, this, &QtDatagramSocket::onResolved);
    }
    return true;
}

void QtDatagramSocket::onResolved(const QHostInfo &info) {
    if (info.lookupId() != m_lookupId)
        return;
    m_lookupId = -1;
    const QList<QByteArray> waiting = std::exchange(m_waiting, {});
    // Gateways are IPv4 devices; take an IPv4 address when the name has one.
    for (const QHostAddress &a : info.addresses()) {
        if (a.protocol() == QAbstractSocket::IPv4Protocol ||
            (m_address.isNull() && a.protocol() == QAbstractSocket::IPv6Protocol))
            m_address = a;
        if (a.protocol() == QAbstractSocket::IPv4Protocol)
            break;
    }
    if (m_address.isNull())
        return; // unknown host: the datagrams are dropped, silently
    for (const QByteArray &d : waiting)
        sendTo(m_address, d);
}

bool QtDatagramSocket::sendTo(const QHostAddress &address, const QByteArray &datagram) {
    // Sending to 0.0.0.0 would reach this machine itself; that address marks
    // the serial channel, never a site.
    if (isUnspecified(address))
        return false;
    if (m_socket.state() != QAbstractSocket::BoundState && !m_socket.bind(QHostAddress::Any, 0) &&
        !m_socket.bind(QHostAddress::AnyIPv4, 0))
        return false;
    return m_socket.writeDatagram(datagram, address, m_remotePort) == datagram.size();
}

bool QtDatagramSocket::isFromRemoteHost(const QHostAddress &sender) const {
    return !m_address.isNull() && m_address.isEqual(sender, QHostAddress::TolerantConversion);
}

void QtDatagramSocket::onReadyRead() {
    while (m_socket.hasPendingDatagrams()) {
        const QNetworkDatagram d = m_socket.receiveDatagram();
        if (d.isValid())
            emit DataArrival(d.data(), d.senderAddress(), static_cast<quint16>(d.senderPort()));
    }
}

} // namespace ui

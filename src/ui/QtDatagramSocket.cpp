#include "ui/QtDatagramSocket.h"

#include "ui/Wording.h"

#include <QNetworkDatagram>

namespace ui {

namespace {
bool isUnspecified(const QHostAddress &a) {
    return a.isNull() || a.isEqual(QHostAddress::AnyIPv4, QHostAddress::TolerantConversion) ||
           a.isEqual(QHostAddress::AnyIPv6, QHostAddress::TolerantConversion);
}

void systemLookup(const QString &name, QObject *context, const QtDatagramSocket::Answer &answer) {
    QHostInfo::lookupHost(name, context, [answer](const QHostInfo &info) {
        answer(info.addresses(),
               info.error() == QHostInfo::NoError ? QString() : info.errorString());
    });
}
} // namespace

QtDatagramSocket::QtDatagramSocket(QObject *parent)
    : DatagramSocket(parent)
    , m_resolver(systemLookup) {
    m_clock.start();
    for (QTimer *timer : {&m_expiry, &m_refresh}) {
        timer->setSingleShot(true);
        timer->setTimerType(Qt::PreciseTimer);
    }
    connect(&m_expiry, &QTimer::timeout, this, &QtDatagramSocket::expireWaiting);
    connect(&m_refresh, &QTimer::timeout, this, &QtDatagramSocket::lookUp);
    connect(&m_socket, &QUdpSocket::readyRead, this, &QtDatagramSocket::onReadyRead);
}

QtDatagramSocket::~QtDatagramSocket() = default;

void QtDatagramSocket::setRemoteHost(const QString &host) {
    if (host == m_remoteHost)
        return;
    DatagramSocket::setRemoteHost(host);
    // What waited for the old name will not go to the new host.
    dropAll(QStringLiteral("the site was changed before %1 resolved").arg(m_name));
    ++m_lookup;
    m_looking = false;
    m_refresh.stop();
    m_address = QHostAddress(host);
    m_name.clear();
    const QString name = host.trimmed();
    if (!m_address.isNull() || name.isEmpty()) {
        setState(HostState::Ready);
        return;
    }
    // A name is looked up now, when the site is chosen, not at its first
    // command.
    m_name = name;
    lookUp();
}

void QtDatagramSocket::lookUp() {
    if (m_name.isEmpty() || m_looking)
        return;
    m_looking = true;
    // A known address goes on being used while its name is looked up again.
    if (m_address.isNull())
        setState(HostState::Resolving);
    const quint64 lookup = ++m_lookup;
    m_resolver(m_name, this,
               [this, lookup](const QList<QHostAddress> &addresses, const QString &error) {
                   onAnswer(lookup, addresses, error);
               });
}

void QtDatagramSocket::onAnswer(quint64 lookup, const QList<QHostAddress> &addresses,
                                const QString &error) {
    if (lookup != m_lookup)
        return;
    m_looking = false;
    // Gateways are IPv4 devices; take an IPv4 address when the name has one.
    QHostAddress found;
    for (const QHostAddress &a : addresses) {
        if (a.protocol() == QAbstractSocket::IPv4Protocol) {
            found = a;
            break;
        }
        if (found.isNull() && a.protocol() == QAbstractSocket::IPv6Protocol)
            found = a;
    }
    if (found.isNull()) {
        if (!m_address.isNull()) {
            // A refresh that failed: the answer known so far still holds.
            m_refresh.start(retryMs);
            return;
        }
        // Said on the status bar, so in the language in use; what waited for
        // the name is listed as not sent with it.
        const Wording why =
            error.isEmpty()
                ? Wording("ui::QtDatagramSocket",
                          QT_TRANSLATE_NOOP("ui::QtDatagramSocket", "%1 does not resolve"))
                      .arg(m_name)
                : Wording("ui::QtDatagramSocket",
                          QT_TRANSLATE_NOOP("ui::QtDatagramSocket", "%1 does not resolve (%2)"))
                      .arg(m_name)
                      .arg(error);
        m_english = {why.shown(), why.english()};
        setState(HostState::Failed, why.shown());
        dropAll(why.shown());
        m_refresh.start(retryMs);
        return;
    }
    m_address = found;
    setState(HostState::Ready);
    m_refresh.start(refreshMs);
    const QList<Waiting> waiting = std::exchange(m_waiting, {});
    m_expiry.stop();
    for (const Waiting &w : waiting) {
        if (sendTo(m_address, w.datagram))
            emit QueuedSent(w.datagram);
        else
            emit QueuedDropped(
                w.datagram,
                QStringLiteral("%1 (%2) cannot be reached").arg(m_name, m_address.toString()));
    }
}

DatagramSocket::Outcome QtDatagramSocket::SendData(const QByteArray &datagram) {
    if (!m_address.isNull())
        return sendTo(m_address, datagram) ? Outcome::Sent : Outcome::Refused;
    if (m_name.isEmpty())
        return Outcome::Refused;
    if (m_state == HostState::Failed) {
        // Looked up again at once; this command waits for the answer.
        m_refresh.stop();
        lookUp();
    }
    if (m_waiting.size() >= maxWaiting) {
        const Waiting oldest = m_waiting.takeFirst();
        emit QueuedDropped(
            oldest.datagram,
            QStringLiteral("too many commands waiting for %1 to resolve").arg(m_name));
    }
    m_waiting.append({datagram, m_clock.elapsed()});
    if (!m_expiry.isActive())
        m_expiry.start(waitMs);
    return Outcome::Queued;
}

void QtDatagramSocket::expireWaiting() {
    const qint64 now = m_clock.elapsed();
    while (!m_waiting.isEmpty() && now - m_waiting.first().since >= waitMs) {
        const Waiting w = m_waiting.takeFirst();
        emit QueuedDropped(
            w.datagram,
            QStringLiteral("%1 did not resolve within %2 s").arg(m_name).arg(waitMs / 1000));
    }
    if (!m_waiting.isEmpty())
        m_expiry.start(static_cast<int>(waitMs - (now - m_waiting.first().since)));
}

void QtDatagramSocket::dropAll(const QString &why) {
    m_expiry.stop();
    const QList<Waiting> waiting = std::exchange(m_waiting, {});
    for (const Waiting &w : waiting)
        emit QueuedDropped(w.datagram, why);
}

void QtDatagramSocket::setState(HostState state, const QString &problem) {
    if (state == m_state && problem == m_problem)
        return;
    m_state = state;
    m_problem = problem;
    emit HostStateChanged();
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

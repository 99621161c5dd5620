#include "link/Traffic.h"

#include <QDateTime>
#include <QHostAddress>

namespace devicelink {

const QString Traffic::serialChannel = QStringLiteral("serial");

Traffic::Traffic(QObject *parent)
    : QObject(parent) {
    // What one pass of the event loop wrote is one frame.
    m_flush.setSingleShot(true);
    m_flush.setInterval(0);
    m_flush.setTimerType(Qt::PreciseTimer);
    connect(&m_flush, &QTimer::timeout, this, &Traffic::flushSerial);
}

void Traffic::setRecording(bool on) {
    if (!on)
        flushSerial();
    m_recording = on;
}

void Traffic::clear() {
    m_serialPending.clear();
    m_log.clear();
}

QString Traffic::peer(const QHostAddress &address, quint16 port) {
    // A v4 address on a dual-stack socket reads as ::ffff:a.b.c.d.
    bool v4 = false;
    const quint32 ip = address.toIPv4Address(&v4);
    const QString host = v4 ? QHostAddress(ip).toString() : address.toString();
    return QStringLiteral("%1:%2").arg(host).arg(port);
}

void Traffic::written(const QByteArray &bytes) {
    if (!m_recording)
        return;
    if (m_serialPending.isEmpty())
        m_serialAt = QDateTime::currentMSecsSinceEpoch();
    m_serialPending += bytes;
    // A command ends with its CR; anything else waits for the rest of the pass.
    if (m_serialPending.endsWith('\r'))
        flushSerial();
    else if (!m_flush.isActive())
        m_flush.start();
}

void Traffic::flushSerial() {
    m_flush.stop();
    if (m_serialPending.isEmpty())
        return;
    m_log.append(m_serialAt, TrafficLog::Direction::Sent, serialChannel, m_serialPending);
    m_serialPending.clear();
}

void Traffic::serialReceived(const QByteArray &bytes) {
    if (!m_recording)
        return;
    flushSerial();
    m_log.append(QDateTime::currentMSecsSinceEpoch(), TrafficLog::Direction::Received,
                 serialChannel, bytes);
}

void Traffic::datagramSent(const QByteArray &datagram, const QString &host, quint16 port) {
    if (!m_recording)
        return;
    m_log.append(QDateTime::currentMSecsSinceEpoch(), TrafficLog::Direction::Sent,
                 QStringLiteral("%1:%2").arg(host).arg(port), datagram);
}

void Traffic::datagramReceived(const QByteArray &datagram, const QHostAddress &sender,
                               quint16 port) {
    if (!m_recording)
        return;
    m_log.append(QDateTime::currentMSecsSinceEpoch(), TrafficLog::Direction::Received,
                 peer(sender, port), datagram);
}

void Traffic::datagramIgnored(const QByteArray &datagram, const QHostAddress &sender,
                              quint16 port) {
    if (!m_recording)
        return;
    m_log.append(QDateTime::currentMSecsSinceEpoch(), TrafficLog::Direction::Ignored,
                 peer(sender, port), datagram);
}

} // namespace devicelink

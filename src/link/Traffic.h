#pragma once

#include "link/TrafficLog.h"
#include "ui/SerialPort.h"

#include <QObject>
#include <QTimer>

class QHostAddress;

namespace devicelink {

// Records what goes over both channels into a traffic log while someone
// looks (the traffic window is open). Not looking, each event costs one
// check of a flag. Bytes written to the serial line in one go (a command
// byte and its CR, two writes) are one frame.
class Traffic : public QObject, public ui::SerialPort::Tap {
    Q_OBJECT
public:
    explicit Traffic(QObject *parent = nullptr);

    bool isRecording() const { return m_recording; }
    void setRecording(bool on);
    const TrafficLog &log() const { return m_log; }
    void clear();

    void written(const QByteArray &bytes) override; // the serial line
    void serialReceived(const QByteArray &bytes);
    void datagramSent(const QByteArray &datagram, const QString &host, quint16 port);
    void datagramReceived(const QByteArray &datagram, const QHostAddress &sender, quint16 port);
    void datagramIgnored(const QByteArray &datagram, const QHostAddress &sender, quint16 port);

    static const QString serialChannel; // "serial"

private:
    void flushSerial();
    static QString peer(const QHostAddress &address, quint16 port);

    TrafficLog m_log;
    bool m_recording = false;
    QByteArray m_serialPending;
    qint64 m_serialAt = 0;
    QTimer m_flush;
};

} // namespace devicelink

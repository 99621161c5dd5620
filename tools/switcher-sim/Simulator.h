#pragma once

#include "Endpoint.h"
#include "LogThrottle.h"
#include "SerialFramer.h"
#include "Switcher.h"

#include <QElapsedTimer>
#include <QObject>
#include <QSet>
#include <QTimer>

class QTextStream;
class QUdpSocket;

namespace sim {

class PtyLine;

// The switcher on its two links: commands from the serial line and from
// datagrams drive one Switcher; status requests are answered on the link
// they came from. Every action and every piece of input that was not
// understood is logged as one line.
class Simulator : public QObject {
    Q_OBJECT
public:
    explicit Simulator(QTextStream &log, int linesPerSecond = 200, QObject *parent = nullptr);
    ~Simulator() override;

    // Each returns the error's text, or empty once the link is up.
    QString openSerial(const QString &linkPath);
    QString listen(const Endpoint &endpoint);

    void log(const QString &channel, const QString &line);

private:
    void onSerialBytes(const QByteArray &bytes);
    void onDatagrams();
    void report(const QString &channel, const Reaction &reaction);
    void reportHeldBack();

    QTextStream &m_log;
    LogThrottle m_throttle;
    QTimer m_throttleReport;
    QElapsedTimer m_clock;
    Switcher m_switcher;
    SerialFramer m_framer;
    PtyLine *m_pty = nullptr;
    QUdpSocket *m_udp = nullptr;
    // Peers that were sent a reply and have not acknowledged it yet.
    QSet<QString> m_awaitingAck;
};

} // namespace sim

#include "Simulator.h"

#include "GatewayFrame.h"
#include "PtyLine.h"

#include <QNetworkDatagram>
#include <QTextStream>
#include <QTime>
#include <QUdpSocket>

namespace sim {

namespace {
const QString serialChannel = QStringLiteral("serial");
}

Simulator::Simulator(QTextStream &log, int linesPerSecond, QObject *parent)
    : QObject(parent)
    , m_log(log)
    , m_throttle(linesPerSecond) {
    m_clock.start();
    m_throttleReport.setTimerType(Qt::PreciseTimer);
    m_throttleReport.setInterval(1000);
    connect(&m_throttleReport, &QTimer::timeout, this, &Simulator::reportHeldBack);
    m_throttleReport.start();
}

Simulator::~Simulator() = default;

void Simulator::log(const QString &channel, const QString &line) {
    if (!m_throttle.admit(m_clock.elapsed()))
        return;
    m_log << QTime::currentTime().toString(QStringLiteral("HH:mm:ss.zzz")) << " [" << channel
          << "] " << line << Qt::endl;
}

void Simulator::reportHeldBack() {
    if (const qint64 n = m_throttle.takeHeldBack(m_clock.elapsed()))
        log(QStringLiteral("log"), QStringLiteral("%1 more lines not shown").arg(n));
}

void Simulator::report(const QString &channel, const Reaction &reaction) {
    for (const QString &line : reaction.lines)
        log(channel, line);
}

QString Simulator::openSerial(const QString &linkPath) {
    auto *pty = new PtyLine(this);
    const QString error = pty->open(linkPath);
    if (!error.isEmpty()) {
        delete pty;
        return error;
    }
    m_pty = pty;
    connect(m_pty, &PtyLine::received, this, &Simulator::onSerialBytes);
    connect(m_pty, &PtyLine::failed, this, [this](const QString &why) {
        log(serialChannel, QStringLiteral("line failed (%1); serial side stopped").arg(why));
    });
    log(serialChannel, QStringLiteral("line ready at %1 -> %2").arg(linkPath, m_pty->slaveName()));
    return {};
}

QString Simulator::listen(const Endpoint &endpoint) {
    auto *udp = new QUdpSocket(this);
    if (!udp->bind(endpoint.address, endpoint.port)) {
        const QString error =
            QStringLiteral("cannot listen on %1: %2").arg(endpoint.text(), udp->errorString());
        delete udp;
        return error;
    }
    m_udp = udp;
    // Room for a burst: a status request behind a flood is still read.
    m_udp->setSocketOption(QAbstractSocket::ReceiveBufferSizeSocketOption, 1 << 20);
    connect(m_udp, &QUdpSocket::readyRead, this, &Simulator::onDatagrams);
    const Endpoint bound{m_udp->localAddress(), m_udp->localPort()};
    log(QStringLiteral("udp"), QStringLiteral("listening on %1").arg(bound.text()));
    return {};
}

void Simulator::onSerialBytes(const QByteArray &bytes) {
    for (const SerialFramer::Item &item : m_framer.feed(bytes, m_clock.elapsed())) {
        if (!item.isCommand) {
            log(serialChannel, QStringLiteral("ignored: ") + item.problem);
            continue;
        }
        const Reaction reaction = m_switcher.command(item.code, m_clock.elapsed());
        report(serialChannel, reaction);
        if (reaction.wantsStatus) {
            if (m_pty->write(m_switcher.statusReply()))
                log(serialChannel, m_switcher.statusLine());
            else
                log(serialChannel,
                    QStringLiteral("status reply dropped: the panel is not reading"));
        }
    }
}

void Simulator::onDatagrams() {
    while (m_udp->hasPendingDatagrams()) {
        const QNetworkDatagram d = m_udp->receiveDatagram();
        if (!d.isValid())
            break;
        const QString peer =
            Endpoint{d.senderAddress(), static_cast<quint16>(d.senderPort())}.text();
        const QString channel = QStringLiteral("udp ") + peer;
        const GatewayFrame frame = GatewayFrame::parse(d.data());
        bool wantsStatus = frame.kind == GatewayFrame::Kind::StatusRequest;
        switch (frame.kind) {
        case GatewayFrame::Kind::Command: {
            const Reaction reaction = m_switcher.command(frame.code, m_clock.elapsed());
            report(channel, reaction);
            wantsStatus = reaction.wantsStatus;
            break;
        }
        case GatewayFrame::Kind::Zero:
            log(channel, m_awaitingAck.remove(peer) ? QStringLiteral("reply acknowledged")
                                                    : QStringLiteral("signed off"));
            break;
        case GatewayFrame::Kind::Invalid:
            log(channel, QStringLiteral("ignored: ") + frame.problem);
            break;
        case GatewayFrame::Kind::StatusRequest:
            break;
        }
        if (!wantsStatus)
            continue;
        const QByteArray reply = GatewayFrame::replyDatagram(m_switcher.statusReply());
        if (m_udp->writeDatagram(reply, d.senderAddress(), static_cast<quint16>(d.senderPort())) ==
            reply.size()) {
            // Bounded: a peer that never acknowledges is remembered once.
            if (m_awaitingAck.size() < 1024)
                m_awaitingAck.insert(peer);
            log(channel, m_switcher.statusLine());
        } else {
            log(channel, QStringLiteral("status reply not sent: ") + m_udp->errorString());
        }
    }
}

} // namespace sim

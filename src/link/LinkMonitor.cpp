#include "link/LinkMonitor.h"

#include "link/NetworkChannel.h"
#include "link/RemoteAddress.h"
#include "ui/SerialPort.h"

#include <QDateTime>

namespace devicelink {

namespace {
QString clock(qint64 msecs) {
    return QDateTime::fromMSecsSinceEpoch(msecs).toString(QStringLiteral("HH:mm:ss"));
}
} // namespace

LinkMonitor::LinkMonitor(SerialChannel &serial, ui::SerialPort &port, RemoteAddress &IPAD,
                         NetworkChannel &network, QObject *parent)
    : QObject(parent)
    , m_serial(serial)
    , m_port(port)
    , m_IPAD(IPAD) {
    m_replyWait.setSingleShot(true);
    m_replyWait.setTimerType(Qt::PreciseTimer);
    m_replyWait.setInterval(replyWaitMs);
    connect(&m_replyWait, &QTimer::timeout, this, &LinkMonitor::onReplyWaitOver);
    connect(&network, &NetworkChannel::statusRequested, this, &LinkMonitor::onRequest);
    connect(&serial, &SerialChannel::stateChanged, this, [this](SerialChannel::PortState state) {
        if (state != SerialChannel::PortState::Open)
            m_reopenedAt = 0;
        onChannel();
    });
    connect(&IPAD, &RemoteAddress::changed, this, &LinkMonitor::onChannel);
    connect(&port, &ui::SerialPort::SettingsChanged, this, &LinkMonitor::changed);
}

QString LinkMonitor::source() const {
    return m_IPAD.serialSelected() ? QStringLiteral("serial Com%1").arg(m_port.CommPort())
                                   : m_IPAD.text();
}

QString LinkMonitor::channelText() const {
    if (!m_IPAD.serialSelected())
        return QStringLiteral("Remote site %1 (UDP 2000)").arg(m_IPAD.text());
    const int n = m_port.CommPort();
    const QString port =
        QStringLiteral("Serial Com%1 (%2) %3").arg(n).arg(m_port.devicePath(n), m_port.Settings());
    switch (m_serial.state()) {
    case SerialChannel::PortState::Open:
        return port + (m_reopenedAt ? QStringLiteral(": reopened at %1").arg(clock(m_reopenedAt))
                                    : QStringLiteral(": open"));
    case SerialChannel::PortState::Lost:
        return port + QStringLiteral(": lost, waiting for the device");
    case SerialChannel::PortState::Closed:
        break;
    }
    return port + (m_serial.openError().isEmpty()
                       ? QStringLiteral(": closed")
                       : QStringLiteral(": cannot open: %1").arg(m_serial.openError()));
}

QString LinkMonitor::answerText() const {
    QStringList parts;
    if (m_unanswered)
        parts << QStringLiteral("no reply to the status request of %1").arg(clock(m_unanswered));
    if (m_replyAt) {
        QString shown = QStringLiteral("routing from %1, %2").arg(m_replyFrom, clock(m_replyAt));
        if (m_replyFrom != source())
            shown += QStringLiteral(" (the previous channel)");
        parts << shown;
    } else if (!m_unanswered) {
        parts << QStringLiteral("no routing reply yet");
    }
    return parts.join(QStringLiteral("; "));
}

LinkMonitor::Level LinkMonitor::level() const {
    if (m_IPAD.serialSelected() && m_serial.state() != SerialChannel::PortState::Open)
        return Level::Fault;
    // Good only once the switcher has answered on this channel.
    if (m_unanswered || !m_replyAt || m_replyFrom != source())
        return Level::Warning;
    return Level::Good;
}

void LinkMonitor::replyDecoded() {
    // Called for every text the decoder reads, up to a hundred a second on
    // a busy line: it keeps a time and says so only when what shows changes.
    const qint64 now = QDateTime::currentMSecsSinceEpoch();
    const QString from = source();
    const bool news =
        m_unanswered || m_requestAt || now / 1000 != m_replyAt / 1000 || m_replyFrom != from;
    m_replyAt = now;
    m_replyFrom = from;
    m_requestAt = 0;
    m_unanswered = 0;
    if (m_replyWait.isActive())
        m_replyWait.stop();
    if (news)
        emit changed();
}

void LinkMonitor::noteReopened() {
    m_reopenedAt = QDateTime::currentMSecsSinceEpoch();
    emit changed();
}

void LinkMonitor::onRequest() {
    // The first request still unanswered is the one the wait is for.
    if (!m_requestAt) {
        m_requestAt = QDateTime::currentMSecsSinceEpoch();
        m_replyWait.start();
    }
}

void LinkMonitor::onReplyWaitOver() {
    m_unanswered = m_requestAt;
    m_requestAt = 0;
    emit changed();
}

void LinkMonitor::onChannel() {
    // A request made on the channel left behind is not waited for.
    m_requestAt = 0;
    m_replyWait.stop();
    m_unanswered = 0;
    emit changed();
}

} // namespace devicelink

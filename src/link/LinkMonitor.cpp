#include "link/LinkMonitor.h"

#include "link/Clock.h"
#include "link/Session.h"
#include "ui/SerialPort.h"

#include <QDateTime>

namespace devicelink {

namespace {
QString clock(qint64 msecs) {
    return QDateTime::fromMSecsSinceEpoch(msecs).toString(QStringLiteral("HH:mm:ss"));
}
} // namespace

LinkMonitor::LinkMonitor(Session &session, QObject *parent)
    : QObject(parent)
    , m_session(session) {
    m_replyWait.setSingleShot(true);
    m_replyWait.setTimerType(Qt::PreciseTimer);
    m_replyWait.setInterval(replyWaitMs);
    connect(&m_replyWait, &QTimer::timeout, this, &LinkMonitor::onReplyWaitOver);
    connect(&session, &Session::statusRequested, this, &LinkMonitor::onRequest);
    connect(&session, &Session::replyDecoded, this,
            [this](const StatusReply &, const QString &channel) { onReply(channel); });
    connect(&session, &Session::portStateChanged, this, [this](SerialChannel::PortState state) {
        if (state != SerialChannel::PortState::Open)
            m_reopenedAt = 0;
        onChannel();
    });
    connect(&session, &Session::channelChanged, this, &LinkMonitor::onChannel);
    connect(&session.serial().port(), &ui::SerialPort::SettingsChanged, this,
            &LinkMonitor::changed);
}

QString LinkMonitor::source() const {
    const ChannelChoice &channel = m_session.channel();
    return channel.isSerial() ? m_session.serial().name() : channel.host();
}

QString LinkMonitor::channelText() const {
    const ChannelChoice &channel = m_session.channel();
    if (!channel.isSerial())
        return QStringLiteral("Remote site %1 (UDP 2000)").arg(channel.host());
    const SerialChannel &serial = m_session.serial();
    const ui::SerialPort &port = serial.port();
    const int n = port.CommPort();
    const QString line =
        QStringLiteral("Serial Com%1 (%2) %3").arg(n).arg(port.devicePath(n), port.Settings());
    switch (serial.state()) {
    case SerialChannel::PortState::Open:
        return line + (m_reopenedAt ? QStringLiteral(": reopened at %1").arg(clock(m_reopenedAt))
                                    : QStringLiteral(": open"));
    case SerialChannel::PortState::Lost:
        return line + QStringLiteral(": lost, waiting for the device");
    case SerialChannel::PortState::Closed:
    case SerialChannel::PortState::Absent:
        break;
    }
    return line + (serial.openError().isEmpty()
                       ? QStringLiteral(": closed")
                       : QStringLiteral(": cannot open: %1").arg(serial.openError()));
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
    if (m_session.channel().isSerial() &&
        m_session.serial().state() != SerialChannel::PortState::Open)
        return Level::Fault;
    // Good only once the switcher has answered on this channel.
    if (m_unanswered || !m_replyAt || m_replyFrom != source())
        return Level::Warning;
    return Level::Good;
}

void LinkMonitor::onReply(const QString &channel) {
    // Called for every text the decoder reads, up to a hundred a second on
    // a busy line: it keeps a time and says so only when what shows changes.
    const qint64 now = m_session.clock().now();
    const bool news =
        m_unanswered || m_requestAt || now / 1000 != m_replyAt / 1000 || m_replyFrom != channel;
    m_replyAt = now;
    if (m_replyFrom != channel)
        m_replyFrom = channel;
    m_requestAt = 0;
    m_unanswered = 0;
    if (m_replyWait.isActive())
        m_replyWait.stop();
    if (news)
        emit changed();
}

void LinkMonitor::noteReopened() {
    m_reopenedAt = m_session.clock().now();
    emit changed();
}

void LinkMonitor::onRequest() {
    // The first request still unanswered is the one the wait is for.
    if (!m_requestAt) {
        m_requestAt = m_session.clock().now();
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

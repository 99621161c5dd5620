#include "link/LinkMonitor.h"

#include "link/Clock.h"
#include "link/NetworkChannel.h"
#include "link/PortReopener.h"
#include "link/Session.h"
#include "ui/DatagramSocket.h"
#include "ui/SerialPort.h"

#include <QDateTime>

namespace devicelink {

namespace {
QString clock(qint64 msecs) {
    return QDateTime::fromMSecsSinceEpoch(msecs).toString(QStringLiteral("HH:mm:ss"));
}

// The port's error without the port and device it names first ("Com1
// (/dev/ttyUSB0): "), which the channel text shows beside it.
QString reason(const QString &error, const ui::SerialPort &port) {
    const QString prefix =
        QStringLiteral("Com%1 (%2): ").arg(port.CommPort()).arg(port.devicePath(port.CommPort()));
    QString shortened = error.startsWith(prefix) ? error.mid(prefix.size()) : error;
    // "the port is in use by ..." reads "in use by ..." after "Cannot open:".
    const QLatin1String thePortIs("the port is ");
    if (shortened.startsWith(thePortIs))
        shortened.remove(0, thePortIs.size());
    return shortened;
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
    connect(&session, &Session::portStateChanged, this, &LinkMonitor::onPortState);
    connect(&session, &Session::channelChanged, this, &LinkMonitor::onChannel);
    connect(&session.serial().port(), &ui::SerialPort::SettingsChanged, this,
            &LinkMonitor::changed);
    connect(&session.network().socket(), &ui::DatagramSocket::HostStateChanged, this,
            &LinkMonitor::changed);
    connect(&session.reopener(), &PortReopener::reopened, this, &LinkMonitor::noteReopened);
}

QString LinkMonitor::source() const {
    const ChannelChoice &channel = m_session.channel();
    // A site is named as its frames name it: "10.1.2.3:2000".
    return channel.isSerial() ? m_session.serial().name() : m_session.network().name();
}

QString LinkMonitor::stateText() const {
    const ChannelChoice &channel = m_session.channel();
    if (!channel.isSerial()) {
        const ui::DatagramSocket &socket = m_session.network().socket();
        switch (socket.hostState()) {
        case ui::DatagramSocket::HostState::Resolving:
            return tr("Resolving %1 ...").arg(channel.host());
        case ui::DatagramSocket::HostState::Failed:
            return tr("Cannot resolve %1").arg(channel.host());
        case ui::DatagramSocket::HostState::Ready:
            break;
        }
        return tr("Remote site");
    }
    const SerialChannel &serial = m_session.serial();
    switch (serial.state()) {
    case SerialChannel::PortState::Open:
        return m_reopenedAt ? tr("Open (reopened at %1)").arg(clock(m_reopenedAt)) : tr("Open");
    case SerialChannel::PortState::Lost:
        return tr("Lost since %1").arg(clock(m_downSince));
    case SerialChannel::PortState::Absent:
        return tr("No device since %1").arg(clock(m_downSince));
    case SerialChannel::PortState::Closed:
        break;
    }
    return serial.openError().isEmpty()
               ? tr("Closed")
               : tr("Cannot open: %1").arg(reason(serial.openError(), serial.port()));
}

QString LinkMonitor::channelText() const {
    const ChannelChoice &channel = m_session.channel();
    if (!channel.isSerial())
        return tr("%1 (UDP 2000)").arg(channel.host());
    const ui::SerialPort &port = m_session.serial().port();
    const int n = port.CommPort();
    return tr("Serial Com%1 (%2) %3").arg(n).arg(port.devicePath(n), port.Settings());
}

QString LinkMonitor::stateDetail() const {
    const ChannelChoice &channel = m_session.channel();
    if (!channel.isSerial()) {
        const ui::DatagramSocket &socket = m_session.network().socket();
        if (socket.hostState() == ui::DatagramSocket::HostState::Failed)
            return tr("%1; commands are not sent until it does.").arg(socket.hostProblem());
        return {};
    }
    const SerialChannel &serial = m_session.serial();
    const bool watched = m_session.reopener().isWatching();
    switch (serial.state()) {
    case SerialChannel::PortState::Lost:
        return reason(serial.lossReason(), serial.port()) +
               (watched ? tr("; it is opened again when the device comes back.")
                        : QStringLiteral("."));
    case SerialChannel::PortState::Absent:
        return reason(serial.openError(), serial.port()) +
               (watched ? tr("; it is opened when the device appears.") : QStringLiteral("."));
    case SerialChannel::PortState::Open:
    case SerialChannel::PortState::Closed:
        break;
    }
    return {};
}

QString LinkMonitor::answerText() const {
    QStringList parts;
    if (m_notSentAt)
        parts << tr("status request of %1 not sent: %2").arg(clock(m_notSentAt), notSentWhy());
    if (m_unanswered)
        parts << tr("no reply to the status request of %1").arg(clock(m_unanswered));
    if (m_replyAt) {
        // The serial channel's name in the language in use; a site is its address.
        const QString from = m_replyFrom.startsWith(QLatin1String("serial "))
                                 ? tr("serial %1").arg(m_replyFrom.mid(7))
                                 : m_replyFrom;
        QString shown = tr("routing from %1, %2").arg(from, clock(m_replyAt));
        if (m_replyFrom != source())
            shown += tr(" (the previous channel)");
        else if (m_replyStale)
            shown += tr(" (from before the loss)");
        parts << shown;
    } else if (!m_unanswered && !m_notSentAt) {
        parts << tr("no routing reply yet");
    }
    return parts.join(QStringLiteral("; "));
}

QString LinkMonitor::notSentWhy() const {
    if (!m_notSentTo.isEmpty())
        return tr("%1 cannot be reached").arg(m_notSentTo);
    return m_notSentPortLost ? tr("the port is lost") : tr("the port is closed");
}

LinkMonitor::Level LinkMonitor::level() const {
    const ChannelChoice &channel = m_session.channel();
    if (channel.isSerial() && m_session.serial().state() != SerialChannel::PortState::Open)
        return Level::Fault;
    if (!channel.isSerial() &&
        m_session.network().socket().hostState() == ui::DatagramSocket::HostState::Failed)
        return Level::Fault;
    // Good only once the switcher has answered on this channel, since it
    // was last heard of.
    if (m_unanswered || m_notSentAt || !m_replyAt || m_replyFrom != source() || m_replyStale)
        return Level::Warning;
    return Level::Good;
}

void LinkMonitor::onReply(const QString &channel) {
    // Called for every text the decoder reads, up to a hundred a second on
    // a busy line: it keeps a time and says so only when what shows changes.
    const qint64 now = m_session.clock().now();
    const bool news = m_unanswered || m_requestAt || m_notSentAt || m_replyStale ||
                      now / 1000 != m_replyAt / 1000 || m_replyFrom != channel;
    m_replyAt = now;
    if (m_replyFrom != channel)
        m_replyFrom = channel;
    m_requestAt = 0;
    m_unanswered = 0;
    m_notSentAt = 0;
    m_replyStale = false;
    if (m_replyWait.isActive())
        m_replyWait.stop();
    if (news)
        emit changed();
}

void LinkMonitor::noteReopened() {
    m_reopenedAt = m_session.clock().now();
    emit changed();
}

void LinkMonitor::onRequest(bool sent) {
    if (!sent) {
        // Nothing left: say so rather than wait for a reply that cannot come.
        const ChannelChoice &channel = m_session.channel();
        m_notSentAt = m_session.clock().now();
        // Kept as facts, said in the language in use when shown.
        m_notSentPortLost = m_session.serial().state() == SerialChannel::PortState::Lost;
        m_notSentTo = channel.isSerial() ? QString() : channel.host();
        emit changed();
        return;
    }
    m_notSentAt = 0;
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

void LinkMonitor::onPortState() {
    const SerialChannel::PortState state = m_session.serial().state();
    if (state != SerialChannel::PortState::Open)
        m_reopenedAt = 0;
    const bool down =
        state == SerialChannel::PortState::Lost || state == SerialChannel::PortState::Absent;
    if (down && !m_downSince)
        m_downSince = m_session.clock().now();
    else if (!down)
        m_downSince = 0;
    // The switcher may have restarted while the port was gone.
    if (state == SerialChannel::PortState::Lost && m_replyAt)
        m_replyStale = true;
    onChannel();
}

void LinkMonitor::onChannel() {
    // A request made on the channel left behind is not waited for.
    m_requestAt = 0;
    m_replyWait.stop();
    m_unanswered = 0;
    m_notSentAt = 0;
    emit changed();
}

} // namespace devicelink

#include "link/Session.h"

#include "link/Clock.h"
#include "link/CommandCode.h"
#include "link/NetworkChannel.h"
#include "link/Operations.h"
#include "link/PortReopener.h"
#include "link/RoutingModel.h"
#include "link/StatusPolls.h"
#include "link/TerminalBuffer.h"
#include "ui/DatagramSocket.h"
#include "ui/SerialPort.h"
#include "ui/Timer.h"

#include <QHostAddress>
#include <QMetaMethod>

namespace devicelink {

namespace {
using FrameSignal = void (Session::*)(const Frame &);

// Whether anyone listens to a frame signal: the one check a frame costs
// when nobody does.
const QMetaMethod &metaOf(FrameSignal signal) {
    static const QMetaMethod sent = QMetaMethod::fromSignal(&Session::frameSent);
    static const QMetaMethod received = QMetaMethod::fromSignal(&Session::frameReceived);
    static const QMetaMethod ignored = QMetaMethod::fromSignal(&Session::frameIgnored);
    static const QMetaMethod notSent = QMetaMethod::fromSignal(&Session::frameNotSent);
    static const QMetaMethod state = QMetaMethod::fromSignal(&Session::stateNoted);
    return signal == &Session::frameSent       ? sent
           : signal == &Session::frameReceived ? received
           : signal == &Session::frameIgnored  ? ignored
           : signal == &Session::frameNotSent  ? notSent
                                               : state;
}

// A sender as frames name it; a v4 address on a dual-stack socket reads as
// ::ffff:a.b.c.d.
QString peerName(const QHostAddress &address, quint16 port) {
    bool v4 = false;
    const quint32 ip = address.toIPv4Address(&v4);
    const QString host = v4 ? QHostAddress(ip).toString() : address.toString();
    return QStringLiteral("%1:%2").arg(host).arg(port);
}
} // namespace

Session::Session(ui::SerialPort &port, ui::DatagramSocket &socket, Clock &clock, QObject *parent)
    : QObject(parent)
    , m_clock(clock)
    , m_serial(std::make_unique<SerialChannel>(port))
    , m_network(std::make_unique<NetworkChannel>(socket))
    , m_polls(new StatusPolls(this))
    , m_routing(new RoutingModel(this))
    , m_reopener(new PortReopener(*this, this))
    , m_operations(new Operations(*this, this)) {
    setObjectName(QStringLiteral("session"));
    connect(&port, &ui::SerialPort::OnComm, this, &Session::MSComm1_OnComm);
    connect(&socket, &ui::DatagramSocket::DataArrival, this, &Session::Winsock1_DataArrival);
    connect(&m_polls->Timer3(), &ui::Timer::tick, this, &Session::Timer3_Timer);
    connect(&m_polls->Timer5(), &ui::Timer::tick, this, &Session::Timer5_Timer);
    connect(m_serial.get(), &SerialChannel::stateChanged, this,
            [this](SerialChannel::PortState state) {
                // What the switcher said before a loss may be gone with it.
                if (state == SerialChannel::PortState::Lost && m_channel.isSerial())
                    m_routing->markStale();
                notePortState(state);
                emit portStateChanged(state);
            });
    connect(m_routing, &RoutingModel::changed, this, &Session::routingChanged);
    connect(&socket, &ui::DatagramSocket::QueuedSent, this,
            [this](const QByteArray &datagram) { onQueuedDone(datagram, {}, true); });
    connect(&socket, &ui::DatagramSocket::QueuedDropped, this,
            [this](const QByteArray &datagram, const QString &why) {
                onQueuedDone(datagram, why, false);
            });
    connect(&socket, &ui::DatagramSocket::HostStateChanged, this, &Session::noteHostState);
    connect(m_reopener, &PortReopener::reopened, this,
            [this] { noteState(*m_serial, QStringLiteral("port reopened")); });
}

Session::~Session() = default;

Channel &Session::active() const {
    if (m_channel.isSerial())
        return *m_serial;
    return *m_network;
}

void Session::setChannel(const ChannelChoice &choice) {
    if (choice == m_channel)
        return;
    m_channel = choice;
    if (!choice.isSerial())
        m_network->setSite(choice.host());
    m_routing->markStale();
    noteState(active(), QStringLiteral("channel: %1").arg(active().name()));
    emit channelChanged(choice);
}

void Session::noteState(const Channel &channel, const QString &note) {
    if (!isSignalConnected(metaOf(&Session::stateNoted)))
        return;
    emit stateNoted(Frame{m_clock.now(),
                          Frame::Direction::State,
                          channel.medium(),
                          channel.name(),
                          {},
                          {},
                          note,
                          note});
}

void Session::notePortState(SerialChannel::PortState state) {
    // A reopen that fails again, once a second, is no news. The log is
    // English whatever the panel's language.
    const QString error = m_serial->inEnglish(m_serial->openError());
    if (state == m_notedPort && error == m_notedError)
        return;
    m_notedPort = state;
    m_notedError = error;
    switch (state) {
    case SerialChannel::PortState::Open:
        noteState(*m_serial, QStringLiteral("port open"));
        break;
    case SerialChannel::PortState::Lost:
        noteState(*m_serial,
                  QStringLiteral("port lost: %1").arg(m_serial->inEnglish(m_serial->lossReason())));
        break;
    case SerialChannel::PortState::Absent:
        noteState(*m_serial, QStringLiteral("device missing: %1").arg(error));
        break;
    case SerialChannel::PortState::Closed:
        noteState(*m_serial, error.isEmpty() ? QStringLiteral("port closed")
                                             : QStringLiteral("cannot open: %1").arg(error));
        break;
    }
}

void Session::noteHostState() {
    const ui::DatagramSocket &socket = m_network->socket();
    switch (socket.hostState()) {
    case ui::DatagramSocket::HostState::Resolving:
        noteState(*m_network, QStringLiteral("resolving %1").arg(socket.RemoteHost()));
        break;
    case ui::DatagramSocket::HostState::Failed:
        noteState(*m_network, socket.inEnglish(socket.hostProblem()));
        break;
    case ui::DatagramSocket::HostState::Ready:
        noteState(*m_network, QStringLiteral("%1 resolved").arg(socket.RemoteHost()));
        break;
    }
}

void Session::announce(FrameSignal signal, Frame::Direction direction, const Channel &channel,
                       const QByteArray &bytes, const Origin &origin, const QString &meaning) {
    announce(signal, direction, channel.medium(), channel.name(), bytes, origin, meaning);
}

void Session::announce(FrameSignal signal, Frame::Direction direction, Frame::Medium medium,
                       const QString &channel, const QByteArray &bytes, const Origin &origin,
                       const QString &meaning) {
    if (!isSignalConnected(metaOf(signal)))
        return;
    emit(this->*signal)(
        Frame{m_clock.now(), direction, medium, channel, bytes, origin, {}, meaning});
}

void Session::announceNotSent(Frame::Medium medium, const QString &channel, const QByteArray &frame,
                              const Origin &origin, const QString &meaning, const QString &why) {
    if (!isSignalConnected(metaOf(&Session::frameNotSent)))
        return;
    QString said = QStringLiteral("not sent: %1").arg(why);
    if (!meaning.isEmpty())
        said += QStringLiteral(" (%1)").arg(meaning);
    emit frameNotSent(
        Frame{m_clock.now(), Frame::Direction::NotSent, medium, channel, frame, origin, why, said});
}

Session::Delivery Session::transmit(Channel &channel, const QByteArray &frame, const Origin &origin,
                                    QString *why, Done later) {
    // The meaning is read whether or not the frame leaves: the next code is
    // read after this one either way.
    const QString meaning = m_reader.sent(channel.medium(), frame);
    if (channel.transmit(frame)) {
        announce(&Session::frameSent, Frame::Direction::Sent, channel, frame, origin, meaning);
        return Delivery::Sent;
    }
    if (&channel == m_network.get() && m_network->lastQueued()) {
        // It leaves when the site's name resolves, and is announced then.
        m_waiting.append({frame, origin, channel.name(), meaning, std::move(later)});
        return Delivery::Waiting;
    }
    const QString reason = channel.whyNotSent();
    if (why)
        *why = reason;
    announceNotSent(channel.medium(), channel.name(), frame, origin, meaning, reason);
    return Delivery::NotSent;
}

void Session::onQueuedDone(const QByteArray &datagram, const QString &why, bool sent) {
    // The socket keeps the order it was given.
    if (m_waiting.isEmpty())
        return;
    const Waiting w = m_waiting.takeFirst();
    Q_ASSERT(w.bytes == datagram);
    if (sent)
        announce(&Session::frameSent, Frame::Direction::Sent, Frame::Medium::Network, w.channel,
                 w.bytes, w.origin, w.meaning);
    else
        announceNotSent(Frame::Medium::Network, w.channel, w.bytes, w.origin, w.meaning,
                        m_network->socket().inEnglish(why));
    if (w.later)
        w.later(sent ? Outcome::done() : Outcome::notSent(m_network->socket().inEnglish(why)));
}

void Session::Invio(const QString &CommandCode, const Origin &origin) {
    // A code that names no value (typed by hand into the code box) sends nothing.
    if (const std::optional<int> value = commandValue(CommandCode))
        sendCommand(*value, origin);
}

Session::Delivery Session::send(Code code, const Origin &origin, QString *why, Done later) {
    return sendCommand(valueOf(code), origin, why, std::move(later));
}

Session::Delivery Session::sendCommand(int value, const Origin &origin, QString *why, Done later) {
    // Beyond a byte the serial line still gets its CR; a site gets nothing,
    // though the socket is pointed at it.
    Channel &channel = active();
    return transmit(channel, channel.commandFrame(value), origin, why, std::move(later));
}

bool Session::statusRequest(const Origin &origin) {
    Channel &channel = active();
    const bool sent = transmit(channel, channel.statusRequestFrame(), origin) != Delivery::NotSent;
    emit statusRequested(sent);
    return sent;
}

QString Session::writeSerial(const QByteArray &bytes, const Origin &origin) {
    const QString error = m_serial->port().Output(bytes);
    if (error.isEmpty())
        announce(&Session::frameSent, Frame::Direction::Sent, *m_serial, bytes, origin, {});
    return error;
}

void Session::signOff(const Origin &origin) {
    if (m_channel.isSerial())
        return;
    m_polls->stop();
    transmit(*m_network, Frames::acknowledgement(), origin);
}

void Session::sendZero(const Origin &origin) {
    const QByteArray zero = Frames::acknowledgement();
    const QString meaning = CommandMeaning::ofDatagramSent(zero);
    if (m_network->transmitToAddressed(zero))
        announce(&Session::frameSent, Frame::Direction::Sent, Frame::Medium::Network,
                 m_network->addressedName(), zero, origin, meaning);
    else if (m_network->lastQueued())
        m_waiting.append({zero, origin, m_network->addressedName(), meaning, {}});
}

void Session::addressSocket() {
    m_network->address(m_channel.addressText());
}

void Session::Timer3_Timer() {
    m_polls->Timer3().setEnabled(false);
    statusRequest({Origin::Kind::StatusPoll});
}

void Session::Timer5_Timer() {
    statusRequest({Origin::Kind::StatusPoll});
    m_polls->Timer5().setEnabled(false);
}

void Session::MSComm1_OnComm() {
    ui::SerialPort &port = m_serial->port();
    if (port.CommEvent() != ui::SerialPort::comEvReceive)
        return;
    const QByteArray bytes = port.Input();
    const QString text = QString::fromLatin1(bytes);
    // Read once, for the traffic window and the event log alike.
    const StatusReply reply = StatusReply::decode(text);
    if (isSignalConnected(metaOf(&Session::frameReceived)))
        announce(&Session::frameReceived, Frame::Direction::Received, *m_serial, bytes, {},
                 CommandMeaning::ofReply(reply));
    // The terminal box shows it (and the log keeps it) before it is decoded,
    // filtered once for both.
    static const QMetaMethod shown = QMetaMethod::fromSignal(&Session::textReceived);
    if (m_log.isOpen() || isSignalConnected(shown)) {
        bool eraseLast = false;
        const QString filtered = TerminalBuffer::filter(text, &eraseLast);
        emit textReceived(filtered, eraseLast);
        if (m_log.isOpen())
            writeLog(filtered);
    }
    applyReply(reply, m_serial->name());
}

void Session::Winsock1_DataArrival(const QByteArray &datagram, const QHostAddress &sender,
                                   quint16 senderPort) {
    // Only the site's replies count; anything else on this port is neither
    // decoded nor acknowledged.
    const bool fromSite = m_network->isFromSite(sender);
    if (!fromSite) {
        announce(&Session::frameIgnored, Frame::Direction::Ignored, Frame::Medium::Network,
                 peerName(sender, senderPort), datagram, {},
                 QStringLiteral("not from the site in use"));
        return;
    }
    const StatusReply reply =
        StatusReply::decode(QString::fromLatin1(datagram.mid(Frames::replyLeadBytes)));
    announce(&Session::frameReceived, Frame::Direction::Received, Frame::Medium::Network,
             peerName(sender, senderPort), datagram, {}, CommandMeaning::ofReply(reply));
    // Credited to the site the socket addresses, which sent it.
    applyReply(reply, m_network->addressedName());
    sendZero({Origin::Kind::Acknowledgement});
}

StatusReply Session::DecodeStatusReply(const QString &text, const QString &channel) {
    const StatusReply reply = StatusReply::decode(text);
    applyReply(reply, channel);
    return reply;
}

void Session::applyReply(const StatusReply &reply, const QString &channel) {
    m_routing->apply(reply, m_clock.now(), channel);
    emit replyDecoded(reply, channel);
}

void Session::writeLog(const QString &text) {
    // While a failed write waits for the operator, what follows waits behind
    // it, in order.
    if (!m_logWaiting.isEmpty()) {
        m_logWaiting += text;
        return;
    }
    const QString error = m_log.write(text);
    if (error.isEmpty())
        return;
    m_logWaiting = text;
    emit logWriteFailed(error);
}

void Session::retryLogWrite() {
    if (m_logWaiting.isEmpty())
        return;
    const QString error = m_log.write(m_logWaiting);
    if (error.isEmpty())
        m_logWaiting.clear();
    else
        emit logWriteFailed(error);
}

void Session::abandonLogWrite() {
    m_logWaiting.clear();
}

} // namespace devicelink

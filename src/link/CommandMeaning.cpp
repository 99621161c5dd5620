#include "link/CommandMeaning.h"

#include "link/Codes.h"
#include "link/StatusReply.h"

#include <utility>

namespace devicelink {

QString CommandMeaning::ofCode(int value) {
    return meaningOfCode(value);
}

QString CommandMeaning::ofSerialSent(const QByteArray &bytes) {
    if (bytes.size() == 2 && bytes == Frames::serialCommand(static_cast<uchar>(bytes[0])))
        return ofCode(static_cast<uchar>(bytes[0]));
    return {};
}

QString CommandMeaning::ofDatagramSent(const QByteArray &datagram) {
    if (datagram == Frames::acknowledgement())
        return QStringLiteral("acknowledgement / sign-off");
    if (datagram == Frames::statusRequestDatagram())
        return QStringLiteral("status request (network)");
    if (datagram.size() == 3 &&
        datagram == Frames::commandDatagram(static_cast<uchar>(datagram[1]))) {
        const QString meaning = ofCode(static_cast<uchar>(datagram[1]));
        return meaning.isEmpty() ? QString() : meaning + QStringLiteral(" (network)");
    }
    return {};
}

QString CommandMeaning::ofReply(const QByteArray &text) {
    // The decoder reads every text the channel hands it, whatever its length,
    // and always lights a monitor.
    return ofReply(StatusReply::decode(QString::fromLatin1(text)));
}

QString CommandMeaning::ofReply(const StatusReply &reply) {
    if (reply.camera == 0)
        return QStringLiteral("monitor %1").arg(reply.monitor);
    return QStringLiteral("monitor %1, camera %2").arg(reply.monitor).arg(reply.camera);
}

QString CommandMeaning::of(Frame::Direction direction, Frame::Medium medium,
                           const QByteArray &bytes, const QString &note) {
    const bool serial = medium == Frame::Medium::Serial;
    switch (direction) {
    case Frame::Direction::Sent:
        return serial ? ofSerialSent(bytes) : ofDatagramSent(bytes);
    case Frame::Direction::Ignored:
        return QStringLiteral("not from the site in use");
    case Frame::Direction::NotSent:
        return QStringLiteral("not sent: %1").arg(note);
    case Frame::Direction::State:
        return note;
    case Frame::Direction::Received:
        break;
    }
    return ofReply(serial ? bytes : bytes.mid(Frames::replyLeadBytes));
}

QString CommandMeaning::hex(const QByteArray &bytes) {
    return QString::fromLatin1(bytes.toHex(' ').toUpper());
}

namespace {
bool isNumber(int value) {
    return value >= valueOf(Code::Number1) && value < valueOf(Code::Number1) + 16;
}
} // namespace

QString CommandMeaning::Reader::command(int value) {
    // A status request, which a poll may send at any moment, is no step of
    // a sequence.
    if (value == valueOf(Code::StatusRequest))
        return ofCode(value);
    const int previous = std::exchange(m_previous, value);
    if (isNumber(value) && previous == valueOf(Code::PresetBegin))
        return QStringLiteral("preset %1").arg(value - valueOf(Code::Number1) + 1);
    if (value == valueOf(Code::AutoPan) && previous == valueOf(Code::PresetBegin))
        return QStringLiteral("tour");
    if (value == valueOf(Code::PresetBegin) && previous == valueOf(Code::PresetStoreBegin))
        return QStringLiteral("preset store: preset begin");
    switch (static_cast<Code>(value)) {
    case Code::Wiper:
    case Code::Lamps:
    case Code::Aux:
        m_auxiliary = value;
        break;
    case Code::AuxRelease:
        if (m_auxiliary >= 0) {
            const QString of = ofCode(std::exchange(m_auxiliary, -1));
            return QStringLiteral("%1 released").arg(of);
        }
        break;
    default:
        break;
    }
    return ofCode(value);
}

QString CommandMeaning::Reader::sent(Frame::Medium medium, const QByteArray &bytes) {
    if (medium == Frame::Medium::Serial) {
        if (bytes.size() == 2 && bytes == Frames::serialCommand(static_cast<uchar>(bytes[0])))
            return command(static_cast<uchar>(bytes[0]));
        return {};
    }
    if (bytes.size() == 3 && bytes == Frames::commandDatagram(static_cast<uchar>(bytes[1]))) {
        const QString meaning = command(static_cast<uchar>(bytes[1]));
        return meaning.isEmpty() ? QString() : meaning + QStringLiteral(" (network)");
    }
    return ofDatagramSent(bytes);
}

} // namespace devicelink

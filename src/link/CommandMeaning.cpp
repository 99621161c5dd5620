#include "link/CommandMeaning.h"

#include "link/Codes.h"
#include "link/StatusReply.h"

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
    // A reply is the lead, the monitor and the camera bytes; anything else
    // the line brings (typed text echoed back, noise) is shown as bytes.
    if (text.size() < 3 || text.size() > 4)
        return {};
    const StatusReply reply = StatusReply::decode(QString::fromLatin1(text));
    if (reply.camera == 0)
        return {};
    return QStringLiteral("monitor %1, camera %2").arg(reply.monitor).arg(reply.camera);
}

QString CommandMeaning::of(Frame::Direction direction, Frame::Medium medium,
                           const QByteArray &bytes) {
    const bool serial = medium == Frame::Medium::Serial;
    switch (direction) {
    case Frame::Direction::Sent:
        return serial ? ofSerialSent(bytes) : ofDatagramSent(bytes);
    case Frame::Direction::Ignored:
        return QStringLiteral("not from the site in use");
    case Frame::Direction::Received:
        break;
    }
    return ofReply(serial ? bytes : bytes.mid(Frames::replyLeadBytes));
}

QString CommandMeaning::hex(const QByteArray &bytes) {
    return QString::fromLatin1(bytes.toHex(' ').toUpper());
}

} // namespace devicelink

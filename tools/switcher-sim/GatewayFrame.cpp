#include "GatewayFrame.h"

namespace sim {

GatewayFrame GatewayFrame::parse(const QByteArray &datagram) {
    GatewayFrame f;
    if (datagram.size() == 3 && datagram[0] == '\0' && datagram[2] == '\r') {
        f.kind = Kind::Command;
        f.code = static_cast<quint8>(datagram[1]);
    } else if (datagram == QByteArrayLiteral("1.\r")) {
        f.kind = Kind::StatusRequest;
    } else if (datagram == QByteArrayLiteral("0")) {
        f.kind = Kind::Zero;
    } else {
        constexpr int shown = 16;
        f.problem = QStringLiteral("datagram of %1 byte%2 not understood: %3%4")
                        .arg(datagram.size())
                        .arg(datagram.size() == 1 ? "" : "s")
                        .arg(QString::fromLatin1(datagram.left(shown).toHex(' ').toUpper()))
                        .arg(datagram.size() > shown ? QStringLiteral(" ...") : QString());
    }
    return f;
}

QByteArray GatewayFrame::replyDatagram(const QByteArray &statusReply) {
    return QByteArray(1, lead) + statusReply;
}

} // namespace sim

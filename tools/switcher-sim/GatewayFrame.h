#pragma once

#include <QByteArray>
#include <QString>

namespace sim {

// One datagram from the panel, classified: a command (0x00, byte, CR), the
// status request ("1", 0x2E, CR), the acknowledgement or sign-off ("0"), or
// something this gateway does not understand.
struct GatewayFrame {
    enum class Kind { Command, StatusRequest, Zero, Invalid };

    Kind kind = Kind::Invalid;
    quint8 code = 0;
    QString problem;

    static GatewayFrame parse(const QByteArray &datagram);
    // The datagram answering a status request: a lead byte, then the reply.
    static QByteArray replyDatagram(const QByteArray &statusReply);

    static constexpr char lead = 0x01;
};

} // namespace sim

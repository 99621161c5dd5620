#pragma once

#include "link/Switcher.h"

#include <QByteArrayView>
#include <QString>

namespace web {

// One message a browser sends on the live socket: start a hold-to-run move
// ({"type": "move", "camera": 5, "action": "left", "speed": 4}), keep it
// running ({"type": "hold"}) or end it ({"type": "stop"}). Anything else,
// or anything over 1 KiB, is Invalid with the reason.
struct LiveMessage {
    static constexpr qsizetype sizeLimit = 1024;

    enum class Type : quint8 { Move, Hold, Stop, Invalid };

    Type type = Type::Invalid;
    int camera = 0; // 1 to 16; 0: the camera selected last
    devicelink::Move move = devicelink::Move::Left;
    int speed = -1; // 0 to 7 for a pan or tilt; -1: as set
    QString error;

    static LiveMessage parse(QByteArrayView text);
};

} // namespace web

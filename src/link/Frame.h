#pragma once

#include "link/Origin.h"

#include <QByteArray>
#include <QString>

namespace devicelink {

// One frame on either channel, as the session reports it: a command or
// request that left, the bytes of one receive event or datagram, a datagram
// from a host that is not the site in use, a command that could not leave
// (its note says why), or a change of the link's state (its note says what).
struct Frame {
    enum class Direction : quint8 { Sent, Received, Ignored, NotSent, State };
    enum class Medium : quint8 { Serial, Network };

    qint64 at = 0; // ms since the epoch
    Direction direction = Direction::Sent;
    Medium medium = Medium::Serial;
    QString channel; // "serial Com1", "10.1.2.3:2000"
    QByteArray bytes;
    Origin origin; // who sent it; for what arrived, nobody's
    QString note;  // "port lost: ...", "gw.site-a does not resolve"
    // What it means, read once by the session for every watcher: "preset 3",
    // "monitor 2, camera 5", "not sent: the port is closed (camera 5)".
    QString meaning;
};

} // namespace devicelink

#pragma once

#include <QString>

namespace devicelink {

// What one status reply names. The switcher's reply is a lead byte, a
// monitor byte (bit 6 the low and bit 5 the high bit of monitor - 1) and two
// one-hot camera bytes, cameras 1-8 then 9-16 (0x80 the lowest camera).
struct StatusReply {
    int camera = 0;  // 1 to 16, 0 when the reply names none
    int monitor = 1; // 1 to 4

    // Decodes a reply text, one character per byte; positions it does not
    // reach count as 0, characters after the fourth are ignored.
    static StatusReply decode(const QString &text);
};

} // namespace devicelink

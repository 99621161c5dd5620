#include "link/StatusReply.h"

namespace devicelink {

namespace {
int byteAt(const QString &text, int position) {
    return position <= text.size() ? text.at(position - 1).unicode() : 0;
}

// 1 to 8 for exactly one bit set, most significant bit first; else 0.
int oneHot(int value) {
    for (int bit = 0; bit < 8; ++bit) {
        if (value == (0x80 >> bit))
            return bit + 1;
    }
    return 0;
}
} // namespace

StatusReply StatusReply::decode(const QString &text) {
    StatusReply reply;
    const int low = byteAt(text, 3);
    if (low == 0) {
        const int n = oneHot(byteAt(text, 4));
        reply.camera = n == 0 ? 0 : 8 + n;
    } else {
        reply.camera = oneHot(low);
    }
    int value = byteAt(text, 2);
    if (value >= 128)
        value -= 128;
    if (value >= 64) {
        value -= 64;
        reply.monitor += 1;
    }
    if (value >= 32)
        reply.monitor += 2;
    return reply;
}

} // namespace devicelink

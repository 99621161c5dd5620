// Status reply decoding: whatever a receive event or a datagram carries names
// one camera or none and exactly one monitor, read from positions 2 to 4 alone.
#include "FuzzCheck.h"
#include "link/StatusReply.h"

#include <cstring>

namespace {
using devicelink::StatusReply;

int valueAt(const QString &text, int position) {
    return position <= text.size() ? text.at(position - 1).unicode() : 0;
}

// The camera bit table: 128 names the first camera of its group, 1 the last.
int cameraOf(int value, int first) {
    for (int k = 0; k < 8; ++k) {
        if (value == (128 >> k))
            return first + k;
    }
    return 0;
}
} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size) {
    const QString text = fuzz::latin1(data, size);
    const StatusReply reply = StatusReply::decode(text);

    const int monitorByte = valueAt(text, 2);
    const int expectedMonitor = 1 + ((monitorByte & 64) ? 1 : 0) + ((monitorByte & 32) ? 2 : 0);
    FUZZ_CHECK(reply.monitor == expectedMonitor);
    const int low = valueAt(text, 3);
    const int expectedCamera = low != 0 ? cameraOf(low, 1) : cameraOf(valueAt(text, 4), 9);
    FUZZ_CHECK(reply.camera == expectedCamera);

    const StatusReply head = StatusReply::decode(text.left(4));
    FUZZ_CHECK(head.camera == reply.camera && head.monitor == reply.monitor);

    // Over the network the lead byte of the datagram is dropped first; and
    // text from anywhere else (two bytes a character) still names a camera
    // and a monitor that exist.
    const StatusReply datagram = StatusReply::decode(text.mid(1));
    FUZZ_CHECK(datagram.camera >= 0 && datagram.camera <= 16);
    FUZZ_CHECK(datagram.monitor >= 1 && datagram.monitor <= 4);
    QString wide(static_cast<qsizetype>(size / 2), Qt::Uninitialized);
    if (!wide.isEmpty())
        std::memcpy(wide.data(), data, size / 2 * sizeof(QChar));
    const StatusReply any = StatusReply::decode(wide);
    FUZZ_CHECK(any.camera >= 0 && any.camera <= 16);
    FUZZ_CHECK(any.monitor >= 1 && any.monitor <= 4);
    return 0;
}

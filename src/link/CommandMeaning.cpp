#include "link/CommandMeaning.h"

#include "link/StatusReply.h"

namespace devicelink {

namespace {
struct Named {
    int code;
    const char *meaning;
};

// The codes the panel and the joystick send, besides the number codes of
// cameras, the monitors and the speed ranges.
constexpr Named named[] = {
    {0x2E, "status request"},
    {0x5D, "preset or tour: begin"},
    {0x5E, "preset: end"},
    {0x60, "pan left"},
    {0x61, "pan stop"},
    {0x62, "pan right"},
    {0x64, "tilt up"},
    {0x65, "tilt stop"},
    {0x66, "tilt down"},
    {0x6C, "zoom +"},
    {0x6D, "zoom stop"},
    {0x6E, "zoom -"},
    {0x70, "focus +"},
    {0x71, "focus stop"},
    {0x72, "focus -"},
    {0x74, "iris +"},
    {0x75, "iris stop"},
    {0x76, "iris -"},
    {0x8C, "sequence"},
    {0xB4, "wiper"},
    {0xB6, "lamps"},
    {0xB7, "auxiliary function released"},
    {0xBA, "aux"},
    {0xBC, "A/P"},
    {0xF7, "preset store: begin"},
    {0xF8, "preset store: number given"},
};
} // namespace

QString CommandMeaning::ofCode(int value) {
    if (value >= 0x31 && value <= 0x40)
        return QStringLiteral("camera %1").arg(value - 0x30); // or a preset's number
    if (value >= 0x51 && value <= 0x54)
        return QStringLiteral("monitor %1").arg(value - 0x50);
    if (value >= 0x90 && value <= 0x97)
        return QStringLiteral("pan speed %1").arg(value - 0x90);
    if (value >= 0x98 && value <= 0x9F)
        return QStringLiteral("tilt speed %1").arg(value - 0x98);
    for (const Named &n : named) {
        if (n.code == value)
            return QLatin1String(n.meaning);
    }
    return {};
}

QString CommandMeaning::ofSerialSent(const QByteArray &bytes) {
    if (bytes.size() == 2 && bytes[1] == '\r')
        return ofCode(static_cast<uchar>(bytes[0]));
    return {};
}

QString CommandMeaning::ofDatagramSent(const QByteArray &datagram) {
    if (datagram == "0")
        return QStringLiteral("acknowledgement / sign-off");
    if (datagram == "1.\r")
        return QStringLiteral("status request (network)");
    if (datagram.size() == 3 && datagram[0] == '\0' && datagram[2] == '\r') {
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

QString CommandMeaning::hex(const QByteArray &bytes) {
    return QString::fromLatin1(bytes.toHex(' ').toUpper());
}

} // namespace devicelink

#include "link/Codes.h"

#include "link/CommandCode.h"

namespace devicelink {

namespace {
constexpr char carriageReturn = 0x0D;
constexpr char commandLead = 0x00;
constexpr char statusLead = '1';

struct Named {
    Code code;
    const char *meaning;
};

// The codes besides the ranges of numbers, monitors and speeds.
constexpr Named named[] = {
    {Code::StatusRequest, "status request"},
    {Code::PresetBegin, "preset or tour: begin"},
    {Code::PresetEnd, "preset: end"},
    {Code::PanLeft, "pan left"},
    {Code::PanStop, "pan stop"},
    {Code::PanRight, "pan right"},
    {Code::TiltUp, "tilt up"},
    {Code::TiltStop, "tilt stop"},
    {Code::TiltDown, "tilt down"},
    {Code::ZoomIn, "zoom +"},
    {Code::ZoomStop, "zoom stop"},
    {Code::ZoomOut, "zoom -"},
    {Code::FocusNear, "focus +"},
    {Code::FocusStop, "focus stop"},
    {Code::FocusFar, "focus -"},
    {Code::IrisOpen, "iris +"},
    {Code::IrisStop, "iris stop"},
    {Code::IrisClose, "iris -"},
    {Code::Sequence, "sequence"},
    {Code::Wiper, "wiper"},
    {Code::Lamps, "lamps"},
    {Code::AuxRelease, "auxiliary function released"},
    {Code::Aux, "aux"},
    {Code::AutoPan, "A/P"},
    {Code::PresetStoreBegin, "preset store: begin"},
    {Code::PresetStoreNumber, "preset store: number given"},
};

bool within(int value, Code first, int count) {
    return value >= valueOf(first) && value < valueOf(first) + count;
}
} // namespace

QString codeOf(Code code) {
    return codeOf(valueOf(code));
}

QByteArray Frames::serialCommand(int value) {
    QByteArray frame;
    if (value >= 0 && value <= 255)
        frame.append(static_cast<char>(value));
    frame.append(carriageReturn);
    return frame;
}

QByteArray Frames::commandDatagram(int value) {
    if (value < 0 || value > 255)
        return {};
    const char frame[] = {commandLead, static_cast<char>(value), carriageReturn};
    return QByteArray(frame, 3);
}

QByteArray Frames::statusRequestDatagram() {
    const char frame[] = {statusLead, static_cast<char>(valueOf(Code::StatusRequest)),
                          carriageReturn};
    return QByteArray(frame, 3);
}

QByteArray Frames::acknowledgement() {
    return QByteArray(1, '0');
}

QString meaningOfCode(int value) {
    if (within(value, Code::Number1, 16)) // or a preset's number
        return QStringLiteral("camera %1").arg(value - valueOf(Code::Number1) + 1);
    if (within(value, Code::Monitor1, 4))
        return QStringLiteral("monitor %1").arg(value - valueOf(Code::Monitor1) + 1);
    if (within(value, Code::PanSpeed0, fastestSpeed + 1))
        return QStringLiteral("pan speed %1").arg(value - valueOf(Code::PanSpeed0));
    if (within(value, Code::TiltSpeed0, fastestSpeed + 1))
        return QStringLiteral("tilt speed %1").arg(value - valueOf(Code::TiltSpeed0));
    for (const Named &n : named) {
        if (valueOf(n.code) == value)
            return QLatin1String(n.meaning);
    }
    return {};
}

} // namespace devicelink

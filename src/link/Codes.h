#pragma once

#include <QByteArray>
#include <QString>

namespace devicelink {

// The switcher's command bytes: the one table of the protocol's codes. The
// panel, the joystick, the polls and the traffic window's meanings all take
// their codes from here.
enum class Code : quint8 {
    StatusRequest = 0x2E,
    Number1 = 0x31, // cameras and presets 1 to 16: 0x31 to 0x40
    Monitor1 = 0x51,
    PresetBegin = 0x5D, // also begins a tour
    PresetEnd = 0x5E,
    PanLeft = 0x60,
    PanStop = 0x61,
    PanRight = 0x62,
    TiltUp = 0x64,
    TiltStop = 0x65,
    TiltDown = 0x66,
    ZoomIn = 0x6C,
    ZoomStop = 0x6D,
    ZoomOut = 0x6E,
    FocusNear = 0x70,
    FocusStop = 0x71,
    FocusFar = 0x72,
    IrisOpen = 0x74,
    IrisStop = 0x75,
    IrisClose = 0x76,
    Sequence = 0x8C,
    PanSpeed0 = 0x90,  // pan speeds 0 to 7: 0x90 to 0x97
    TiltSpeed0 = 0x98, // tilt speeds 0 to 7: 0x98 to 0x9F
    Wiper = 0xB4,
    Lamps = 0xB6,
    AuxRelease = 0xB7,
    Aux = 0xBA,
    AutoPan = 0xBC,
    PresetStoreBegin = 0xF7,
    PresetStoreNumber = 0xF8,
};

constexpr int valueOf(Code code) {
    return static_cast<int>(code);
}
// Camera or preset n (1 to 16).
constexpr Code number(int n) {
    return static_cast<Code>(valueOf(Code::Number1) + n - 1);
}
// Monitor m (1 to 4).
constexpr Code monitor(int m) {
    return static_cast<Code>(valueOf(Code::Monitor1) + m - 1);
}
constexpr Code panSpeed(int speed) {
    return static_cast<Code>(valueOf(Code::PanSpeed0) + speed);
}
constexpr Code tiltSpeed(int speed) {
    return static_cast<Code>(valueOf(Code::TiltSpeed0) + speed);
}
constexpr int fastestSpeed = 7;

// The code text of a command byte ("2E", "B4"), as CommandCode holds it.
QString codeOf(Code code);

// How a command travels. On the serial line: the byte and a CR (a value
// beyond a byte leaves the CR alone). To a remote site: one datagram of a
// 0x00 lead, the byte and a CR (none for a value beyond a byte); the status
// request leads with "1"; the acknowledgement and sign-off is a lone "0".
namespace Frames {
QByteArray serialCommand(int value);
QByteArray commandDatagram(int value);
QByteArray statusRequestDatagram();
QByteArray acknowledgement();
// The lead byte of a datagram from the site, before the switcher's reply.
constexpr int replyLeadBytes = 1;
} // namespace Frames

// What a command byte means: "camera 5", "pan left", "status request";
// empty for a byte the panel never sends.
QString meaningOfCode(int value);

} // namespace devicelink

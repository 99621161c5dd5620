#pragma once

#include "link/Codes.h"
#include "ui/Joystick.h"

#include <QList>
#include <QString>
#include <QStringList>
#include <optional>

namespace joystick {

// How the stick's travel is cut into steps, worked out once when the joystick
// window opens from one reading taken with the stick at rest: the full travel
// 0 .. 2 * rest is 14 steps, 7 on each side of the centre.
struct Geometry {
    qint32 centroX = 0;
    qint32 centroY = 0;
    qint32 stepX = 0;
    qint32 stepY = 0;
    qint32 halfStepsX = 0;
    qint32 halfStepsY = 0;
};

// A figure that does not fit in 32 bits (or a step of 0) leaves its field 0;
// an axis whose step is 0 then reads 0 at every poll.
Geometry geometryAt(quint32 restX, quint32 restY);

// What the polls remember. lastCode lives for the whole run; the rest starts
// over each time the window opens.
struct PollState {
    QString lastCode;     // the last direction or stop code sent
    QString lastLensCode; // the last zoom or focus code sent
    bool panActive = false;
    bool tiltActive = false;
    qint16 speedCode = 0; // the speed code the 80 ms follow-up sends
};

struct PollOutcome {
    qint32 vX = 0;                    // steps right of centre, 0 in the dead zone
    qint32 vY = 0;                    // steps forward of centre, 0 in the dead zone
    QList<devicelink::Code> codes;    // to send now, in this order
    bool speedFollowUp = false;       // send state.speedCode 80 ms from now
    bool panStopFollowUp = false;     // send the pan stop 80 ms from now
    std::optional<QString> lensLabel; // the lens function's new label, when it changes
};

// One poll: turns a reading into the codes that drive the camera and updates
// the state. The stick's direction wins over its buttons; the lens buttons
// act only with the stick centred and one button down.
PollOutcome poll(const Geometry &geometry, const ui::JoystickReading &reading, PollState &state);

// The stops of whatever the stick still drives (the program is ending): the
// tilt and the pan, then the zoom or the focus; nothing when all is still.
QList<devicelink::Code> stopAll(PollState &state);

} // namespace joystick

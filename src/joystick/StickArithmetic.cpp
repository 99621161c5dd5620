#include "joystick/StickArithmetic.h"

#include "link/Codes.h"

#include <cstdlib>
#include <limits>

namespace joystick {

namespace {

using devicelink::Code;
using devicelink::codeOf;

const QString PanRight = codeOf(Code::PanRight);
const QString PanLeft = codeOf(Code::PanLeft);
const QString TiltUp = codeOf(Code::TiltUp);
const QString TiltDown = codeOf(Code::TiltDown);
const QString TiltStop = codeOf(Code::TiltStop);
const QString PanStop = codeOf(Code::PanStop);
const QString ZoomIn = codeOf(Code::ZoomIn);
const QString ZoomOut = codeOf(Code::ZoomOut);
const QString ZoomStop = codeOf(Code::ZoomStop);
const QString FocusNear = codeOf(Code::FocusNear);
const QString FocusFar = codeOf(Code::FocusFar);
const QString FocusStop = codeOf(Code::FocusStop);

constexpr int PanSpeedBase = devicelink::valueOf(Code::PanSpeed0);
constexpr int TiltSpeedBase = devicelink::valueOf(Code::TiltSpeed0);
constexpr int FastestSpeed = devicelink::fastestSpeed;

// Floor of a / b toward minus infinity; b is not 0.
qint64 floorDiv(qint64 a, qint64 b) {
    qint64 q = a / b;
    if ((a % b != 0) && ((a < 0) != (b < 0)))
        --q;
    return q;
}

// a / b to the nearest integer, halves to the even neighbour; empty when b is
// 0 or the result does not fit in 32 bits.
std::optional<qint32> nearest(qint64 a, qint64 b) {
    if (b == 0)
        return std::nullopt;
    if (b < 0) {
        a = -a;
        b = -b;
    }
    qint64 q = floorDiv(a, b);
    const qint64 twiceRemainder = 2 * (a - q * b);
    if (twiceRemainder > b || (twiceRemainder == b && (q % 2 != 0)))
        ++q;
    if (q < std::numeric_limits<qint32>::min() || q > std::numeric_limits<qint32>::max())
        return std::nullopt;
    return static_cast<qint32>(q);
}

struct Axis {
    qint32 centre = 0;
    qint32 step = 0;
    qint32 halfSteps = 0;
};

Axis axisAt(quint32 rest) {
    const qint64 travel = 2 * static_cast<qint64>(rest);
    Axis axis;
    axis.step = nearest(travel, 14).value_or(0);
    axis.centre = nearest(travel, 2).value_or(0);
    if (axis.step != 0)
        axis.halfSteps =
            nearest(std::llabs(floorDiv(travel - axis.centre, axis.step)), 1).value_or(0);
    return axis;
}

// A position past the far end of the travel counts as the end; there is no
// lower clamp.
qint64 clampToTravel(qint64 position, qint32 centre) {
    return qMin(position, 2 * static_cast<qint64>(centre));
}

// Whole steps of an offset from the centre; anything under 2 steps either way
// is the dead zone. Flooring makes the dead zone lopsided: 2 whole steps are
// needed on the positive side, just over 1 on the negative side.
qint32 stepsOf(qint64 offset, qint32 step) {
    if (step == 0)
        return 0;
    const qint64 steps = floorDiv(offset, step);
    return std::llabs(steps) < 2 ? 0 : static_cast<qint32>(steps);
}

// The speed of an axis: its deflection scaled to 0..7 over the half travel.
qint32 scaledSpeed(qint32 steps, qint32 halfSteps, int offset) {
    if (halfSteps == 0)
        return 0;
    const qint64 speed = std::llabs(floorDiv(static_cast<qint64>(steps) * 7, halfSteps)) + offset;
    return static_cast<qint32>(qMin<qint64>(speed, FastestSpeed));
}

void send(PollOutcome &out, Code code) {
    out.codes.append(code);
}

// The stick is centred and the tilt stop has already gone out: the buttons
// drive the lens, one at a time.
void lensButtons(quint32 buttons, PollState &state, PollOutcome &out) {
    const auto press = [&](Code code, const char *label) {
        out.lensLabel = QString::fromLatin1(label);
        send(out, code);
        state.lastCode = codeOf(code);
        state.lastLensCode = codeOf(code);
    };
    switch (buttons) {
    case 1:
        press(Code::ZoomIn, "ZOOM +");
        break;
    case 2:
        press(Code::ZoomOut, "ZOOM -");
        break;
    case 8:
        press(Code::FocusFar, "FUOCO -");
        break;
    case 4:
        press(Code::FocusNear, "FUOCO +");
        break;
    case 0:
        if (state.lastLensCode == FocusNear || state.lastLensCode == FocusFar) {
            // The focus stop also counts as the last code, so one more
            // centre stop follows it.
            send(out, Code::FocusStop);
            state.lastCode = FocusStop;
            state.lastLensCode = FocusStop;
            out.lensLabel = QString();
        } else if (state.lastLensCode == ZoomIn || state.lastLensCode == ZoomOut) {
            send(out, Code::ZoomStop);
            state.lastLensCode = ZoomStop;
            out.lensLabel = QString();
        }
        break;
    default:
        break; // several buttons at once mean nothing
    }
}

} // namespace

Geometry geometryAt(quint32 restX, quint32 restY) {
    const Axis x = axisAt(restX);
    const Axis y = axisAt(restY);
    return Geometry{x.centre, y.centre, x.step, y.step, x.halfSteps, y.halfSteps};
}

PollOutcome poll(const Geometry &g, const ui::JoystickReading &reading, PollState &state) {
    PollOutcome out;
    const qint32 vX = stepsOf(clampToTravel(reading.x, g.centroX) - g.centroX, g.stepX);
    // Forward is positive: the Y count grows as the stick comes back.
    const qint32 vY = stepsOf(g.centroY - clampToTravel(reading.y, g.centroY), g.stepY);
    out.vX = vX;
    out.vY = vY;
    const qint32 panSpeed = scaledSpeed(vX, g.halfStepsX, 1);
    const qint32 tiltSpeed = scaledSpeed(vY, g.halfStepsY, 0);
    const qint64 absX = std::llabs(vX);
    const qint64 absY = std::llabs(vY);

    const auto move = [&](Code code, bool pan) {
        (pan ? state.panActive : state.tiltActive) = true;
        send(out, code);
        state.lastCode = codeOf(code);
        state.speedCode =
            static_cast<qint16>(pan ? PanSpeedBase + panSpeed : TiltSpeedBase + tiltSpeed);
        out.speedFollowUp = true;
    };

    // An equal deflection on both axes counts as horizontal.
    if (vX > 0 && absX >= absY) {
        move(Code::PanRight, true);
    } else if (vY < 0 && absX < absY) {
        move(Code::TiltDown, false);
    } else if (vX < 0 && absX >= absY) {
        move(Code::PanLeft, true);
    } else if (vY > 0 && absX < absY) {
        move(Code::TiltUp, false);
    } else if (vX == 0 && vY == 0) {
        if (state.lastCode != TiltStop) {
            // Back at the centre: stop the tilt now and the pan 80 ms later.
            send(out, Code::TiltStop);
            state.lastCode = TiltStop;
            out.panStopFollowUp = true;
        } else {
            lensButtons(reading.buttons, state, out);
        }
    }

    // The camera moves on one axis at a time: once both have been started,
    // a diagonal stick stops the slower one.
    if (state.panActive && state.tiltActive && vX != 0 && vY != 0) {
        if (panSpeed <= tiltSpeed) {
            state.panActive = false;
            send(out, Code::PanStop);
            state.lastCode = PanStop;
        } else {
            state.tiltActive = false;
            send(out, Code::TiltStop);
            // lastCode keeps the direction just sent: the pan is still
            // running, so the return to centre must still send its stops.
        }
    }
    return out;
}

QList<Code> stopAll(PollState &state) {
    QList<Code> codes;
    // A direction still runs, or the tilt after the diagonal rule stopped the pan.
    const QString &last = state.lastCode;
    if (last == PanLeft || last == PanRight || last == TiltUp || last == TiltDown ||
        last == PanStop) {
        codes << Code::TiltStop << Code::PanStop;
        state.lastCode = TiltStop;
        state.panActive = false;
        state.tiltActive = false;
    }
    if (state.lastLensCode == ZoomIn || state.lastLensCode == ZoomOut) {
        codes << Code::ZoomStop;
        state.lastLensCode = ZoomStop;
    } else if (state.lastLensCode == FocusNear || state.lastLensCode == FocusFar) {
        codes << Code::FocusStop;
        state.lastLensCode = FocusStop;
    }
    return codes;
}

} // namespace joystick

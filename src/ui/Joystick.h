#pragma once

#include <QtGlobal>
#include <optional>

namespace ui {

// One reading of the first joystick: absolute positions as unsigned counts
// from 0 at one end of the travel (0 to 65534 on a real stick, the centre near
// 32767) and the buttons as a mask (button 1 = 1, 2 = 2, 3 = 4, 4 = 8).
struct JoystickReading {
    quint32 x = 0;
    quint32 y = 0;
    quint32 z = 0;
    quint32 buttons = 0;
};

// The joystick as the joystick window polls it: one call, one reading.
class Joystick {
public:
    virtual ~Joystick() = default;
    // Empty when no joystick is attached or the read fails.
    virtual std::optional<JoystickReading> read() = 0;
};

} // namespace ui

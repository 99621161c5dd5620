#pragma once

#include "ui/Joystick.h"

struct _SDL_Joystick;

namespace ui {

// The first joystick through SDL's joystick API. Only the joystick subsystem
// is started: no window, no display, no event queue; each read brings SDL's
// state up to date first, which also notices sticks plugged in or pulled out.
class SdlJoystick : public Joystick {
public:
    SdlJoystick();
    ~SdlJoystick() override;
    SdlJoystick(const SdlJoystick &) = delete;
    SdlJoystick &operator=(const SdlJoystick &) = delete;

    std::optional<JoystickReading> read() override;

private:
    bool start();
    void release();

    bool m_started = false;
    _SDL_Joystick *m_stick = nullptr;
};

} // namespace ui

#include "ui/sdl/SdlJoystick.h"

#include <SDL.h>

namespace ui {

namespace {

// SDL's signed axis range, -32768 to 32767, as counts from 0 at one end to
// 65534 at the other, the centre reading 32767: seven steps of 4681 each way,
// so both ends of the travel read 7 steps (with the centre at 32768 and the
// ends at 0 and 65535, the far left read 8 and the far right 6).
quint32 counts(Sint16 axis) {
    return static_cast<quint32>(qMax(0, static_cast<int>(axis) + 32767));
}

} // namespace

SdlJoystick::SdlJoystick() {
    start();
}

SdlJoystick::~SdlJoystick() {
    release();
    if (m_started)
        SDL_QuitSubSystem(SDL_INIT_JOYSTICK);
}

bool SdlJoystick::start() {
    if (m_started)
        return true;
    // The panel is a Qt program: SDL must not take its signals, ask for a
    // display, or stop reading the stick while another window has the focus.
    SDL_SetHint(SDL_HINT_NO_SIGNAL_HANDLERS, "1");
    SDL_SetHint(SDL_HINT_JOYSTICK_ALLOW_BACKGROUND_EVENTS, "1");
    SDL_SetHint(SDL_HINT_AUTO_UPDATE_JOYSTICKS, "0");
    if (SDL_InitSubSystem(SDL_INIT_JOYSTICK) != 0)
        return false;
    // Nobody drains SDL's event queue; the state is read after an update.
    SDL_JoystickEventState(SDL_IGNORE);
    m_started = true;
    return true;
}

void SdlJoystick::release() {
    if (m_stick) {
        SDL_JoystickClose(m_stick);
        m_stick = nullptr;
    }
}

std::optional<JoystickReading> SdlJoystick::read() {
    if (!start())
        return std::nullopt;
    SDL_JoystickUpdate();
    if (m_stick && !SDL_JoystickGetAttached(m_stick))
        release();
    if (!m_stick && SDL_NumJoysticks() > 0)
        m_stick = SDL_JoystickOpen(0);
    if (!m_stick)
        return std::nullopt;

    const int axes = SDL_JoystickNumAxes(m_stick);
    if (axes < 2)
        return std::nullopt;
    JoystickReading reading;
    reading.x = counts(SDL_JoystickGetAxis(m_stick, 0));
    reading.y = counts(SDL_JoystickGetAxis(m_stick, 1));
    reading.z = axes >= 3 ? counts(SDL_JoystickGetAxis(m_stick, 2)) : 0;
    const int buttons = qMin(SDL_JoystickNumButtons(m_stick), 4);
    for (int i = 0; i < buttons; ++i) {
        if (SDL_JoystickGetButton(m_stick, i))
            reading.buttons |= 1u << i;
    }
    return reading;
}

} // namespace ui

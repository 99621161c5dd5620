#pragma once

#include "ui/Joystick.h"

// A joystick that answers with whatever the test last put in it; no reading
// means no joystick.
class FakeJoystick : public ui::Joystick {
public:
    std::optional<ui::JoystickReading> next = ui::JoystickReading{7000, 7000, 0, 0};
    int reads = 0;

    std::optional<ui::JoystickReading> read() override {
        ++reads;
        return next;
    }

    // The stick deflected by whole or half steps of a stick resting at
    // 7000 counts (1000 counts a step); forward is positive.
    void at(double right, double forward, quint32 buttons = 0) {
        next = ui::JoystickReading{static_cast<quint32>(7000 + right * 1000),
                                   static_cast<quint32>(7000 - forward * 1000), 0, buttons};
    }
    void unplug() { next.reset(); }
};

#pragma once

#include "joystick/StickArithmetic.h"

#include <QObject>
#include <QPointer>

class frmTerminal;

namespace ui {
class Dialogs;
class Joystick;
} // namespace ui

namespace joystick {

class frmCenter;

// Opens the joystick window from the main window's "&JoyStick" menu item and
// keeps what the window must remember between openings for the whole run.
// A closed window is gone; the next opening builds and loads a new one.
class JoystickLauncher : public QObject {
    Q_OBJECT
public:
    JoystickLauncher(frmTerminal &main, ui::Joystick &joystick, ui::Dialogs &dialogs,
                     QObject *parent = nullptr);
    ~JoystickLauncher() override;

    // Shows the window, loading it first, or brings it forward when it is open.
    void JoyStick_Click();

    // The open window, or null.
    frmCenter *window() const;

private:
    void programEnded();

    frmTerminal &m_main;
    ui::Joystick &m_joystick;
    ui::Dialogs &m_dialogs;
    PollState m_memory;
    QPointer<frmCenter> m_window;
};

} // namespace joystick

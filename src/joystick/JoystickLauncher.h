#pragma once

#include "joystick/StickArithmetic.h"
#include "joystick/frmCenter.h"
#include "ui/SingleWindow.h"

#include <QObject>

class QAction;

namespace joystick {

// Opens the joystick window from the main window's "&JoyStick" menu item and
// keeps what the window must remember between openings for the whole run.
// A closed window is gone; the next opening builds and loads a new one.
class JoystickLauncher : public QObject {
    Q_OBJECT
public:
    JoystickLauncher(QAction &JoyStick, frmCenter::Panel panel, ui::Joystick &joystick,
                     ui::Dialogs &dialogs, QWidget &owner);
    ~JoystickLauncher() override;

    // Shows the window, loading it first, or brings it forward when it is open.
    void JoyStick_Click();
    // The program has ended: the window goes without its unload, which would
    // start the status request again, and no new one opens.
    void programEnded();
    // The program is ending: a camera the stick drives stops first.
    void stopMovement();

    // The open window, or null.
    frmCenter *window() const { return m_window.get(); }

private:
    PollState m_memory;
    ui::SingleWindow<frmCenter> m_window;
    bool m_ended = false;
};

} // namespace joystick

#include "joystick/JoystickLauncher.h"

#include <QAction>

namespace joystick {

JoystickLauncher::JoystickLauncher(QAction &JoyStick, frmCenter::Panel panel,
                                   ui::Joystick &joystick, ui::Dialogs &dialogs, QWidget &owner)
    : QObject(&owner)
    , m_window([this, panel, &joystick, &dialogs] {
        return new frmCenter(panel, joystick, dialogs, m_memory);
    }) {
    connect(&JoyStick, &QAction::triggered, this, &JoystickLauncher::JoyStick_Click);
}

JoystickLauncher::~JoystickLauncher() {
    delete m_window.get();
}

void JoystickLauncher::JoyStick_Click() {
    if (!m_ended)
        m_window.open();
}

void JoystickLauncher::stopMovement() {
    if (frmCenter *window = m_window.get())
        window->stopMovement();
}

void JoystickLauncher::programEnded() {
    m_ended = true;
    // The main window has already stopped its timers.
    frmCenter *window = m_window.get();
    if (!window)
        return;
    window->halt();
    window->hide();
    window->deleteLater();
}

} // namespace joystick

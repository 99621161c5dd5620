#include "joystick/JoystickLauncher.h"

#include "app/frmTerminal.h"
#include "joystick/frmCenter.h"

#include <QAction>

namespace joystick {

JoystickLauncher::JoystickLauncher(frmTerminal &main, ui::Joystick &joystick, ui::Dialogs &dialogs,
                                   QObject *parent)
    : QObject(parent)
    , m_main(main)
    , m_joystick(joystick)
    , m_dialogs(dialogs) {
    if (auto *item = main.findChild<QAction *>(QStringLiteral("JoyStick")))
        connect(item, &QAction::triggered, this, &JoystickLauncher::JoyStick_Click);
    connect(&main, &frmTerminal::programEnded, this, &JoystickLauncher::programEnded);
}

JoystickLauncher::~JoystickLauncher() {
    delete m_window;
}

frmCenter *JoystickLauncher::window() const {
    return m_window;
}

void JoystickLauncher::JoyStick_Click() {
    if (m_main.ended())
        return;
    if (!m_window) {
        m_window = new frmCenter(m_main, m_joystick, m_dialogs, m_memory);
        m_window->setAttribute(Qt::WA_DeleteOnClose);
        m_window->Form_Load();
    }
    m_window->show();
    m_window->raise();
    m_window->activateWindow();
}

void JoystickLauncher::programEnded() {
    // The main window has already stopped its timers; the joystick window
    // goes without its unload, which would start the status request again.
    if (!m_window)
        return;
    m_window->halt();
    m_window->hide();
    m_window->deleteLater();
}

} // namespace joystick

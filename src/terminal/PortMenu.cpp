#include "terminal/PortMenu.h"

#include "link/SerialChannel.h"
#include "ui/Dialogs.h"

namespace terminal {

PortMenu::PortMenu(devicelink::SerialChannel &serial, ui::Dialogs &dialogs, QObject *parent)
    : QObject(parent)
    , m_serial(serial)
    , m_dialogs(dialogs) {}

void PortMenu::mnuOpen_Click() {
    const QString error = m_serial.toggle();
    if (!error.isEmpty())
        m_dialogs.warning(error);
}

} // namespace terminal

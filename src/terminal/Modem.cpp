#include "terminal/Modem.h"

#include "link/Session.h"
#include "terminal/PortMenu.h"
#include "ui/Dialogs.h"
#include "ui/SerialPort.h"

#include <QAction>

namespace terminal {

namespace {
const devicelink::Origin modem{devicelink::Origin::Kind::Modem};
}

Modem::Modem(devicelink::Session &session, PortMenu &portMenu, ui::Dialogs &dialogs,
             QAction &mnuHangUp, QObject *parent)
    : QObject(parent)
    , m_session(session)
    , m_portMenu(portMenu)
    , m_dialogs(dialogs)
    , m_mnuHangUp(mnuHangUp) {}

void Modem::mnuDial_Click() {
    PhoneNumber = QStringLiteral("1");
    const std::optional<QString> answer = m_dialogs.inputBox(
        QStringLiteral("Enter Phone Number:"), QStringLiteral("Dial Number"), PhoneNumber);
    if (!answer || answer->isEmpty())
        return;
    PhoneNumber = *answer;
    devicelink::SerialChannel &serial = m_session.serial();
    if (!serial.isOpen()) {
        // The port's own open reports why it could not open; the dial then
        // ends without a second message.
        m_portMenu.mnuOpen_Click();
        if (!serial.isOpen())
            return;
    }
    m_mnuHangUp.setEnabled(true);
    m_session.writeSerial(QStringLiteral("ATDT%1\r\n").arg(PhoneNumber).toLatin1(), modem);
}

void Modem::mnuHangUp_Click() {
    ui::SerialPort &port = m_session.serial().port();
    m_session.writeSerial(QByteArrayLiteral("ATH"), modem);
    // Drop the data-terminal-ready line once, then leave it as it was.
    const bool saved = port.DTREnable();
    port.setDTREnable(true);
    port.setDTREnable(false);
    port.setDTREnable(saved);
    m_mnuHangUp.setEnabled(false);
    // The channel's close clears "Port &Open" and the entries that follow it.
    const QString error = m_session.serial().closePort();
    if (!error.isEmpty())
        m_dialogs.warning(error);
}

} // namespace terminal

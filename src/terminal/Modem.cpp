#include "terminal/Modem.h"

#include "link/SerialChannel.h"
#include "ui/Dialogs.h"
#include "ui/SerialPort.h"

#include <QAction>

namespace terminal {

Modem::Modem(ui::SerialPort &port, devicelink::SerialChannel &serial, ui::Dialogs &dialogs,
             QAction &mnuHangUp, QObject *parent)
    : QObject(parent)
    , m_port(port)
    , m_serial(serial)
    , m_dialogs(dialogs)
    , m_mnuHangUp(mnuHangUp) {}

void Modem::mnuDial_Click() {
    PhoneNumber = QStringLiteral("1");
    const std::optional<QString> answer = m_dialogs.inputBox(
        QStringLiteral("Enter Phone Number:"), QStringLiteral("Dial Number"), PhoneNumber);
    if (!answer || answer->isEmpty())
        return;
    PhoneNumber = *answer;
    if (!m_port.PortOpen()) {
        // The port's own open reports why it could not open; the dial then
        // ends without a second message.
        m_serial.mnuOpen_Click();
        if (!m_port.PortOpen())
            return;
    }
    m_mnuHangUp.setEnabled(true);
    m_port.Output(QStringLiteral("ATDT%1\r\n").arg(PhoneNumber).toLatin1());
}

void Modem::mnuHangUp_Click() {
    m_port.Output(QByteArrayLiteral("ATH"));
    // Drop the data-terminal-ready line once, then leave it as it was.
    const bool saved = m_port.DTREnable();
    m_port.setDTREnable(true);
    m_port.setDTREnable(false);
    m_port.setDTREnable(saved);
    m_mnuHangUp.setEnabled(false);
    // The channel's close clears "Port &Open" and the entries that follow it.
    const QString error = m_serial.closePort();
    if (!error.isEmpty())
        m_dialogs.warning(error);
}

} // namespace terminal

#include "link/SerialChannel.h"

#include "link/LogFile.h"
#include "link/TerminalBox.h"
#include "link/Traffic.h"
#include "ui/Dialogs.h"
#include "ui/SerialPort.h"

namespace devicelink {

SerialChannel::SerialChannel(ui::SerialPort &port, ui::Dialogs &dialogs, TerminalBox &txtTerm,
                             LogFile &log, Decoder decode, std::function<void()> closeLog,
                             QObject *parent)
    : QObject(parent)
    , m_port(port)
    , m_dialogs(dialogs)
    , m_txtTerm(txtTerm)
    , m_log(log)
    , m_decode(std::move(decode))
    , m_closeLog(std::move(closeLog)) {
    connect(&m_port, &ui::SerialPort::OnComm, this, &SerialChannel::MSComm1_OnComm);
    connect(&m_port, &ui::SerialPort::LinkLost, this, &SerialChannel::onLinkLost);
    m_txtTerm.setKeyHandler([this](int &code) { txtTerm_KeyPress(code); });
    m_state = m_port.PortOpen() ? PortState::Open : PortState::Closed;
}

void SerialChannel::mnuOpen_Click() {
    const bool opening = !m_port.PortOpen();
    const QString error = m_port.setPortOpen(opening);
    if (opening)
        m_openError = error;
    if (!error.isEmpty())
        m_dialogs.warning(error);
    updateState();
}

QString SerialChannel::openPort() {
    const QString error = m_port.setPortOpen(true);
    m_openError = error;
    updateState();
    return error;
}

QString SerialChannel::closePort() {
    if (!m_port.PortOpen()) {
        // Closed on purpose: a port that was lost is no longer waited for.
        setState(PortState::Closed);
        return {};
    }
    const QString error = m_port.setPortOpen(false);
    updateState();
    return error;
}

void SerialChannel::updateState() {
    if (m_port.PortOpen())
        setState(PortState::Open);
    else if (m_state == PortState::Open)
        setState(PortState::Closed);
    else
        // A port that stays closed (a failed open) still shows as closed on
        // the menu, also after it was lost.
        emit stateChanged(m_state);
}

void SerialChannel::setState(PortState state) {
    m_state = state;
    emit stateChanged(state);
}

void SerialChannel::txtTerm_KeyPress(int &keyCode) {
    if (!m_port.PortOpen())
        return;
    if (keyCode >= 0 && keyCode <= 255)
        m_port.Output(QByteArray(1, static_cast<char>(keyCode)));
    if (!m_echoEnabled) {
        m_txtTerm.moveCaretToEnd();
        keyCode = 0;
    }
}

void SerialChannel::MSComm1_OnComm() {
    if (m_port.CommEvent() != ui::SerialPort::comEvReceive)
        return;
    const QByteArray bytes = m_port.Input();
    if (m_traffic)
        m_traffic->serialReceived(bytes);
    const QString text = QString::fromLatin1(bytes);
    QString shown = text;
    AppendToTerminal(m_txtTerm, shown);
    if (m_decode)
        m_decode(text);
}

void SerialChannel::AppendToTerminal(TerminalBox &box, QString &text) {
    text = box.appendReceived(text);
    while (m_log.isOpen()) {
        const QString error = m_log.write(text);
        if (error.isEmpty())
            break;
        const ui::Dialogs::Answer answer = m_dialogs.message(
            error, ui::Dialogs::Buttons::RetryCancel, ui::Dialogs::Icon::Critical);
        if (answer != ui::Dialogs::Answer::Retry) {
            m_closeLog();
            break;
        }
    }
    box.moveCaretToEnd();
}

void SerialChannel::onLinkLost(const QString &description) {
    // The device went away (an adapter unplugged, the far end gone): the port
    // is closed already; say so once and show it on the menu.
    setState(PortState::Lost);
    m_dialogs.warning(description);
}

} // namespace devicelink

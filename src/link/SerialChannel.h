#pragma once

#include <QObject>
#include <QString>
#include <functional>

class QAction;

namespace ui {
class Dialogs;
class SerialPort;
} // namespace ui

namespace devicelink {

class LogFile;
class TerminalBox;

// The menu entries whose state follows the port.
struct PortMenus {
    QAction *mnuOpen = nullptr;
    QAction *mnuSendText = nullptr;
    QAction *mnuHangUp = nullptr;
    QAction *mnuDial = nullptr;
};

// The serial channel: opening and closing the port, writing typed keys and
// command bytes, and handing received bytes to the terminal box and to the
// status decoder, one text per receive event.
class SerialChannel : public QObject {
    Q_OBJECT
public:
    using Decoder = std::function<void(const QString &)>;

    SerialChannel(ui::SerialPort &port, ui::Dialogs &dialogs, TerminalBox &txtTerm, PortMenus menus,
                  const bool &echoEnabled, LogFile &log, Decoder decode,
                  std::function<void()> closeLog, QObject *parent = nullptr);

    void mnuOpen_Click();
    void txtTerm_KeyPress(int &keyCode);
    void MSComm1_OnComm();
    void AppendToTerminal(TerminalBox &box, QString &text);
    // Sets the check mark and the port-dependent entries from PortOpen.
    void showPortState();

private:
    void onLinkLost(const QString &description);

    ui::SerialPort &m_port;
    ui::Dialogs &m_dialogs;
    TerminalBox &m_txtTerm;
    PortMenus m_menus;
    const bool &m_echoEnabled;
    LogFile &m_log;
    Decoder m_decode;
    std::function<void()> m_closeLog;
};

} // namespace devicelink

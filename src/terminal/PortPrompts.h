#pragma once

#include <QObject>

class QAction;

namespace ui {
class Dialogs;
class SerialPort;
} // namespace ui

namespace terminal {

// The "&MSComm" menu's commands: prompts for the port's input length,
// thresholds and parity replacement character, the data-terminal-ready
// switch, and the displays of the three modem input lines.
class PortPrompts : public QObject {
    Q_OBJECT
public:
    PortPrompts(ui::SerialPort &port, ui::Dialogs &dialogs, QAction &mnuDTREnable,
                QObject *parent = nullptr);

    void mnuInputLen_Click();
    void mnuRThreshold_Click();
    void mnuSThreshold_Click();
    void mnuParRep_Click();
    void mnuDTREnable_Click();
    void mnuHCD_Click();
    void mnuHCTS_Click();
    void mnuHDSR_Click();

private:
    // The three numeric prompts; the setter returns the error text.
    template <typename Getter, typename Setter>
    void promptNumber(const QString &prompt, const QString &title, Getter get, Setter set);
    void showLine(const QString &name, bool state);

    ui::SerialPort &m_port;
    ui::Dialogs &m_dialogs;
    QAction &m_mnuDTREnable;
};

} // namespace terminal

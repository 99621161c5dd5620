#pragma once

#include <QObject>
#include <QPointer>
#include <QString>
#include <memory>

class QAction;
class QWidget;
class frmTerminal;

namespace ui {
class Dialogs;
class SerialPort;
class SettingsStore;
} // namespace ui

namespace terminal {

class frmAbout;
class frmCancelSend;
class frmProperties;
class SystemInfoHost;

// The serial terminal's commands around the operator panel (log file, text
// file transmission, modem dial and hang-up, port property prompts, the DTR
// switch and the line displays) together with the port properties dialog and
// the about box. It attaches to a built main window: it finds the window's
// menu entries by name and connects them itself.
class TerminalCommands : public QObject {
    Q_OBJECT
public:
    TerminalCommands(frmTerminal &window, ui::SerialPort &port, ui::Dialogs &dialogs,
                     ui::SettingsStore &settings, std::shared_ptr<SystemInfoHost> host = {});
    ~TerminalCommands() override;

    void mnuOpenLog_Click();
    void mnuSendText_Click();
    void mnuDial_Click();
    void mnuHangUp_Click();
    void mnuInputLen_Click();
    void mnuRThreshold_Click();
    void mnuSThreshold_Click();
    void mnuParRep_Click();
    void mnuDTREnable_Click();
    void mnuHCD_Click();
    void mnuHCTS_Click();
    void mnuHDSR_Click();
    void mnuProperties_Click();
    void About_Click();

    // The properties dialog, created and loaded hidden when it is not loaded
    // yet (applying a language file does this); showing it later does not
    // load it again.
    frmProperties *loadProperties();
    // The open dialogs, or null.
    frmProperties *properties() const;
    frmAbout *about() const;
    frmCancelSend *cancelWindow() const { return m_cancelWindow; }

    // Stop flag of the text-file transmission: false while one runs.
    bool CancelSend = true;
    // The number the last dial command used.
    QString PhoneNumber;

private:
    QAction *action(const char *name) const;
    void connectAction(const char *name, void (TerminalCommands::*handler)());
    void setEnabled(const char *name, bool enabled);
    bool transmit(const QString &fileName);
    void waitForOutput();
    // The three numeric property prompts; setter returns the error text.
    template <typename Getter, typename Setter>
    void promptNumber(const QString &prompt, const QString &title, Getter get, Setter set);
    void showWindow(QWidget *window);
    void showLine(const QString &name, bool state);

    frmTerminal &m_window;
    ui::SerialPort &m_port;
    ui::Dialogs &m_dialogs;
    ui::SettingsStore &m_settings;
    std::shared_ptr<SystemInfoHost> m_host;
    frmCancelSend *m_cancelWindow;
    QPointer<frmProperties> m_properties;
    QPointer<frmAbout> m_about;
};

} // namespace terminal

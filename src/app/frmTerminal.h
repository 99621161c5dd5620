#pragma once

#include "config/LanguageHost.h"
#include "link/LogFile.h"
#include "ui/StorageFolder.h"

#include <QList>
#include <QMainWindow>
#include <memory>

class QLineEdit;
class QPushButton;

namespace ui {
class DatagramSocket;
class Dialogs;
class Joystick;
class SerialPort;
class SettingsStore;
class Timer;
} // namespace ui

namespace devicelink {
class CommandSink;
class LinkMonitor;
class PortReopener;
class NetworkChannel;
class RemoteAddress;
class SendPath;
class SerialChannel;
class StatusDisplay;
class StatusPolls;
class TerminalBox;
class Traffic;
} // namespace devicelink

namespace config {
class CameraModel;
class UnreadableFiles;
} // namespace config

namespace joystick {
class JoystickLauncher;
}

namespace panel {
class AuxPad;
class PresetPad;
class PtzPad;
class SelectionPad;
} // namespace panel

namespace terminal {
class LogCommands;
class Modem;
class PortPrompts;
class Transmission;
} // namespace terminal

namespace app {
class LinkStatusBar;
struct MainMenu;
class Windows;
} // namespace app

// The main window: the operator panel, the terminal box, the remote address
// box and the menus. It composes the panel parts, the link, the terminal
// commands and its dialogs; its own work is start-up, shutdown, the
// periodic rewrite of the configuration file, applying language files and
// the hand-typed code box.
class frmTerminal : public QMainWindow, public config::LanguageHost {
    Q_OBJECT
public:
    frmTerminal(ui::SerialPort &port, ui::DatagramSocket &socket, ui::Dialogs &dialogs,
                ui::SettingsStore &settings, QWidget *parent = nullptr);
    ~frmTerminal() override;

    void Form_Load();
    void Form_Unload(bool &Cancel);
    void mnuFileExit_Click();
    void Command1_Click();
    void TimerMove_Timer();
    // Applies a language file to the main window and to the dialogs it
    // relabels, bringing those into being (hidden, loaded) when they do not exist.
    void CaricaLingua(const QString &lingua);
    // CaricaLingua with the language file in use.
    void applyLanguage() override;
    // At a fresh start the main window waits, hidden, for a language choice.
    bool waitingForLanguage() const { return m_waitingForLanguage; }

    // The folder of velmarcontroller.ini and RemoteIPVelmar.ini.
    ui::StoragePaths &storage() { return m_paths; }
    void setStorageFolder(const QString &folder) { m_paths.setFolder(folder); }
    // The window's position (its frame's top-left) in twips.
    QPoint positionInTwips() const;

    // How long the shutdown waits for the serial output to drain before asking.
    void setDrainTimeout(int ms) { m_drainTimeoutMs = ms; }
    // True once the program has ended (the window closed for good).
    bool ended() const { return m_ended; }
    // True when start-up stopped at a stored port setting the port refused.
    bool startupEndedEarly() const { return m_startupEndedEarly; }

    // The joystick window, driven by the given device, from "&JoyStick".
    joystick::JoystickLauncher &attachJoystick(ui::Joystick &joystick);

    // The parts, for the program's tools and tests.
    devicelink::CommandSink &sink();
    devicelink::SerialChannel &serialChannel() { return *m_serial; }
    devicelink::NetworkChannel &networkChannel() { return *m_network; }
    devicelink::StatusPolls &polls() { return *m_polls; }
    devicelink::RemoteAddress &remoteAddress() { return *m_IPAD; }
    devicelink::LogFile &logFile() { return m_log; }
    config::CameraModel &cameras() { return *m_cameras; }
    panel::SelectionPad &selection() { return *m_selection; }
    panel::PtzPad &ptz() { return *m_ptz; }
    panel::PresetPad &presets() { return *m_presets; }
    panel::AuxPad &aux() { return *m_aux; }
    terminal::LogCommands &logCommands() { return *m_logCommands; }
    terminal::Transmission &transmission() { return *m_transmission; }
    terminal::Modem &modem() { return *m_modem; }
    terminal::PortPrompts &prompts() { return *m_prompts; }
    app::Windows &windows() { return *m_windows; }
    devicelink::LinkMonitor &linkMonitor() { return *m_monitor; }
    devicelink::PortReopener &reopener() { return *m_reopener; }
    app::LinkStatusBar &linkStatusBar() { return *m_statusBar; }
    devicelink::Traffic &traffic() { return *m_traffic; }
    void DecodeStatusReply(const QString &text);

signals:
    // The program has ended: every window closes and no further events run.
    void programEnded();

protected:
    void closeEvent(QCloseEvent *event) override;

private:
    void buildControls(QWidget *central);
    void wireMenus();
    void fitMenuBar();
    void showPortState();
    bool applyStoredPortSettings();
    void readConfiguration();
    void placeAt(int leftTwips, int topTwips);
    QList<QObject *> captioned() const;
    bool drainSerialOutput(bool &Cancel);
    void end();

    ui::SerialPort &m_port;
    ui::DatagramSocket &m_socket;
    ui::Dialogs &m_dialogs;
    ui::SettingsStore &m_settings;
    ui::StoragePaths m_paths;

    std::unique_ptr<app::MainMenu> m_menu;
    devicelink::StatusPolls *m_polls;
    ui::Timer *m_TimerMove;
    ui::Timer *m_Timer4;
    ui::Timer *m_TimerPan;
    ui::Timer *m_TimerTilt;
    ui::Timer *m_TimerSet;
    ui::Timer *m_TimerStore;

    devicelink::TerminalBox *m_txtTerm;
    devicelink::RemoteAddress *m_IPAD;
    QLineEdit *m_Text1;
    QPushButton *m_Command1;

    config::CameraModel *m_cameras;
    devicelink::LogFile m_log;
    std::unique_ptr<devicelink::StatusDisplay> m_status;
    std::unique_ptr<devicelink::SerialChannel> m_serial;
    std::unique_ptr<devicelink::NetworkChannel> m_network;
    std::unique_ptr<devicelink::SendPath> m_sendPath;
    panel::SelectionPad *m_selection;
    panel::PtzPad *m_ptz;
    panel::PresetPad *m_presets;
    panel::AuxPad *m_aux;
    terminal::LogCommands *m_logCommands;
    terminal::Transmission *m_transmission;
    terminal::Modem *m_modem;
    terminal::PortPrompts *m_prompts;
    app::Windows *m_windows;
    devicelink::LinkMonitor *m_monitor;
    devicelink::Traffic *m_traffic;
    devicelink::PortReopener *m_reopener;
    app::LinkStatusBar *m_statusBar;
    config::UnreadableFiles *m_unreadable;

    bool m_waitingForLanguage = false;
    int m_drainTimeoutMs = 10000;
    bool m_exitCancel = false;
    bool m_startupEndedEarly = false;
    bool m_ended = false;
};

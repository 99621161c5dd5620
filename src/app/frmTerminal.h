#pragma once

#include "config/LanguageHost.h"
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
class Session;
class SessionSink;
class Traffic;
} // namespace devicelink

namespace config {
class CameraModel;
class Translations;
class UnreadableFiles;
} // namespace config

namespace joystick {
class JoystickLauncher;
}

namespace panel {
class AuxPad;
class KeyboardRouting;
class PresetPad;
class PtzPad;
class SelectionPad;
class StatusDisplay;
} // namespace panel

namespace terminal {
class LogCommands;
class Modem;
class PortMenu;
class PortPrompts;
class Transmission;
} // namespace terminal

namespace remote {
class VideohubServer;
}
namespace events {
class EventStore;
class SessionLog;
} // namespace events

namespace app {
class AddressBox;
class Controller;
class SessionRouter;
class LinkStatusBar;
struct MainMenu;
class Terminal;
class TerminalBox;
class Windows;
} // namespace app

// The main window: the operator panel, the terminal box, the remote address
// box and the menus. It receives the program's controller (the switcher
// session and its clients) and builds the views of it (the panel, the
// terminal, the status bar, the traffic window); its own work is start-up,
// shutdown, the periodic rewrite of the configuration file, applying
// language files and the hand-typed code box.
class frmTerminal : public QMainWindow, public config::LanguageHost {
    Q_OBJECT
public:
    frmTerminal(app::Controller &controller, ui::Dialogs &dialogs, QWidget *parent = nullptr);
    ~frmTerminal() override;

    void Form_Load();
    void Form_Unload(bool &Cancel);
    void mnuFileExit_Click();
    // The end asked for from outside (SIGTERM, SIGINT, SIGHUP): the shutdown
    // runs without any box, its drain bounded to signalDrainMs in all.
    void endOnSignal();
    static constexpr int signalDrainMs = 5000;
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
    ui::StoragePaths &storage();
    void setStorageFolder(const QString &folder);
    // The window's position (its frame's top-left) in twips.
    QPoint positionInTwips() const;

    // How long the shutdown waits for the serial output to drain before asking.
    void setDrainTimeout(int ms) { m_drainTimeoutMs = ms; }
    // True once the program has ended (the window closed for good).
    bool ended() const { return m_ended; }
    // True when start-up stopped at a stored port setting the port refused.
    bool startupEndedEarly() const { return m_startupEndedEarly; }

    // Records the session in the event log, shows its state on the status
    // bar and its history in the traffic window.
    void attachEventLog(events::EventStore &store);

    // The joystick window, driven by the given device, from "&JoyStick".
    joystick::JoystickLauncher &attachJoystick(ui::Joystick &joystick);

    // "Port &Open": opens or closes the serial port, with a warning when it refuses.
    void mnuOpen_Click();
    // Decodes a reply as if it came on the channel in use.
    void DecodeStatusReply(const QString &text);

    // The link, and the parts of the window, for the program's tools and tests.
    app::Controller &controller() { return m_controller; }
    devicelink::Session &session() { return *m_session; }
    config::CameraModel &cameras() { return *m_cameras; }
    panel::SelectionPad &selection() { return *m_selection; }
    panel::PtzPad &ptz() { return *m_ptz; }
    panel::PresetPad &presets() { return *m_presets; }
    panel::KeyboardRouting &keyboard() { return *m_keyboard; }
    terminal::LogCommands &logCommands() { return *m_logCommands; }
    terminal::Transmission &transmission() { return *m_transmission; }
    terminal::Modem &modem() { return *m_modem; }
    app::Windows &windows() { return *m_windows; }
    devicelink::LinkMonitor &linkMonitor() { return *m_monitor; }
    app::LinkStatusBar &linkStatusBar() { return *m_statusBar; }
    devicelink::Traffic &traffic() { return *m_traffic; }
    remote::VideohubServer &videohub();

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

    app::Controller &m_controller;
    ui::SerialPort &m_port;
    ui::Dialogs &m_dialogs;
    ui::SettingsStore &m_settings;

    devicelink::Session *m_session;
    std::unique_ptr<devicelink::SessionSink> m_codeBoxSink;
    std::unique_ptr<app::MainMenu> m_menu;
    ui::Timer *m_TimerMove;

    app::TerminalBox *m_txtTerm;
    app::Terminal *m_terminal;
    app::AddressBox *m_IPAD;
    QLineEdit *m_Text1;
    QPushButton *m_Command1;

    config::CameraModel *m_cameras;
    std::unique_ptr<panel::StatusDisplay> m_status;
    terminal::PortMenu *m_portMenu;
    panel::SelectionPad *m_selection;
    panel::PtzPad *m_ptz;
    panel::PresetPad *m_presets;
    panel::AuxPad *m_aux;
    panel::KeyboardRouting *m_keyboard;
    terminal::LogCommands *m_logCommands;
    terminal::Transmission *m_transmission;
    terminal::Modem *m_modem;
    terminal::PortPrompts *m_prompts;
    app::Windows *m_windows;
    devicelink::LinkMonitor *m_monitor;
    devicelink::Traffic *m_traffic;
    app::LinkStatusBar *m_statusBar;
    config::UnreadableFiles *m_unreadable;
    config::Translations *m_translations;

    bool m_waitingForLanguage = false;
    bool m_unloading = false;
    bool m_loading = false;
    bool m_signalled = false;
    int m_drainTimeoutMs = 10000;
    bool m_exitCancel = false;
    bool m_startupEndedEarly = false;
    bool m_ended = false;
};

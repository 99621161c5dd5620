#pragma once

#include "link/LogFile.h"

#include <QMainWindow>
#include <QPointer>
#include <QStringList>
#include <memory>

class QAction;
class frmSceltaLingua;
class QLineEdit;
class QMenu;
class QPushButton;

namespace ui {
class DatagramSocket;
class Dialogs;
class SerialPort;
class SettingsStore;
class Timer;
} // namespace ui

namespace devicelink {
class CommandSink;
class NetworkChannel;
class SendPath;
class SerialChannel;
class StatusDisplay;
class TerminalBox;
} // namespace devicelink

namespace config {
class Localiser;
}

namespace panel {
class AuxPad;
class PresetPad;
class PtzPad;
class SelectionPad;
} // namespace panel

// The main window: the operator panel, the terminal box, the remote address
// box and the menus. It owns the timers and composes the panel parts and the
// link; its own work is start-up, shutdown and the hand-typed code box.
class frmTerminal : public QMainWindow {
    Q_OBJECT
public:
    frmTerminal(ui::SerialPort &port, ui::DatagramSocket &socket, ui::Dialogs &dialogs,
                ui::SettingsStore &settings, QWidget *parent = nullptr);
    ~frmTerminal() override;

    void Form_Load();
    void Form_Unload(bool &Cancel);
    void mnuFileExit_Click();
    void Command1_Click();
    void mnuCloseLog_Click();

    // The send path every command takes.
    devicelink::CommandSink &sink();
    void Invio();
    void DecodeStatusReply(const QString &text);
    // Gives one of the dialogs that language files relabel (frmProperties,
    // frmControllerProgram, frmChange) the current language's captions;
    // each calls it from its own load.
    void applyLanguage(QWidget *dialog);
    // Applies a language file to the main window and to the dialogs it
    // relabels.
    void CaricaLingua(const QString &lingua);
    void TimerMove_Timer();
    void Language_Click();
    // At a fresh start the main window waits, hidden, for a language choice.
    bool waitingForLanguage() const { return m_waitingForLanguage; }

    // The folder of velmarcontroller.ini and RemoteIPVelmar.ini.
    QString storageFolder() const { return m_storageFolder; }
    void setStorageFolder(const QString &folder) { m_storageFolder = folder; }
    // The window's position (its frame's top-left) in twips.
    QPoint positionInTwips() const;

    // How long the shutdown waits for the serial output to drain before asking.
    void setDrainTimeout(int ms) { m_drainTimeoutMs = ms; }
    // True once the program has ended (the window closed for good).
    bool ended() const { return m_ended; }
    // True when start-up stopped at a stored port setting the port refused.
    bool startupEndedEarly() const { return m_startupEndedEarly; }

    devicelink::SerialChannel &serialChannel() { return *m_serial; }
    devicelink::NetworkChannel &networkChannel() { return *m_network; }
    panel::SelectionPad &selection() { return *m_selection; }
    panel::PtzPad &ptz() { return *m_ptz; }
    panel::PresetPad &presets() { return *m_presets; }
    panel::AuxPad &aux() { return *m_aux; }
    devicelink::LogFile &logFile() { return m_log; }

    // Shared state of the program's windows.
    bool EchoEnabled = false;
    QStringList CameraType = QStringList(17, QString());
    QString LanguageFile;
    QString SavedLeft;
    QString SavedTop;

signals:
    // The program has ended: every window closes and no further events run.
    void programEnded();

protected:
    void closeEvent(QCloseEvent *event) override;

private:
    void buildMenus();
    void buildControls(QWidget *central);
    bool applyStoredPortSettings();
    void readConfiguration();
    QString configurationPath() const;
    void placeAt(int leftTwips, int topTwips);
    void showChooser();
    void CaricaLingua(const QString &lingua, QWidget *loading);
    bool drainSerialOutput(bool &Cancel);
    void end();

    ui::SerialPort &m_port;
    ui::DatagramSocket &m_socket;
    ui::Dialogs &m_dialogs;
    ui::SettingsStore &m_settings;

    ui::Timer *m_Timer3;
    ui::Timer *m_Timer5;
    ui::Timer *m_TimerMove;
    ui::Timer *m_Timer4;
    ui::Timer *m_TimerPan;
    ui::Timer *m_TimerTilt;
    ui::Timer *m_TimerSet;
    ui::Timer *m_TimerStore;

    QAction *m_mnuOpenLog = nullptr;
    QAction *m_mnuCloseLog = nullptr;
    QAction *m_mnuSendText = nullptr;
    QAction *m_mnuFileExit = nullptr;
    QAction *m_mnuOpen = nullptr;
    QAction *m_mnuDial = nullptr;
    QAction *m_mnuHangUp = nullptr;
    QMenu *m_Mon = nullptr;

    devicelink::TerminalBox *m_txtTerm;
    QLineEdit *m_IPAD;
    QLineEdit *m_Text1;
    QPushButton *m_Command1;

    devicelink::LogFile m_log;
    std::unique_ptr<devicelink::StatusDisplay> m_status;
    std::unique_ptr<devicelink::SerialChannel> m_serial;
    std::unique_ptr<devicelink::NetworkChannel> m_network;
    std::unique_ptr<devicelink::SendPath> m_sendPath;
    panel::SelectionPad *m_selection;
    panel::PtzPad *m_ptz;
    panel::PresetPad *m_presets;
    panel::AuxPad *m_aux;

    QString m_storageFolder;
    std::unique_ptr<config::Localiser> m_localiser;
    QPointer<frmSceltaLingua> m_chooser;
    bool m_configurationRead = false;
    bool m_waitingForLanguage = false;
    int m_drainTimeoutMs = 10000;
    bool m_exitCancel = false;
    bool m_startupEndedEarly = false;
    bool m_ended = false;
};

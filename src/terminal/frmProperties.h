#pragma once

#include <QDialog>
#include <QMap>

class QButtonGroup;
class QComboBox;
class QGroupBox;
class QLabel;
class QPushButton;
class QRadioButton;
class QTabWidget;
class QToolButton;

namespace config {
class LanguageHost;
}
namespace devicelink {
class SerialChannel;
}
namespace ui {
class Dialogs;
class SerialPort;
class SettingsStore;
} // namespace ui

namespace terminal {

// The port properties dialog: port number, speed, data bits, parity, stop
// bits, flow control and local echo. OK applies the choice to the main
// window's port and stores it in the settings store's [Properties] section,
// from which the main window restores it at the next start.
class frmProperties : public QDialog {
    Q_OBJECT
public:
    frmProperties(config::LanguageHost &language, ui::SerialPort &port,
                  devicelink::SerialChannel &serial, ui::Dialogs &dialogs,
                  ui::SettingsStore &settings, QWidget *parent = nullptr);

    void Form_Load();
    // Fills the lists and shows the port's current settings.
    void LoadPropertySettings();
    void optFlow_Click(int index);
    void optEcho_Click(int index);
    void cmdOK_Click();
    void cmdCancel_Click();

    // The flow-control choice as the port's handshaking code (0 none,
    // 1 Xon/Xoff, 2 RTS/CTS, 3 both) and the echo choice, applied by OK.
    short PendingHandshaking = 0;
    bool PendingEcho = false;

    // The controls a language file relabels.
    QList<QObject *> captioned() const { return m_captioned; }

private:
    void buildControls();
    // The device the chosen port leads to, with a choice not yet applied.
    QString deviceOf(int port) const;
    void showDevice();
    void offerDevices();

    config::LanguageHost &m_language;
    ui::SerialPort &m_port;
    devicelink::SerialChannel &m_serial;
    ui::Dialogs &m_dialogs;
    ui::SettingsStore &m_settings;

    QTabWidget *m_tabSettings;
    QWidget *m_fraSettings;
    QComboBox *m_cboPort;
    QComboBox *m_cboSpeed;
    QComboBox *m_cboDataBits;
    QComboBox *m_cboParity;
    QComboBox *m_cboStopBits;
    QRadioButton *m_optFlow[4];
    QRadioButton *m_optEcho[2];
    QPushButton *m_cmdOK;
    QPushButton *m_cmdCancel;
    QList<QObject *> m_captioned;
    QLabel *m_lblDevice;
    QToolButton *m_cmdMap;
    QMap<int, QString> m_pendingMap; // port -> device chosen for it, applied by OK
};

} // namespace terminal

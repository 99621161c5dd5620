#pragma once

#include <QDialog>
#include <memory>

class QLabel;
class QPushButton;

namespace ui {
class Dialogs;
}

namespace terminal {

class SystemInfoHost;

// The about box: the program's title and version, a way to start the
// system's information tool, and the credits behind a hidden gesture.
class frmAbout : public QDialog {
    Q_OBJECT
public:
    // Without a host the running system is used.
    explicit frmAbout(ui::Dialogs &dialogs, QWidget *parent = nullptr,
                      std::shared_ptr<SystemInfoHost> host = {});
    ~frmAbout() override;

    static constexpr int major = 4;
    static constexpr int minor = 0;
    static constexpr int revision = 1;

    void Form_Load();
    void cmdOK_Click();
    void cmdSysInfo_Click();
    void StartSysInfo();
    // Reads a string value (or a 32-bit number as "&h" and hex digits) into
    // value; false, with value emptied, when it cannot be read.
    bool GetKeyValue(quint32 KeyRoot, const QString &KeyName, const QString &SubKeyRef,
                     QString &KeyVal);
    // Button and Shift as the panel's mouse events give them: button 1 left,
    // 2 right, 4 middle; Shift 1, Ctrl 2, Alt 4 (8 for any other key). The
    // position is in twips from the icon's top-left corner.
    void picIcon_MouseDown(int Button, int Shift, double X, double Y);

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    ui::Dialogs &m_dialogs;
    std::shared_ptr<SystemInfoHost> m_host;
    QLabel *m_picIcon;
    void showTitles();

    bool m_loaded = false;
    QLabel *m_lblTitle;
    QLabel *m_lblVersion;
    QLabel *m_lblDescription;
    QLabel *m_lblDisclaimer;
    QPushButton *m_cmdOK;
    QPushButton *m_cmdSysInfo;
};

} // namespace terminal

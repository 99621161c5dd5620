#pragma once

#include <QList>
#include <QMainWindow>

class QAction;
class QComboBox;
class QLineEdit;
class frmTerminal;

namespace config {

// The camera title dialog: the sixteen titles shown above the camera buttons
// and each camera's type. Save puts them on the panel and writes them with
// the window position and the language into velmarcontroller.ini; nothing
// goes to the switcher.
class frmControllerProgram : public QMainWindow {
    Q_OBJECT
public:
    explicit frmControllerProgram(frmTerminal &main);

    // The open dialog, or a new one (loaded, not shown yet). It is a child
    // window of the main window named "frmControllerProgram".
    static frmControllerProgram &ensure(frmTerminal &main);
    // Shows the dialog modeless, loading it first, or brings it forward.
    static frmControllerProgram &open(frmTerminal &main);

    void Form_Load();
    void Save_Click();
    void Annulla_Click();

    QLineEdit *text(int camera) const { return m_Text.value(camera - 1); }
    QComboBox *combo(int camera) const { return m_Combo.value(camera - 1); }

protected:
    void closeEvent(QCloseEvent *event) override;

private:
    QString filePath() const;

    frmTerminal &m_main;
    QString m_storedLanguage; // kept when the start-up never read the file
    QAction *m_Save;
    QAction *m_Annulla;
    QList<QLineEdit *> m_Text;
    QList<QComboBox *> m_Combo;
};

} // namespace config

#pragma once

#include <QList>
#include <QWidget>

class QLineEdit;
class QPushButton;
class frmTerminal;

namespace config {

// The address entry dialog: four fields of up to three characters joined by
// dots into one site list entry, taken as typed. Ok adds the entry to the
// chooser's list and to the end of the site list file; closing the window
// by its frame discards the input.
class frmNew : public QWidget {
    Q_OBJECT
public:
    explicit frmNew(frmTerminal &main);

    // Shows the dialog modeless, or brings it forward when it is open. It is
    // a child window of the main window named "frmNew".
    static frmNew &open(frmTerminal &main);

    void Command1_Click();

    QLineEdit *field(int n) const { return m_Text.value(n - 1); }

protected:
    void closeEvent(QCloseEvent *event) override;

private:
    frmTerminal &m_main;
    QList<QLineEdit *> m_Text;
    QPushButton *m_Command1;
};

} // namespace config

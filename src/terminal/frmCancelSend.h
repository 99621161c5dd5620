#pragma once

#include <QWidget>

class QLabel;
class QPushButton;

namespace terminal {

// The small window shown while a text file is transmitted. It stays above
// the other windows and comes back whenever it loses the focus while the
// transmission runs, so the operator can always reach its Cancel button.
class frmCancelSend : public QWidget {
    Q_OBJECT
public:
    // cancelSend is the transmission's stop flag: false while it runs.
    explicit frmCancelSend(bool &cancelSend, QWidget *parent = nullptr);

    QLabel *Label1() const { return m_Label1; }
    void Command1_Click();

signals:
    // The operator asked the transmission to stop.
    void cancelRequested();

protected:
    void changeEvent(QEvent *event) override;
    void closeEvent(QCloseEvent *event) override;

private:
    bool &m_cancelSend;
    QLabel *m_Label1;
    QPushButton *m_Command1;
};

} // namespace terminal

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
    explicit frmCancelSend(QWidget *parent = nullptr);

    QLabel *Label1() const { return m_Label1; }
    // A transmission of the file begins: the window shows it and stays up.
    void start(const QString &fileName);
    // The transmission has ended: the window goes.
    void finish();
    void Command1_Click();

signals:
    // The operator asked the transmission to stop.
    void cancelRequested();

protected:
    void changeEvent(QEvent *event) override;
    void closeEvent(QCloseEvent *event) override;

private:
    // A transmission runs and has not been asked to stop.
    bool m_running = false;
    QString m_fileName;
    QLabel *m_Label1;
    QPushButton *m_Command1;
};

} // namespace terminal

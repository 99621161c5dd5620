#pragma once

#include <QObject>

class QAction;
class QWidget;

namespace devicelink {
class Session;
}
namespace ui {
class Dialogs;
}

namespace terminal {

class frmCancelSend;

// "&Transmit Text File...": sends a text file through the serial port in
// blocks of the output buffer's size, waiting for each block to leave while
// the panel keeps working, with a small window whose Cancel stops it after
// the block in progress.
class Transmission : public QObject {
    Q_OBJECT
public:
    Transmission(devicelink::Session &session, ui::Dialogs &dialogs, QAction &mnuSendText,
                 QWidget &window);
    ~Transmission() override;

    void mnuSendText_Click();
    // The program is ending: a transmission still running stops at once.
    void stop();

    frmCancelSend *cancelWindow() const { return m_cancelWindow; }
    // The stop flag: false while a transmission runs.
    bool CancelSend = true;

private:
    bool transmit(const QString &fileName);
    void waitForOutput();

    devicelink::Session &m_session;
    ui::Dialogs &m_dialogs;
    QAction &m_mnuSendText;
    frmCancelSend *m_cancelWindow;
};

} // namespace terminal

#pragma once

#include <QObject>
#include <QString>

class QAction;

namespace devicelink {
class SerialChannel;
}
namespace ui {
class Dialogs;
class SerialPort;
} // namespace ui

namespace terminal {

// Modem dial and hang-up on the serial port: "ATDT" and the number, and
// "ATH" with the data-terminal-ready line dropped once and the port closed.
class Modem : public QObject {
    Q_OBJECT
public:
    Modem(ui::SerialPort &port, devicelink::SerialChannel &serial, ui::Dialogs &dialogs,
          QAction &mnuHangUp, QObject *parent = nullptr);

    void mnuDial_Click();
    void mnuHangUp_Click();

    // The number the last dial command used.
    QString PhoneNumber;

private:
    ui::SerialPort &m_port;
    devicelink::SerialChannel &m_serial;
    ui::Dialogs &m_dialogs;
    QAction &m_mnuHangUp;
};

} // namespace terminal

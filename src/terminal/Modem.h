#pragma once

#include <QObject>
#include <QString>

class QAction;

namespace devicelink {
class Session;
}
namespace ui {
class Dialogs;
}

namespace terminal {

class PortMenu;

// Modem dial and hang-up on the serial port: "ATDT" and the number, and
// "ATH" with the data-terminal-ready line dropped once and the port closed.
class Modem : public QObject {
    Q_OBJECT
public:
    Modem(devicelink::Session &session, PortMenu &portMenu, ui::Dialogs &dialogs,
          QAction &mnuHangUp, QObject *parent = nullptr);

    void mnuDial_Click();
    void mnuHangUp_Click();

    // The number the last dial command used.
    QString PhoneNumber;

private:
    devicelink::Session &m_session;
    PortMenu &m_portMenu;
    ui::Dialogs &m_dialogs;
    QAction &m_mnuHangUp;
};

} // namespace terminal

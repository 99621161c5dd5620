#pragma once

#include <QObject>

namespace devicelink {
class SerialChannel;
}
namespace ui {
class Dialogs;
}

namespace terminal {

// "Port &Open": opens a closed port and closes an open one; when the port
// refuses, the operator is told why in a warning.
class PortMenu : public QObject {
    Q_OBJECT
public:
    PortMenu(devicelink::SerialChannel &serial, ui::Dialogs &dialogs, QObject *parent = nullptr);

    void mnuOpen_Click();

private:
    devicelink::SerialChannel &m_serial;
    ui::Dialogs &m_dialogs;
};

} // namespace terminal

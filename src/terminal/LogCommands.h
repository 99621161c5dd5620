#pragma once

#include <QObject>

class QAction;
class QWidget;

namespace devicelink {
class LogFile;
}
namespace ui {
class Dialogs;
}

namespace terminal {

// The terminal's log file commands: "&Open Log File..." names a file to
// which everything the terminal box shows is appended, "&Close Log File"
// ends it and names the window "Serial Terminal".
class LogCommands : public QObject {
    Q_OBJECT
public:
    LogCommands(devicelink::LogFile &log, ui::Dialogs &dialogs, QAction &mnuCloseLog,
                QWidget &window);

    void mnuOpenLog_Click();
    void mnuCloseLog_Click();

private:
    devicelink::LogFile &m_log;
    ui::Dialogs &m_dialogs;
    QAction &m_mnuCloseLog;
    QWidget &m_window;
};

} // namespace terminal

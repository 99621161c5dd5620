#include "terminal/LogCommands.h"

#include "link/LogFile.h"
#include "ui/Dialogs.h"

#include <QAction>
#include <QFile>
#include <QFileInfo>
#include <QWidget>

namespace terminal {

LogCommands::LogCommands(devicelink::LogFile &log, ui::Dialogs &dialogs, QAction &mnuCloseLog,
                         QWidget &window)
    : QObject(&window)
    , m_log(log)
    , m_dialogs(dialogs)
    , m_mnuCloseLog(mnuCloseLog)
    , m_window(window) {}

void LogCommands::mnuOpenLog_Click() {
    for (;;) {
        const QString name =
            m_dialogs.saveFileName(tr("Open Log File"), tr("Log Files (*.log);;All Files (*)"));
        if (name.isEmpty())
            return;
        if (QFileInfo::exists(name)) {
            const ui::Dialogs::Answer answer = m_dialogs.message(
                QStringLiteral("Replace existing file - ") + name + QLatin1Char('?'),
                ui::Dialogs::Buttons::YesNoCancel, ui::Dialogs::Icon::Question);
            if (answer == ui::Dialogs::Answer::Cancel)
                continue;
            if (answer == ui::Dialogs::Answer::Yes) {
                QFile old(name);
                if (!old.remove()) {
                    m_dialogs.warning(old.errorString());
                    return;
                }
            }
        }
        const QString error = m_log.open(name, true);
        if (!error.isEmpty()) {
            m_dialogs.warning(error);
            m_log.close();
            m_mnuCloseLog.setEnabled(false);
            return;
        }
        m_mnuCloseLog.setEnabled(true);
        return;
    }
}

void LogCommands::mnuCloseLog_Click() {
    m_log.close();
    m_mnuCloseLog.setEnabled(false);
    m_window.setWindowTitle(QStringLiteral("Serial Terminal"));
}

} // namespace terminal

#pragma once

#include "automation/AutomationFile.h"

#include <QWidget>

class QLabel;
class QListWidget;
class QPushButton;
class QTabWidget;

namespace devicelink {
class Switcher;
}
namespace ui {
class Dialogs;
class SettingsStore;
} // namespace ui

namespace automation {

class AlarmPage;
class Engine;
class SalvoPage;
class SchedulePage;
class TourPage;

// The automation window: salvos, tours, alarm bindings and schedules built
// on four pages without editing automation.ini by hand. It edits a copy;
// Save writes the file and applies it at once, and nothing is lost without
// a question (leaving with changes, saving over lines that were left out).
class frmAutomation : public QWidget {
    Q_OBJECT
public:
    frmAutomation(Engine &engine, const devicelink::Switcher &switcher, ui::Dialogs &dialogs,
                  ui::SettingsStore &settings, QWidget *parent = nullptr);
    ~frmAutomation() override;

    const AutomationFile &work() const { return m_work; }
    bool isModified() const { return m_modified; }
    // Writes the copy; false (with the reason on the window) when it did not.
    bool save();
    // The file as it is now, after a question when there are changes.
    void reload();

protected:
    void changeEvent(QEvent *event) override;
    void closeEvent(QCloseEvent *event) override;

private:
    void retranslate();
    void showFileState();
    void edited();
    void say(const QString &text, bool fault = false);

    Engine &m_engine;
    ui::Dialogs &m_dialogs;
    ui::SettingsStore &m_settings;
    AutomationFile m_work;
    bool m_modified = false;
    bool m_saved = false; // saved from here, so the file has no lines left out
    QLabel *m_fileState;
    QListWidget *m_problems;
    QTabWidget *m_tabs;
    SalvoPage *m_salvos;
    TourPage *m_tours;
    AlarmPage *m_alarms;
    SchedulePage *m_schedules;
    QLabel *m_status;
    QPushButton *m_save;
    QPushButton *m_reload;
    QPushButton *m_close;
};

} // namespace automation

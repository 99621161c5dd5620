#pragma once

#include <QTimer>
#include <QWidget>

class QPushButton;
class QTableWidget;

namespace automation {
class Automation;
}
namespace config {
class CameraModel;
}
namespace devicelink {
class Operations;
}
namespace ui {
class SettingsStore;
}

namespace app {

// Who holds what in the control room, at a glance: for each monitor the
// camera the switcher reported (marked while not confirmed), who holds its
// lock, its tour and its alarm, and for each camera who drives it. The
// panel's operator locks and unlocks the monitor chosen in the list, works
// its tour and acknowledges its alarm from here. Its size and place are
// remembered; it sends nothing by itself.
class frmControlRoom : public QWidget {
    Q_OBJECT
public:
    // How often who drives a camera is looked at again: control ends by
    // itself once its idle time is over.
    static constexpr int refreshMs = 1000;

    frmControlRoom(devicelink::Operations &operations, automation::Automation *automation,
                   config::CameraModel &cameras, ui::SettingsStore &settings,
                   QWidget *parent = nullptr);

    QTableWidget *monitors() const { return m_monitors; }
    QTableWidget *cameras() const { return m_cameras; }
    // Lock or unlock the monitor chosen in the list, for the panel.
    void Lock_Click();
    void Unlock_Click();
    // The tour of the monitor chosen: started or resumed, held, a step on
    // or back, stopped; its alarm shown acknowledged.
    void Tour_Click(int action);
    void Acknowledge_Click();

signals:
    // The automation's editor, from its button.
    void editorWanted();

protected:
    void changeEvent(QEvent *event) override;
    void closeEvent(QCloseEvent *event) override;
    void showEvent(QShowEvent *event) override;
    void hideEvent(QHideEvent *event) override;

private:
    void retranslate();
    void showMonitor(int monitor);
    void showCamera(int camera);
    void showAll();
    int chosenMonitor() const;
    // The tour on the monitor chosen; 0: none.
    int chosenTour() const;

    devicelink::Operations &m_operations;
    automation::Automation *m_automation;
    config::CameraModel &m_titles;
    ui::SettingsStore &m_settings;
    QTableWidget *m_monitors;
    QTableWidget *m_cameras;
    QPushButton *m_lock;
    QPushButton *m_unlock;
    QPushButton *m_close;
    QList<QPushButton *> m_tourButtons;
    QPushButton *m_acknowledge;
    QPushButton *m_editor;
    QTimer m_refresh;
};

} // namespace app

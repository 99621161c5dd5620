#pragma once

#include <QTimer>
#include <QWidget>

class QPushButton;
class QTableWidget;

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
// camera the switcher reported (marked while not confirmed) and who holds
// its lock, and for each camera who drives it. The panel's operator locks
// and unlocks the monitor chosen in the list from here. Its size and place
// are remembered; it sends nothing by itself.
class frmControlRoom : public QWidget {
    Q_OBJECT
public:
    // How often who drives a camera is looked at again: control ends by
    // itself once its idle time is over.
    static constexpr int refreshMs = 1000;

    frmControlRoom(devicelink::Operations &operations, config::CameraModel &cameras,
                   ui::SettingsStore &settings, QWidget *parent = nullptr);

    QTableWidget *monitors() const { return m_monitors; }
    QTableWidget *cameras() const { return m_cameras; }
    // Lock or unlock the monitor chosen in the list, for the panel.
    void Lock_Click();
    void Unlock_Click();

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

    devicelink::Operations &m_operations;
    config::CameraModel &m_titles;
    ui::SettingsStore &m_settings;
    QTableWidget *m_monitors;
    QTableWidget *m_cameras;
    QPushButton *m_lock;
    QPushButton *m_unlock;
    QPushButton *m_close;
    QTimer m_refresh;
};

} // namespace app

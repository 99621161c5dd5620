#pragma once

#include <QPointer>
#include <QTimer>
#include <QWidget>

class QCheckBox;
class QComboBox;
class QPushButton;
class QTabWidget;
class QTableView;

namespace devicelink {
class Traffic;
}
namespace ui {
class Dialogs;
class SettingsStore;
} // namespace ui

namespace app {

class TrafficFilter;
class TrafficModel;

// The traffic window: every frame on both channels while it is open, with
// its time, direction, channel, bytes and meaning, and the link's changes of
// state. Pause holds the view (frames are still kept), Clear empties it, the
// filters pick a channel and a direction, Copy and Save take the rows shown.
// Its view follows the newest row at most ten times a second, unless the
// operator scrolled up. Its size, place, columns and filters are kept in the
// settings store.
class frmTraffic : public QWidget {
    Q_OBJECT
public:
    static constexpr int followMs = 100;

    frmTraffic(devicelink::Traffic &traffic, ui::Dialogs &dialogs, ui::SettingsStore &settings,
               QWidget *parent = nullptr);
    ~frmTraffic() override;

    // The rows shown, as text lines, in order.
    QStringList shownLines() const;
    // Writes the rows shown to a file: CSV for a name ending in .csv, else
    // one line a frame. False, after saying why, when it cannot be written.
    bool saveTo(const QString &fileName);
    // Asks for a file, and before replacing one, then saves.
    void copySelection();
    void Save_Click();
    // Takes in the frames recorded since (what the follow timer does).
    void follow();

    QTableView *view() const { return m_view; }
    // The event log's history as a second tab beside the live list.
    void addHistory(QWidget *history);

signals:
    // F5 here, as on the main window: the status request now.
    void statusAsked();
    // Ctrl+T here: back to the main window.
    void mainWanted();

protected:
    void closeEvent(QCloseEvent *event) override;
    void showEvent(QShowEvent *event) override;
    void changeEvent(QEvent *event) override;

private:
    void retranslate();
    void restoreLayout();
    void keepLayout();

    devicelink::Traffic &m_traffic;
    QPointer<devicelink::Traffic> m_recorder; // gone first when the main window goes
    ui::Dialogs &m_dialogs;
    ui::SettingsStore &m_settings;
    TrafficModel *m_model;
    TrafficFilter *m_filter;
    QTableView *m_view;
    QTabWidget *m_tabs;
    QCheckBox *m_pause;
    QPushButton *m_clear;
    QPushButton *m_copy;
    QPushButton *m_save;
    QComboBox *m_channels;
    QComboBox *m_directions;
    QTimer m_follow;
};

} // namespace app

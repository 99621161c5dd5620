#pragma once

#include "ui/SingleWindow.h"

#include <QObject>
#include <QPoint>
#include <QStringList>
#include <functional>
#include <memory>

class QAction;
class QScrollBar;
class frmSceltaLingua;

namespace automation {
class Engine;
class frmAutomation;
} // namespace automation
namespace config {
class CameraModel;
class LanguageHost;
class frmChange;
class frmControllerProgram;
class frmNew;
} // namespace config
namespace devicelink {
class CommandSink;
class Session;
class Traffic;
} // namespace devicelink
namespace joystick {
class JoystickLauncher;
}
namespace terminal {
class PortMenu;
class frmAbout;
class frmProperties;
} // namespace terminal
namespace ui {
class Dialogs;
class Joystick;
class SettingsStore;
class StoragePaths;
} // namespace ui

namespace app {

class frmControlRoom;
class frmKeys;
class frmTraffic;
struct MainMenu;

// The main window's dialogs and the menu entries that open them, wired in one
// place. Each dialog exists at most once, made and loaded on first use; the
// port properties dialog is modal, the others modeless. A language file
// relabels three of them, and applying one brings those three into being.
class Windows : public QObject {
    Q_OBJECT
public:
    // What the dialogs work with.
    struct Parts {
        QWidget &main;
        config::LanguageHost &language;
        config::CameraModel &cameras;
        const ui::StoragePaths &paths;
        std::function<QPoint()> position; // the main window's, in twips
        devicelink::Session &session;
        terminal::PortMenu &portMenu;
        QScrollBar &HScroll1; // the panel's speed bars, held off by the joystick
        QScrollBar &HScroll2;
        ui::Dialogs &dialogs;
        ui::SettingsStore &settings;
        devicelink::Traffic &traffic;
        automation::Engine *automation; // salvos, tours, alarms; null: none
    };

    Windows(const Parts &parts, const MainMenu &menu);
    ~Windows() override;

    ui::SingleWindow<terminal::frmProperties> properties;
    ui::SingleWindow<config::frmControllerProgram> titles;
    ui::SingleWindow<config::frmChange> sites;
    ui::SingleWindow<config::frmNew> siteEntry;
    ui::SingleWindow<terminal::frmAbout> about;
    ui::SingleWindow<frmSceltaLingua> chooser;
    ui::SingleWindow<frmTraffic> traffic;
    ui::SingleWindow<frmKeys> keys;
    ui::SingleWindow<frmControlRoom> controlRoom;
    ui::SingleWindow<automation::frmAutomation> automationEditor;

    // The traffic window, from the status bar.
    void openTraffic();
    // The event log the traffic window's history reads.
    void setEventLog(const QString &path) { m_eventLog = path; }
    // The list of keys, from F1.
    void openKeys();
    // Who holds what, from F2 and the status bar.
    void openControlRoom();
    // The dialogs a language file relabels, made and loaded (hidden) where
    // they do not exist.
    void ensureLanguageDialogs();
    // Gives the dialogs that exist the captions of a language file.
    void relabel(const QStringList &captions);
    // The joystick window, opened from "&JoyStick".
    joystick::JoystickLauncher &attachJoystick(ui::Joystick &joystick);
    joystick::JoystickLauncher *joystick() const { return m_joystick; }
    // The program has ended: every dialog goes without saving anything, and
    // none opens again.
    void closeAll();

signals:
    // A dialog found a stored file there but could not use it, for the reason given.
    void fileNotUsed(const QString &path, const QString &reason);

private:
    // Opens a dialog from its menu entry, unless the program has ended.
    template <typename T> void openFrom(QAction *entry, ui::SingleWindow<T> &window);

    Parts m_parts;
    const MainMenu &m_menu;
    joystick::JoystickLauncher *m_joystick = nullptr;
    bool m_ended = false;
    QString m_eventLog;
};

} // namespace app

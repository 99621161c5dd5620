#include "app/Windows.h"

#include "app/MainMenu.h"
#include "app/frmControlRoom.h"
#include "app/frmKeys.h"
#include "app/frmTraffic.h"
#include "automation/Engine.h"
#include "automation/frmAutomation.h"
#include "config/Localiser.h"
#include "config/frmChange.h"
#include "config/frmControllerProgram.h"
#include "config/frmNew.h"
#include "config/frmSceltaLingua.h"
#include "events/HistoryView.h"
#include "joystick/JoystickLauncher.h"
#include "link/Operations.h"
#include "link/Session.h"
#include "link/StatusPolls.h"
#include "terminal/frmAbout.h"
#include "terminal/frmProperties.h"

#include <QAction>

namespace app {

Windows::Windows(const Parts &parts, const MainMenu &menu)
    : QObject(&parts.main)
    , properties([this] {
        return new terminal::frmProperties(m_parts.language, m_parts.session.serial().port(),
                                           m_parts.session.serial(), m_parts.dialogs,
                                           m_parts.settings, &m_parts.main);
    })
    , titles([this] {
        auto *dialog = new config::frmControllerProgram(
            m_parts.language, m_parts.cameras, m_parts.paths, m_parts.position, &m_parts.main);
        connect(dialog, &config::frmControllerProgram::fileNotUsed, this, &Windows::fileNotUsed);
        return dialog;
    })
    , sites([this] {
        auto *chooser = new config::frmChange(m_parts.language, {m_parts.session, m_parts.portMenu},
                                              m_parts.paths, m_parts.dialogs, &m_parts.main);
        connect(chooser, &config::frmChange::newRequested, this, [this] { siteEntry.open(); });
        connect(chooser, &config::frmChange::fileNotUsed, this, &Windows::fileNotUsed);
        return chooser;
    })
    , siteEntry([this] {
        auto *entry = new config::frmNew(m_parts.paths, &m_parts.main);
        // The chooser takes the entry into its list, made (and loaded) for it
        // when it does not exist.
        connect(entry, &config::frmNew::entered, this,
                [this](const QString &e) { sites.ensure().addEntry(e); });
        connect(entry, &config::frmNew::fileNotUsed, this, &Windows::fileNotUsed);
        return entry;
    })
    , about([this] { return new terminal::frmAbout(m_parts.dialogs, &m_parts.main); })
    , chooser([this] {
        auto *window = new frmSceltaLingua(m_parts.language, m_parts.cameras, m_parts.main);
        // Closing the chooser without a choice still brings the panel back.
        connect(window, &frmSceltaLingua::closedWithoutChoice, this, [this] {
            if (!m_ended)
                m_parts.main.show();
        });
        return window;
    })
    , traffic([this] {
        auto *window =
            new frmTraffic(m_parts.traffic, m_parts.dialogs, m_parts.settings, &m_parts.main);
        connect(window, &frmTraffic::statusAsked, this,
                [this] { m_parts.session.statusRequest({devicelink::Origin::Kind::StatusPoll}); });
        if (!m_eventLog.isEmpty())
            window->addHistory(
                new events::HistoryView(m_eventLog, m_parts.dialogs, m_parts.session.clock()));
        connect(window, &frmTraffic::mainWanted, this, [this] {
            m_parts.main.raise();
            m_parts.main.activateWindow();
        });
        return window;
    })
    , keys([this] { return new frmKeys(&m_parts.main); })
    , controlRoom([this] {
        auto *room = new frmControlRoom(m_parts.session.operations(), m_parts.automation,
                                        m_parts.cameras, m_parts.settings, &m_parts.main);
        connect(room, &frmControlRoom::editorWanted, this, [this] {
            if (!m_ended && m_parts.automation)
                automationEditor.open();
        });
        return room;
    })
    , automationEditor([this] {
        return new automation::frmAutomation(*m_parts.automation, m_parts.session.operations(),
                                             m_parts.dialogs, m_parts.settings, &m_parts.main);
    })
    , m_parts(parts)
    , m_menu(menu) {
    openFrom(menu.mnuProperties, properties);
    openFrom(menu.ControllerProgram, titles);
    openFrom(menu.mnuChange, sites);
    openFrom(menu.About, about);
    openFrom(menu.Language, chooser);
}

Windows::~Windows() = default;

template <typename T> void Windows::openFrom(QAction *entry, ui::SingleWindow<T> &window) {
    connect(entry, &QAction::triggered, this, [this, &window] {
        if (!m_ended)
            window.open();
    });
}

void Windows::openTraffic() {
    if (!m_ended)
        traffic.open();
}

void Windows::openKeys() {
    if (!m_ended)
        keys.open();
}

void Windows::openControlRoom() {
    if (!m_ended)
        controlRoom.open();
}

void Windows::ensureLanguageDialogs() {
    // Each load applies the language again, which finds the dialog being
    // loaded already there, so every dialog is loaded once.
    properties.ensure();
    titles.ensure();
    sites.ensure();
}

void Windows::relabel(const QStringList &captions) {
    if (auto *dialog = properties.get())
        config::Localiser::relabel(captions, "frmProperties", dialog->captioned());
    if (auto *dialog = titles.get())
        config::Localiser::relabel(captions, "frmControllerProgram", dialog->captioned());
    if (auto *dialog = sites.get())
        config::Localiser::relabel(captions, "frmChange", dialog->captioned());
}

joystick::JoystickLauncher &Windows::attachJoystick(ui::Joystick &joystick) {
    if (!m_joystick)
        m_joystick =
            new joystick::JoystickLauncher(*m_menu.JoyStick,
                                           {m_parts.session.operations(), m_parts.HScroll1,
                                            m_parts.HScroll2, m_parts.session.polls().Timer5()},
                                           joystick, m_parts.dialogs, m_parts.main);
    return *m_joystick;
}

void Windows::closeAll() {
    m_ended = true;
    // Closing by the frame: nothing is saved, no poll is started again.
    titles.close();
    sites.close();
    siteEntry.close();
    properties.close();
    about.close();
    chooser.close();
    traffic.close();
    keys.close();
    controlRoom.close();
    automationEditor.close();
    if (m_joystick)
        m_joystick->programEnded();
}

} // namespace app

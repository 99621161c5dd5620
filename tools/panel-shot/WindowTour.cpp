#include "WindowTour.h"

#include "app/Windows.h"
#include "app/frmControlRoom.h"
#include "app/frmKeys.h"
#include "app/frmTerminal.h"
#include "app/frmTraffic.h"
#include "automation/frmAutomation.h"
#include "config/frmChange.h"
#include "config/frmControllerProgram.h"
#include "config/frmNew.h"
#include "config/frmSceltaLingua.h"
#include "joystick/JoystickLauncher.h"
#include "joystick/frmCenter.h"
#include "terminal/frmAbout.h"
#include "terminal/frmCancelSend.h"
#include "terminal/frmProperties.h"

#include <QAction>
#include <QApplication>
#include <QDir>
#include <QMenu>
#include <QMenuBar>
#include <QMessageBox>
#include <QPushButton>
#include <QTabWidget>
#include <QTextStream>

namespace {
constexpr int settleMs = 500;

template <typename T> std::function<QWidget *()> opener(ui::SingleWindow<T> &window) {
    return [&window]() -> QWidget * { return &window.open(); };
}
template <typename T> std::function<void()> closer(ui::SingleWindow<T> &window) {
    return [&window] { window.close(); };
}
} // namespace

WindowTour::WindowTour(frmTerminal &window, const QString &folder, QObject *parent)
    : QObject(parent)
    , m_window(window)
    , m_folder(folder) {
    m_settle.setSingleShot(true);
    m_settle.setTimerType(Qt::PreciseTimer);
    m_settle.setInterval(settleMs);
    app::Windows &w = window.windows();
    m_stops = {
        {QStringLiteral("properties"), opener(w.properties), closer(w.properties)},
        {QStringLiteral("camera-titles"), opener(w.titles), closer(w.titles)},
        {QStringLiteral("sites"), opener(w.sites), closer(w.sites)},
        {QStringLiteral("site-entry"), opener(w.siteEntry), closer(w.siteEntry)},
        {QStringLiteral("about"), opener(w.about), closer(w.about)},
        {QStringLiteral("language"), opener(w.chooser), closer(w.chooser)},
        {QStringLiteral("keys"), opener(w.keys), closer(w.keys)},
        {QStringLiteral("control-room"), opener(w.controlRoom), closer(w.controlRoom)},
        {QStringLiteral("automation"), opener(w.automationEditor), closer(w.automationEditor)},
        {QStringLiteral("traffic-live"), opener(w.traffic), [] {}},
        {QStringLiteral("traffic-history"),
         [&w]() -> QWidget * {
             app::frmTraffic &traffic = w.traffic.open();
             if (auto *tabs = traffic.findChild<QTabWidget *>())
                 tabs->setCurrentIndex(tabs->count() - 1);
             return &traffic;
         },
         closer(w.traffic)},
        {QStringLiteral("joystick"),
         [&w]() -> QWidget * {
             joystick::JoystickLauncher *stick = w.joystick();
             if (!stick)
                 return nullptr;
             stick->JoyStick_Click();
             return stick->window();
         },
         [&w] {
             if (joystick::JoystickLauncher *stick = w.joystick(); stick && stick->window())
                 stick->window()->close();
         }},
        {QStringLiteral("transmission"),
         [this]() -> QWidget * {
             auto *cancel = new terminal::frmCancelSend(&m_window);
             cancel->setAttribute(Qt::WA_DeleteOnClose);
             cancel->start(QStringLiteral("night-shift.txt"));
             return cancel;
         },
         [this] {
             if (auto *cancel = m_window.findChild<terminal::frmCancelSend *>())
                 cancel->close();
         }},
        {QStringLiteral("box-drain"),
         [this]() -> QWidget * {
             // The shutdown's box, as the panel shows it (not waited on here).
             auto *box = new QMessageBox(
                 QMessageBox::Question, QStringLiteral("Velmar Controller"),
                 QCoreApplication::translate("frmTerminal", "Data cannot be sent"),
                 QMessageBox::Abort | QMessageBox::Retry | QMessageBox::Ignore, &m_window);
             box->setAttribute(Qt::WA_DeleteOnClose);
             box->setObjectName(QStringLiteral("tourBox"));
             box->show();
             return box;
         },
         [this] {
             if (auto *box = m_window.findChild<QMessageBox *>(QStringLiteral("tourBox")))
                 box->close();
         }},
    };
    // Every menu of the bar, opened.
    const auto menus = window.menuBar()->actions();
    for (QAction *action : menus) {
        QMenu *menu = action->menu();
        if (!menu || !action->isVisible())
            continue;
        m_stops.append({QStringLiteral("menu-") + action->objectName(),
                        [this, menu]() -> QWidget * {
                            menu->popup(m_window.mapToGlobal(QPoint(0, 0)));
                            return menu;
                        },
                        [menu] { menu->hide(); }});
    }
    connect(&m_settle, &QTimer::timeout, this, [this] {
        const Stop &stop = m_stops[m_at];
        QWidget *shown = nullptr;
        for (QWidget *w : QApplication::topLevelWidgets()) {
            if (w->isVisible() && w->property("tourStop").toString() == stop.name)
                shown = w;
        }
        QTextStream err(stderr);
        if (shown) {
            const QString file = QDir(m_folder).filePath(stop.name + QStringLiteral(".png"));
            if (!shown->grab().save(file, "PNG")) {
                err << "panel-shot: cannot write " << file << Qt::endl;
                emit finished(false);
                return;
            }
            err << "panel-shot: saved " << file << Qt::endl;
        } else {
            err << "panel-shot: " << stop.name << " did not open" << Qt::endl;
        }
        stop.close();
        ++m_at;
        next();
    });
}

void WindowTour::start() {
    QDir().mkpath(m_folder);
    m_at = 0;
    next();
}

void WindowTour::next() {
    if (m_at >= m_stops.size()) {
        emit finished(true);
        return;
    }
    if (QWidget *widget = m_stops[m_at].open())
        widget->window()->setProperty("tourStop", m_stops[m_at].name);
    m_settle.start();
}

// panel-shot FILE [--windows FOLDER]: starts the panel as the program does
// (storage folder, settings, real serial port and UDP socket), presses M2 and
// then C5, waits for the switcher's status reply to light both, saves a
// picture of the main window as FILE (PNG), with --windows a picture of every
// other window, menu and box in FOLDER, and closes the panel through "E&xit".
#include "WindowTour.h"
#include "app/Controller.h"
#include "app/frmTerminal.h"
#include "events/EventStore.h"
#include "link/Clock.h"
#include "link/Session.h"
#include "ui/ColourButton.h"
#include "ui/Dialogs.h"
#include "ui/Joystick.h"
#include "ui/QtDatagramSocket.h"
#include "ui/QtSerialPort.h"
#include "ui/SettingsStore.h"
#include "ui/StorageFolder.h"

#include <QApplication>
#include <QDir>
#include <QTextStream>
#include <QTimer>
#include <optional>

namespace {

// Nothing modal may stop an unattended run: messages are printed and
// answered with the choice that goes on without harm.
class PrintingDialogs : public ui::Dialogs {
public:
    Answer message(const QString &text, Buttons buttons, Icon, const QString &) override {
        QTextStream(stderr) << "panel-shot: the panel says: " << text << Qt::endl;
        switch (buttons) {
        case Buttons::Ok:
            return Answer::Ok;
        case Buttons::AbortRetryIgnore:
            return Answer::Ignore;
        default:
            return Answer::Cancel;
        }
    }
    std::optional<QString> inputBox(const QString &, const QString &, const QString &) override {
        return std::nullopt;
    }
    QString openFileName(const QString &, const QString &) override { return {}; }
    QString saveFileName(const QString &, const QString &) override { return {}; }
};

// A joystick at rest, so that the joystick window opens as with one plugged in.
class StillJoystick : public ui::Joystick {
public:
    std::optional<ui::JoystickReading> read() override {
        ui::JoystickReading centre;
        centre.x = centre.y = centre.z = 32767;
        return centre;
    }
};

const QColor lit(0, 192, 0);
constexpr int settleMs = 500;
constexpr int giveUpMs = 15000;

} // namespace

int main(int argc, char *argv[]) {
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Velmar Controller"));
    app.setQuitOnLastWindowClosed(false);
    QTextStream err(stderr);
    const QStringList args = QApplication::arguments();
    const bool tour = args.size() == 4 && args[2] == QLatin1String("--windows");
    if ((args.size() != 2 && !tour) || args[1].startsWith(QLatin1Char('-'))) {
        err << "usage: panel-shot FILE.png [--windows FOLDER]\n"
               "Starts the panel, routes camera 5 to monitor 2 on the switcher named by the\n"
               "storage folder's settings.ini, and saves a picture of the window once the\n"
               "switcher's reply has lit C5 and M2; with --windows, a picture of every other\n"
               "window, menu and box in FOLDER too."
            << Qt::endl;
        return 2;
    }
    const QString file = args[1];

    const ui::StoragePaths paths;
    ui::ensureFolder(paths.folder());
    ui::IniSettingsStore settings(paths.settings());
    ui::QtSerialPort port(settings);
    ui::QtDatagramSocket socket;
    PrintingDialogs dialogs;

    // The event log, as the program keeps it, for the traffic window's history.
    app::Controller controller({port, socket, settings, devicelink::Clock::system()}, paths);
    events::EventStore *eventLog = controller.openEventLog();
    frmTerminal window(controller, dialogs);
    if (eventLog)
        window.attachEventLog(*eventLog);
    StillJoystick stick;
    window.attachJoystick(stick);
    QObject::connect(&window, &frmTerminal::programEnded, &app, &QApplication::quit,
                     Qt::QueuedConnection);
    window.Form_Load();
    // A fresh configuration puts the language chooser in front; the picture
    // is of the panel itself.
    const auto tops = QApplication::topLevelWidgets();
    for (QWidget *w : tops) {
        if (w != &window && w->isWindow() && w->isVisible())
            w->hide();
    }
    window.show();

    auto *c5 = window.findChild<ui::ColourButton *>(QStringLiteral("C5"));
    auto *m2 = window.findChild<ui::ColourButton *>(QStringLiteral("M2"));
    if (!c5 || !m2) {
        err << "panel-shot: the panel has no C5 or M2 button" << Qt::endl;
        return 1;
    }

    int status = 1;
    QTimer poll;
    poll.setTimerType(Qt::PreciseTimer);
    poll.setInterval(50);
    const auto finish = [&](int code) {
        poll.stop();
        status = code;
        window.mnuFileExit_Click();
        // Should the shutdown be held up, the picture is saved all the same.
        QTimer::singleShot(5000, Qt::PreciseTimer, &app, &QApplication::quit);
    };
    QObject::connect(&poll, &QTimer::timeout, &app, [&] {
        if (c5->face() != lit || m2->face() != lit)
            return;
        poll.stop();
        // A moment more, so that the repaint and the status bar (which
        // follows a few times a second) are on screen before the grab.
        QTimer::singleShot(600, Qt::PreciseTimer, &app, [&] {
            if (!window.grab().save(file, "PNG")) {
                err << "panel-shot: cannot write " << file << Qt::endl;
                finish(1);
                return;
            }
            err << "panel-shot: saved " << file << Qt::endl;
            if (!tour) {
                finish(0);
                return;
            }
            auto *windows = new WindowTour(window, args[3], &app);
            QObject::connect(windows, &WindowTour::finished, &app,
                             [&](bool ok) { finish(ok ? 0 : 1); });
            windows->start();
        });
    });
    QTimer::singleShot(settleMs, Qt::PreciseTimer, &app, [&] {
        m2->click();
        c5->click();
        poll.start();
    });
    QTimer::singleShot(giveUpMs, Qt::PreciseTimer, &app, [&] {
        if (status == 0 || !poll.isActive())
            return;
        err << "panel-shot: no status reply lit C5 and M2 within " << giveUpMs / 1000
            << " s; is the switcher connected?" << Qt::endl;
        finish(1);
    });
    app.exec();
    return status;
}

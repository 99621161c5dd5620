#include "app/Controller.h"
#include "app/Headless.h"
#include "app/frmTerminal.h"
#include "automation/AlarmClient.h"
#include "events/EventQuery.h"
#include "events/EventStore.h"
#include "link/Clock.h"
#include "ui/Dialogs.h"
#include "ui/ProgramIcon.h"
#include "ui/QtDatagramSocket.h"
#include "ui/QtSerialPort.h"
#include "ui/SettingsStore.h"
#include "ui/SignalWatcher.h"
#include "ui/StorageFolder.h"
#include "ui/sdl/SdlJoystick.h"
#include "web/UserCommand.h"

#include <QApplication>
#include <QCommandLineParser>
#include <QCoreApplication>

#include <cstdio>
#include <optional>
#include <utility>

namespace {
// --events FROM TO: the event log's rows of that span as CSV on standard output, for scripts
// and auditors. Nothing of the panel starts; Qt's SQL driver wants a core application alone.
int printEvents(int argc, char *argv[], const QString &from, const QString &to,
                const QString &usage) {
    QString error;
    const std::optional<events::EventQuery::Range> range =
        events::EventQuery::range(from, to, &error);
    if (!range) {
        std::fprintf(stderr, "velmar-controller: %s\n%s", qPrintable(error), qPrintable(usage));
        return 2;
    }
    QCoreApplication core(argc, argv);
    bool headed = false;
    auto line = [](const QString &text) {
        const QByteArray bytes = text.toUtf8() + "\r\n";
        std::fwrite(bytes.constData(), 1, std::size_t(bytes.size()), stdout);
    };
    error = events::EventQuery::read(events::EventStore::defaultPath(), *range, {},
                                     [&](const events::Record &record) {
                                         if (!std::exchange(headed, true))
                                             line(events::EventText::csvHeader());
                                         line(events::EventText::csv(record));
                                         return true;
                                     });
    if (!error.isEmpty()) {
        std::fprintf(stderr, "velmar-controller: %s\n", qPrintable(error));
        return 1;
    }
    if (!headed)
        line(events::EventText::csvHeader());
    return std::fflush(stdout) == 0 ? 0 : 1;
}

// The panel takes no options but --events and --headless; it answers --help and --version,
// and refuses anything else with its usage. This runs before any application object exists,
// so that none of these answers needs a display. Nothing left to answer: whether to run
// without a window.
std::optional<int> answerCommandLine(int argc, char *argv[], bool *headless) {
    QStringList arguments;
    for (int i = 0; i < argc; ++i)
        arguments << QString::fromLocal8Bit(argv[i]);
    if (const std::optional<int> status = web::userCommand(arguments, ui::storageFolder()))
        return status;
    QCommandLineParser parser;
    parser.setApplicationDescription(QStringLiteral(
        "The control panel of a CCTV matrix switcher with 16 cameras and 4 monitors, over a\n"
        "serial port or UDP.\n\n"
        "velmar-controller --events FROM TO prints the event log's rows from FROM to TO\n"
        "as CSV and exits. FROM and TO are ISO 8601 dates or times (2026-12-09,\n"
        "2026-12-09T02:14, 2026-12-09T02:14:07Z), in local time unless they name a zone;\n"
        "TO takes in its whole day, minute or second.\n\n"
        "velmar-controller --headless runs the controller without any window or display:\n"
        "the port, the polls, the event log and the Videohub server as settings.ini says,\n"
        "what the status bar would say on standard error; SIGTERM or SIGINT end it.\n\n"
        "velmar-controller --alarm N on|off tells the running panel that alarm input N\n"
        "(1 to 64) became active or was cleared, and exits: 0 taken, 1 refused, 3 no\n"
        "panel answered."));
    const QCommandLineOption help({QStringLiteral("h"), QStringLiteral("help")},
                                  QStringLiteral("Show this help and exit."));
    const QCommandLineOption version({QStringLiteral("v"), QStringLiteral("version")},
                                     QStringLiteral("Show the version and exit."));
    const QCommandLineOption eventsOption(
        QStringLiteral("events"),
        QStringLiteral("Print the event log's rows from FROM to TO as CSV and exit."));
    const QCommandLineOption headlessOption(
        QStringLiteral("headless"),
        QStringLiteral("Run without any window or display, as a service, until SIGTERM."));
    // The users of the browser panel; web::userCommand reads these options.
    const QCommandLineOption addUser(
        QStringLiteral("add-user"),
        QStringLiteral("Add a browser panel user NAME with ROLE (viewer, operator, supervisor), "
                       "the password read from the terminal, or a line of standard input."));
    const QCommandLineOption removeUser(QStringLiteral("remove-user"),
                                        QStringLiteral("Remove the browser panel user NAME."));
    const QCommandLineOption listUsers(QStringLiteral("list-users"),
                                       QStringLiteral("List the browser panel's users."));
    const QCommandLineOption alarmOption(
        QStringLiteral("alarm"),
        QStringLiteral("Raise (on) or clear (off) alarm input N in the running panel and exit."));
    parser.addOptions(
        {help, version, eventsOption, headlessOption, addUser, removeUser, listUsers, alarmOption});
    const bool parsed = parser.parse(arguments);
    const QString usage = parser.helpText().replace(QStringLiteral("<executable_name>"),
                                                    QStringLiteral("velmar-controller"));
    // A lone "--" sets nothing and leaves no positional argument; it is refused too. Only
    // --events and --alarm take arguments: two each.
    const QStringList positional = parser.positionalArguments();
    const bool eventsAsked = parsed && parser.isSet(eventsOption) && !parser.isSet(help);
    const bool alarmAsked = parsed && parser.isSet(alarmOption) && !parser.isSet(help);
    const bool twoAsked = eventsAsked || alarmAsked;
    const bool unexpected = twoAsked ? positional.size() > 2 || (eventsAsked && alarmAsked)
                                     : !positional.isEmpty() ||
                                           (arguments.size() > 1 && parser.optionNames().isEmpty());
    const bool missing = twoAsked && positional.size() < 2;
    if (!parsed || unexpected || missing) {
        const QString error =
            !parsed                     ? parser.errorText()
            : eventsAsked && alarmAsked ? QStringLiteral("--events and --alarm go alone")
            : missing ? (eventsAsked ? QStringLiteral("--events needs FROM and TO")
                                     : QStringLiteral("--alarm needs N and on or off"))
                      : QStringLiteral("unexpected argument '%1'")
                            .arg(positional.value(twoAsked ? 2 : 0, QStringLiteral("--")));
        std::fprintf(stderr, "velmar-controller: %s\n%s", qPrintable(error), qPrintable(usage));
        return 2;
    }
    if (parser.isSet(help)) {
        std::fputs(qPrintable(usage), stdout);
        return 0;
    }
    if (parser.isSet(version)) {
        std::puts("velmar-controller " VELMAR_VERSION);
        return 0;
    }
    if (eventsAsked)
        return printEvents(argc, argv, positional[0], positional[1], usage);
    if (alarmAsked) {
        QCoreApplication core(argc, argv);
        QString message;
        const int status = automation::sendAlarm(positional[0], positional[1], message);
        std::fprintf(status == 0 ? stdout : stderr, "velmar-controller: %s\n%s",
                     qPrintable(message), status == 2 ? qPrintable(usage) : "");
        return status;
    }
    *headless = parser.isSet(headlessOption);
    return std::nullopt;
}

// The same controller as the panel's, with no window: a service beside the switcher.
int runHeadless(int argc, char *argv[]) {
    QCoreApplication app(argc, argv);
    QCoreApplication::setApplicationName(QStringLiteral("Velmar Controller"));
    // Watching from the first moment: a signal while the controller starts up
    // waits in the watcher until the loop runs, instead of killing the program.
    ui::SignalWatcher watcher;
    const ui::StoragePaths paths;
    ui::ensureFolder(paths.folder());
    ui::IniSettingsStore settings(paths.settings());
    ui::QtSerialPort port(settings);
    ui::QtDatagramSocket socket;
    app::Controller controller({port, socket, settings, devicelink::Clock::system()}, paths);
    controller.openEventLog();
    controller.noteProgram(QStringLiteral("program started (headless)"));
    app::Headless headless(controller);
    QObject::connect(&headless, &app::Headless::finished, &app, &QCoreApplication::exit,
                     Qt::QueuedConnection);
    QObject::connect(&watcher, &ui::SignalWatcher::terminationRequested, &headless,
                     &app::Headless::end);
    if (!headless.start()) {
        controller.noteProgram(QStringLiteral("program ended"));
        return 1;
    }
    return app.exec();
}
} // namespace

int main(int argc, char *argv[]) {
    bool headless = false;
    if (const std::optional<int> status = answerCommandLine(argc, argv, &headless))
        return *status;
    if (headless)
        return runHeadless(argc, argv);
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Velmar Controller"));
    QApplication::setWindowIcon(ui::programIcon());
    app.setQuitOnLastWindowClosed(false);
    // Watching from the first moment: a signal while the window is built waits
    // in the watcher until the first box or the loop runs.
    ui::SignalWatcher watcher;

    const ui::StoragePaths paths;
    ui::ensureFolder(paths.folder());
    ui::IniSettingsStore settings(paths.settings());
    ui::QtSerialPort port(settings);
    ui::QtDatagramSocket socket;
    ui::QtDialogs dialogs;

    // Outlives the window, so that what its end records is written.
    app::Controller controller({port, socket, settings, devicelink::Clock::system()}, paths);
    events::EventStore *eventLog = controller.openEventLog();
    controller.noteProgram(QStringLiteral("program started"));
    frmTerminal window(controller, dialogs);
    if (eventLog)
        window.attachEventLog(*eventLog);
    dialogs.setParent(&window);
    ui::SdlJoystick joystickDevice;
    window.attachJoystick(joystickDevice);
    QObject::connect(&window, &frmTerminal::programEnded, &app, &QApplication::quit,
                     Qt::QueuedConnection);
    // Logout, shutdown or a service manager end the program as its own
    // Exit does, without a box.
    QObject::connect(&watcher, &ui::SignalWatcher::terminationRequested, &window,
                     &frmTerminal::endOnSignal);
    window.Form_Load();
    // A signal during one of the start-up's boxes has ended it already.
    if (window.ended())
        return 0;
    if (!window.waitingForLanguage())
        window.show();
    return app.exec();
}

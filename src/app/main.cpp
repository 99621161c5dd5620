#include "app/frmTerminal.h"
#include "events/EventQuery.h"
#include "events/EventSettings.h"
#include "events/EventStore.h"
#include "ui/Dialogs.h"
#include "ui/ProgramIcon.h"
#include "ui/QtDatagramSocket.h"
#include "ui/QtSerialPort.h"
#include "ui/SettingsStore.h"
#include "ui/SignalWatcher.h"
#include "ui/StorageFolder.h"
#include "ui/sdl/SdlJoystick.h"

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

// The panel takes no options but --events; it answers --help and --version, and refuses
// anything else with its usage. This runs before any application object exists, so that
// none of these answers needs a display.
std::optional<int> answerCommandLine(int argc, char *argv[]) {
    QStringList arguments;
    for (int i = 0; i < argc; ++i)
        arguments << QString::fromLocal8Bit(argv[i]);
    QCommandLineParser parser;
    parser.setApplicationDescription(QStringLiteral(
        "The control panel of a CCTV matrix switcher with 16 cameras and 4 monitors, over a\n"
        "serial port or UDP.\n\n"
        "velmar-controller --events FROM TO prints the event log's rows from FROM to TO\n"
        "as CSV and exits. FROM and TO are ISO 8601 dates or times (2026-12-09,\n"
        "2026-12-09T02:14, 2026-12-09T02:14:07Z), in local time unless they name a zone;\n"
        "TO takes in its whole day, minute or second."));
    const QCommandLineOption help({QStringLiteral("h"), QStringLiteral("help")},
                                  QStringLiteral("Show this help and exit."));
    const QCommandLineOption version({QStringLiteral("v"), QStringLiteral("version")},
                                     QStringLiteral("Show the version and exit."));
    const QCommandLineOption eventsOption(
        QStringLiteral("events"),
        QStringLiteral("Print the event log's rows from FROM to TO as CSV and exit."));
    parser.addOptions({help, version, eventsOption});
    const bool parsed = parser.parse(arguments);
    const QString usage = parser.helpText().replace(QStringLiteral("<executable_name>"),
                                                    QStringLiteral("velmar-controller"));
    // A lone "--" sets nothing and leaves no positional argument; it is refused too. Only
    // --events takes arguments: its two times.
    const QStringList positional = parser.positionalArguments();
    const bool eventsAsked = parsed && parser.isSet(eventsOption) && !parser.isSet(help);
    const bool unexpected = eventsAsked ? positional.size() > 2
                                        : !positional.isEmpty() || (arguments.size() > 1 &&
                                                                    parser.optionNames().isEmpty());
    const bool missing = eventsAsked && positional.size() < 2;
    if (!parsed || unexpected || missing) {
        const QString error =
            !parsed   ? parser.errorText()
            : missing ? QStringLiteral("--events needs FROM and TO")
                      : QStringLiteral("unexpected argument '%1'")
                            .arg(positional.value(eventsAsked ? 2 : 0, QStringLiteral("--")));
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
    return std::nullopt;
}
} // namespace

int main(int argc, char *argv[]) {
    if (const std::optional<int> status = answerCommandLine(argc, argv))
        return *status;
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Velmar Controller"));
    QApplication::setWindowIcon(ui::programIcon());
    app.setQuitOnLastWindowClosed(false);

    const ui::StoragePaths paths;
    ui::ensureFolder(paths.folder());
    ui::IniSettingsStore settings(paths.settings());
    ui::QtSerialPort port(settings);
    ui::QtDatagramSocket socket;
    ui::QtDialogs dialogs;

    // Outlives the window, so that what its end records is written.
    std::optional<events::EventStore> eventLog;
    if (events::eventLogEnabled(settings))
        eventLog.emplace(events::EventStore::defaultPath(), events::eventLimits(settings));
    frmTerminal window(port, socket, dialogs, settings);
    if (eventLog)
        window.attachEventLog(*eventLog);
    dialogs.setParent(&window);
    ui::SdlJoystick joystickDevice;
    window.attachJoystick(joystickDevice);
    QObject::connect(&window, &frmTerminal::programEnded, &app, &QApplication::quit,
                     Qt::QueuedConnection);
    // Logout, shutdown or a service manager end the program as its own
    // Exit does, without a box.
    ui::SignalWatcher watcher;
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

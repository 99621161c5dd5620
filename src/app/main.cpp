#include "app/frmTerminal.h"
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

#include <cstdio>
#include <optional>

namespace {
// The panel takes no options; it answers --help and --version, and refuses anything else
// with its usage. This runs before any application object exists, so that neither answer
// needs a display.
std::optional<int> answerCommandLine(int argc, char *argv[]) {
    QStringList arguments;
    for (int i = 0; i < argc; ++i)
        arguments << QString::fromLocal8Bit(argv[i]);
    QCommandLineParser parser;
    parser.setApplicationDescription(
        QStringLiteral("The control panel of a CCTV matrix switcher with 16 cameras and 4 "
                       "monitors, over a serial port or UDP."));
    const QCommandLineOption help({QStringLiteral("h"), QStringLiteral("help")},
                                  QStringLiteral("Show this help and exit."));
    const QCommandLineOption version({QStringLiteral("v"), QStringLiteral("version")},
                                     QStringLiteral("Show the version and exit."));
    parser.addOptions({help, version});
    const bool parsed = parser.parse(arguments);
    const QString usage = parser.helpText().replace(QStringLiteral("<executable_name>"),
                                                    QStringLiteral("velmar-controller"));
    // A lone "--" sets nothing and leaves no positional argument; it is refused too.
    const bool unexpected = !parser.positionalArguments().isEmpty() ||
                            (arguments.size() > 1 && parser.optionNames().isEmpty());
    if (!parsed || unexpected) {
        const QString error =
            !parsed ? parser.errorText()
                    : QStringLiteral("unexpected argument '%1'")
                          .arg(parser.positionalArguments().value(0, QStringLiteral("--")));
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

    frmTerminal window(port, socket, dialogs, settings);
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
    if (!window.waitingForLanguage())
        window.show();
    return app.exec();
}

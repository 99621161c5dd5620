#include "app/frmTerminal.h"
#include "joystick/JoystickLauncher.h"
#include "ui/Dialogs.h"
#include "ui/QtDatagramSocket.h"
#include "ui/QtSerialPort.h"
#include "ui/SettingsStore.h"
#include "ui/StorageFolder.h"
#include "ui/sdl/SdlJoystick.h"

#include <QApplication>
#include <QDir>

int main(int argc, char *argv[]) {
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Velmar Controller"));
    app.setQuitOnLastWindowClosed(false);

    const QString folder = ui::storageFolder();
    ui::ensureFolder(folder);
    ui::IniSettingsStore settings(QDir(folder).filePath(QStringLiteral("settings.ini")));
    ui::QtSerialPort port(settings);
    ui::QtDatagramSocket socket;
    ui::QtDialogs dialogs;

    frmTerminal window(port, socket, dialogs, settings);
    dialogs.setParent(&window);
    ui::SdlJoystick joystickDevice;
    joystick::JoystickLauncher joystickLauncher(window, joystickDevice, dialogs);
    QObject::connect(&window, &frmTerminal::programEnded, &app, &QApplication::quit,
                     Qt::QueuedConnection);
    window.Form_Load();
    if (!window.waitingForLanguage())
        window.show();
    return app.exec();
}

#include "app/frmTerminal.h"
#include "ui/Dialogs.h"
#include "ui/QtDatagramSocket.h"
#include "ui/QtSerialPort.h"
#include "ui/SettingsStore.h"
#include "ui/StorageFolder.h"
#include "ui/sdl/SdlJoystick.h"

#include <QApplication>

int main(int argc, char *argv[]) {
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Velmar Controller"));
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
    window.Form_Load();
    if (!window.waitingForLanguage())
        window.show();
    return app.exec();
}

#pragma once

#include "Fakes.h"
#include "app/Controller.h"
#include "app/frmTerminal.h"
#include "link/CommandSink.h"
#include "link/Session.h"

#include <QTemporaryDir>
#include <QTest>

// The main window built on fake platform parts, for driving it as an
// operator would and reading what went out on the line.
struct Panel {
    QTemporaryDir storage; // the storage folder, empty at first
    fakes::SerialPort port;
    fakes::DatagramSocket socket;
    fakes::Dialogs dialogs;
    fakes::SettingsStore settings;
    app::Controller controller{{port, socket, settings, devicelink::Clock::system()},
                               ui::StoragePaths(storage.path())};
    frmTerminal window{controller, dialogs};

    Panel() = default;
    QString storagePath(const QString &name) const { return storage.filePath(name); }

    // A control of the window, or a timer of the controller below it.
    template <typename T = QWidget> T *find(const QString &name) {
        T *child = window.findChild<T *>(name);
        if (!child)
            child = controller.findChild<T *>(name);
        if (!child)
            qWarning("no control named %s", qPrintable(name));
        return child;
    }
    // Puts a remote site into IPAD as the site chooser does.
    void selectSite(const QString &address);
    void click(const QString &name);
    // Everything written to the serial line so far, then forgotten.
    QByteArray takeWritten();
    // Every datagram sent so far, then forgotten.
    QList<QByteArray> takeDatagrams();
};

// The serial frames of a list of codes: each byte followed by CR.
QByteArray serialFrames(const QStringList &codes);

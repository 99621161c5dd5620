#include "config/DialogLaunchers.h"

#include "app/frmTerminal.h"
#include "config/frmChange.h"
#include "config/frmControllerProgram.h"
#include "config/frmNew.h"

#include <QAction>

namespace config {

DialogLaunchers::DialogLaunchers(frmTerminal &main, QObject *parent)
    : QObject(parent)
    , m_main(main) {
    if (auto *item = main.findChild<QAction *>(QStringLiteral("ControllerProgram")))
        connect(item, &QAction::triggered, this, &DialogLaunchers::ControllerProgram_Click);
    if (auto *item = main.findChild<QAction *>(QStringLiteral("mnuChange")))
        connect(item, &QAction::triggered, this, &DialogLaunchers::mnuChange_Click);
    connect(&main, &frmTerminal::programEnded, this, &DialogLaunchers::programEnded);
}

void DialogLaunchers::ControllerProgram_Click() {
    if (!m_main.ended())
        frmControllerProgram::open(m_main);
}

void DialogLaunchers::mnuChange_Click() {
    if (!m_main.ended())
        frmChange::open(m_main);
}

void DialogLaunchers::programEnded() {
    // Closing by the frame: nothing is saved, no poll is started again.
    const auto windows = m_main.findChildren<QWidget *>(Qt::FindDirectChildrenOnly);
    for (QWidget *window : windows) {
        if (qobject_cast<frmControllerProgram *>(window) || qobject_cast<frmChange *>(window) ||
            qobject_cast<frmNew *>(window))
            window->close();
    }
}

} // namespace config

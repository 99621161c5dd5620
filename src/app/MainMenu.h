#pragma once

#include <QList>

class QAction;
class QMenu;
class QMenuBar;
class QObject;

namespace app {

// The main window's menu bar as designed: every entry with its caption and
// objectName, the terminal entries hidden or unavailable. The parts that
// handle an entry get its action from here.
struct MainMenu {
    explicit MainMenu(QMenuBar *bar);

    QMenu *mnuFile;
    QAction *mnuOpenLog;
    QAction *mnuCloseLog;
    QAction *mnuSendText;
    QAction *mnuFileExit;
    QMenu *mnuPort;
    QAction *mnuOpen;
    QAction *mnuProperties;
    QMenu *mnuMSComm;
    QAction *mnuInputLen;
    QAction *mnuRThreshold;
    QAction *mnuSThreshold;
    QAction *mnuParRep;
    QAction *mnuDTREnable;
    QAction *mnuHCD;
    QAction *mnuHCTS;
    QAction *mnuHDSR;
    QMenu *mnuCall;
    QAction *mnuDial;
    QAction *mnuHangUp;
    QMenu *Mon;
    QAction *ControllerProgram;
    QAction *About;
    QAction *Language;
    QAction *JoyStick;
    QAction *mnuChange;

    // The entries a language file relabels.
    QList<QObject *> captioned() const;
};

} // namespace app

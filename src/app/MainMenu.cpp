#include "app/MainMenu.h"

#include <QAction>
#include <QMenu>
#include <QMenuBar>

namespace app {

namespace {
QAction *addItem(QMenu *menu, const char *name, const char *caption) {
    QAction *action = menu->addAction(QLatin1String(caption));
    action->setObjectName(QLatin1String(name));
    return action;
}

QMenu *addMenu(QMenuBar *bar, const char *name, const char *caption) {
    QMenu *menu = bar->addMenu(QLatin1String(caption));
    menu->setObjectName(QLatin1String(name));
    menu->menuAction()->setObjectName(QLatin1String(name));
    return menu;
}

QAction *addCommand(QMenuBar *bar, const char *name, const char *caption) {
    QAction *action = bar->addAction(QLatin1String(caption));
    action->setObjectName(QLatin1String(name));
    return action;
}

void hideAndDisable(QAction *action) {
    action->setVisible(false);
    action->setEnabled(false);
}
} // namespace

MainMenu::MainMenu(QMenuBar *bar) {
    bar->setNativeMenuBar(false);

    mnuFile = addMenu(bar, "mnuFile", "&File");
    mnuOpenLog = addItem(mnuFile, "mnuOpenLog", "&Open Log File...");
    mnuCloseLog = addItem(mnuFile, "mnuCloseLog", "&Close Log File");
    mnuSendText = addItem(mnuFile, "mnuSendText", "&Transmit Text File...");
    hideAndDisable(mnuOpenLog);
    hideAndDisable(mnuCloseLog);
    hideAndDisable(mnuSendText);
    mnuFileExit = addItem(mnuFile, "mnuFileExit", "E&xit");

    mnuPort = addMenu(bar, "mnuPort", "&CommPort");
    mnuOpen = addItem(mnuPort, "mnuOpen", "Port &Open");
    mnuOpen->setCheckable(true);
    mnuProperties = addItem(mnuPort, "mnuProperties", "Properties...");

    mnuMSComm = addMenu(bar, "mnuMSComm", "&MSComm");
    mnuInputLen = addItem(mnuMSComm, "mnuInputLen", "&InputLen...");
    mnuRThreshold = addItem(mnuMSComm, "mnuRThreshold", "&RThreshold...");
    mnuSThreshold = addItem(mnuMSComm, "mnuSThreshold", "&SThreshold...");
    mnuParRep = addItem(mnuMSComm, "mnuParRep", "P&arityReplace...");
    mnuDTREnable = addItem(mnuMSComm, "mnuDTREnable", "&DTREnable");
    mnuDTREnable->setCheckable(true);
    mnuHCD = addItem(mnuMSComm, "mnuHCD", "&CDHolding...");
    mnuHCTS = addItem(mnuMSComm, "mnuHCTS", "CTSH&olding...");
    mnuHDSR = addItem(mnuMSComm, "mnuHDSR", "DSRHo&lding...");
    hideAndDisable(mnuMSComm->menuAction());

    // "C&all" and its dial entry are unavailable in this panel: not shown.
    mnuCall = addMenu(bar, "mnuCall", "C&all");
    mnuDial = addItem(mnuCall, "mnuDial", "&Dial Phone Number...");
    mnuHangUp = addItem(mnuCall, "mnuHangUp", "&Hang Up Phone");
    hideAndDisable(mnuHangUp);
    hideAndDisable(mnuCall->menuAction());

    Mon = addMenu(bar, "Mon", "&Mon");
    hideAndDisable(Mon->menuAction());

    ControllerProgram = addCommand(bar, "ControllerProgram", "&Sets texts of Velmar-Controller");
    About = addCommand(bar, "About", "&About");
    Language = addCommand(bar, "Language", "&Language");
    JoyStick = addCommand(bar, "JoyStick", "&JoyStick");
    mnuChange = addCommand(bar, "mnuChange", "<=>");
}

QList<QObject *> MainMenu::captioned() const {
    return {mnuFileExit, mnuPort, mnuOpen, mnuProperties, About, ControllerProgram, Language};
}

} // namespace app

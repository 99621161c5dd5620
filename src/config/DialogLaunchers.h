#pragma once

#include <QObject>

class frmTerminal;

namespace config {

// Opens the camera title dialog and the remote site chooser from the main
// window's "ControllerProgram" and "mnuChange" menu items: built and loaded
// on first use, shown modeless, brought forward when already open. When the
// program ends they close with it.
class DialogLaunchers : public QObject {
    Q_OBJECT
public:
    explicit DialogLaunchers(frmTerminal &main, QObject *parent = nullptr);

    void ControllerProgram_Click();
    void mnuChange_Click();

private:
    void programEnded();

    frmTerminal &m_main;
};

} // namespace config

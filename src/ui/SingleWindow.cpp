#include "ui/SingleWindow.h"

namespace ui {

void showWindow(QWidget *window) {
    // A window shown afresh comes up on top; one already open is brought there.
    if (window->isVisible())
        window->raise();
    window->show();
    window->activateWindow();
}

} // namespace ui

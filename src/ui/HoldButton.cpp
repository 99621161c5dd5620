#include "ui/HoldButton.h"

#include <QKeyEvent>
#include <QMouseEvent>

namespace ui {

void HoldButton::mousePressEvent(QMouseEvent *event) {
    event->accept();
    // A second button pressed while one is held is the same hold.
    if (m_held)
        return;
    m_held = true;
    setDown(true);
    emit MouseDown();
}

void HoldButton::mouseReleaseEvent(QMouseEvent *event) {
    event->accept();
    if (!m_held || event->buttons() != Qt::NoButton)
        return;
    m_held = false;
    setDown(false);
    emit MouseUp();
}

void HoldButton::keyPressEvent(QKeyEvent *event) {
    event->ignore();
}
void HoldButton::keyReleaseEvent(QKeyEvent *event) {
    event->ignore();
}

} // namespace ui

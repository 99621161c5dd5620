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
    // A modal box blocks the window, not the button: the window says so.
    m_watched = window();
    m_watched->installEventFilter(this);
    emit MouseDown();
}

void HoldButton::mouseReleaseEvent(QMouseEvent *event) {
    event->accept();
    if (event->buttons() == Qt::NoButton)
        release();
}

void HoldButton::release() {
    if (!m_held)
        return;
    m_held = false;
    setDown(false);
    if (m_watched)
        m_watched->removeEventFilter(this);
    emit MouseUp();
}

void HoldButton::changeEvent(QEvent *event) {
    ColourButton::changeEvent(event);
    if ((event->type() == QEvent::ActivationChange && !isActiveWindow()) ||
        (event->type() == QEvent::EnabledChange && !isEnabled()))
        release();
}

void HoldButton::hideEvent(QHideEvent *event) {
    ColourButton::hideEvent(event);
    release();
}

bool HoldButton::eventFilter(QObject *watched, QEvent *event) {
    if (watched == m_watched &&
        (event->type() == QEvent::WindowBlocked || event->type() == QEvent::WindowDeactivate ||
         event->type() == QEvent::Hide))
        release();
    return false;
}

void HoldButton::keyPressEvent(QKeyEvent *event) {
    event->ignore();
}
void HoldButton::keyReleaseEvent(QKeyEvent *event) {
    event->ignore();
}

} // namespace ui

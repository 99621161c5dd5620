#pragma once

#include "ui/ColourButton.h"

#include <QPointer>

namespace ui {

// A hold-to-run button: pressing any mouse button on it raises MouseDown,
// letting go raises MouseUp. It has no click action, so keys do nothing.
//
// A hold whose release cannot come (a modal box opens over the window, the
// window is deactivated or hidden, the button disabled) ends there and then
// with MouseUp, as a release would: a camera never keeps moving without a
// held button, and the next press starts a new hold.
class HoldButton : public ColourButton {
    Q_OBJECT
public:
    using ColourButton::ColourButton;

    bool isHeld() const { return m_held; }
    // Ends a hold as its release would (the program is ending).
    void endHold() { release(); }

signals:
    void MouseDown();
    void MouseUp();

protected:
    void mousePressEvent(QMouseEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;
    void keyReleaseEvent(QKeyEvent *event) override;
    void changeEvent(QEvent *event) override;
    void hideEvent(QHideEvent *event) override;
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void release();

    bool m_held = false;
    QPointer<QWidget> m_watched; // the window, watched while a hold lasts
};

} // namespace ui

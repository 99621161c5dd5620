#pragma once

#include "ui/ColourButton.h"

namespace ui {

// A hold-to-run button: pressing any mouse button on it raises MouseDown,
// letting go raises MouseUp. It has no click action, so keys do nothing.
class HoldButton : public ColourButton {
    Q_OBJECT
public:
    using ColourButton::ColourButton;

signals:
    void MouseDown();
    void MouseUp();

protected:
    void mousePressEvent(QMouseEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;
    void keyReleaseEvent(QKeyEvent *event) override;

private:
    bool m_held = false;
};

} // namespace ui

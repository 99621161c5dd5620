#pragma once

#include <QScrollBar>

namespace ui {

// A horizontal scroll bar that takes the keyboard focus (Tab, a click) and
// shows it with a ring in the highlight colour; a plain scroll bar takes no
// focus, and the style draws none on it.
class SpeedBar : public QScrollBar {
    Q_OBJECT
public:
    explicit SpeedBar(QWidget *parent = nullptr);

protected:
    void paintEvent(QPaintEvent *event) override;
};

} // namespace ui

#include "ui/SpeedBar.h"

#include <QPainter>

namespace ui {

SpeedBar::SpeedBar(QWidget *parent)
    : QScrollBar(Qt::Horizontal, parent) {
    setFocusPolicy(Qt::StrongFocus);
}

void SpeedBar::paintEvent(QPaintEvent *event) {
    QScrollBar::paintEvent(event);
    if (!hasFocus())
        return;
    QPainter p(this);
    p.setPen(QPen(palette().color(QPalette::Highlight), 2));
    p.drawRect(rect().adjusted(1, 1, -1, -1));
}

} // namespace ui

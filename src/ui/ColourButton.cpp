#include "ui/ColourButton.h"

#include <QPainter>
#include <QPen>
#include <QPolygon>

namespace ui {

ColourButton::ColourButton(const QString &caption, QWidget *parent)
    : QPushButton(caption, parent)
    , m_face(palette().color(QPalette::Button)) {
    // The face covers the whole button: nothing behind it needs repainting.
    setAttribute(Qt::WA_OpaquePaintEvent);
}

void ColourButton::setFace(const QColor &colour) {
    if (changeFace(colour))
        update();
}

bool ColourButton::changeFace(const QColor &colour) {
    if (colour == m_face)
        return false;
    m_face = colour;
    return true;
}

bool ColourButton::changeMark(bool marked) {
    if (marked == m_marked)
        return false;
    m_marked = marked;
    return true;
}

bool ColourButton::changeNotch(bool notched) {
    if (notched == m_notched)
        return false;
    m_notched = notched;
    return true;
}

void ColourButton::paintEvent(QPaintEvent *) {
    QPainter p(this);
    const QRect r = rect();
    p.fillRect(r, m_face);
    const bool down = isDown();
    // A raised or sunken edge one pixel wide, outside the face colour's area
    // only at the very rim.
    p.setPen(down ? palette().color(QPalette::Dark) : palette().color(QPalette::Light));
    p.drawLine(r.topLeft(), r.topRight());
    p.drawLine(r.topLeft(), r.bottomLeft());
    p.setPen(down ? palette().color(QPalette::Light) : palette().color(QPalette::Shadow));
    p.drawLine(r.bottomLeft(), r.bottomRight());
    p.drawLine(r.topRight(), r.bottomRight());
    p.setPen(isEnabled() ? palette().color(QPalette::ButtonText)
                         : palette().color(QPalette::Disabled, QPalette::ButtonText));
    p.drawText(r.adjusted(0, down ? 1 : 0, 0, down ? 1 : 0), Qt::AlignCenter | Qt::TextShowMnemonic,
               text());
    if (m_notched) {
        // A triangle in the top left corner, a third of the button's side.
        const int side = qMax(4, qMin(r.width(), r.height()) / 3);
        const QPoint corner = r.topLeft() + QPoint(1, 1);
        const QPolygon triangle{corner, corner + QPoint(side, 0), corner + QPoint(0, side)};
        p.setPen(Qt::NoPen);
        p.setBrush(palette().color(QPalette::ButtonText));
        p.drawPolygon(triangle);
        p.setBrush(Qt::NoBrush);
    }
    if (m_marked) {
        // Dashes in the text's colour, one pixel wide, a pixel in from the
        // rim: seen on green and on the background alike.
        QPen dashes(palette().color(QPalette::ButtonText));
        dashes.setStyle(Qt::DashLine);
        p.setPen(dashes);
        p.drawRect(r.adjusted(2, 2, -3, -3));
    }
    if (hasFocus()) {
        // The focus in the highlight colour, two pixels wide just inside the
        // rim, so that it is seen on the small keys; the face keeps its colour.
        p.setPen(palette().color(QPalette::Highlight));
        p.drawRect(r.adjusted(1, 1, -2, -2));
        p.drawRect(r.adjusted(2, 2, -3, -3));
    }
}

} // namespace ui

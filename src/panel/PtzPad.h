#pragma once

#include <QList>
#include <QObject>

class QLabel;
class QScrollBar;
class QWidget;

namespace devicelink {
class Switcher;
enum class Move : quint8;
} // namespace devicelink
namespace ui {
class HoldButton;
}

namespace panel {

// Manual pan/tilt/zoom: ten hold-to-run buttons start a camera move on press
// and stop it on release; the switcher's operations send the codes, the
// speed 500 ms after a direction, and hold the status request off while a
// direction is held. The two speed bars show the pan and tilt speeds the
// operations hold, and set them.
class PtzPad : public QObject {
    Q_OBJECT
public:
    enum Button { Up, Left, Right, Down, ZoomIn, ZoomOut, FocusIn, FocusOut, IrisOpen, IrisClose };

    PtzPad(QWidget *parent, devicelink::Switcher &switcher);

    // The camera move a button holds.
    static devicelink::Move move(Button button);

    void MouseDown(Button button); // up_MouseDown .. im_MouseDown
    void MouseUp(Button button);   // up_MouseUp .. im_MouseUp
    // Every button still held lets go, sending its stop code.
    void endHolds();

    ui::HoldButton *button(Button button) const { return m_buttons[button]; }
    QScrollBar *HScroll1() const { return m_HScroll1; }
    QScrollBar *HScroll2() const { return m_HScroll2; }
    // The buttons and labels, for the captions of a language file.
    const QList<QObject *> &captioned() const { return m_captioned; }

private:
    devicelink::Switcher &m_switcher;
    QList<ui::HoldButton *> m_buttons;
    QScrollBar *m_HScroll1;
    QScrollBar *m_HScroll2;
    QList<QObject *> m_captioned;
};

} // namespace panel

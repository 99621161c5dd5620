#pragma once

#include <QList>
#include <QObject>

class QLabel;
class QScrollBar;
class QWidget;

namespace devicelink {
class CommandSink;
}
namespace ui {
class HoldButton;
class Timer;
} // namespace ui

namespace panel {

// Manual pan/tilt/zoom: ten hold-to-run buttons send a start code on press
// and the axis' stop code on release; a direction press also sends, 500 ms
// later, the speed set on its scroll bar. While a direction is held no status
// request may interrupt the movement, so Timer5 waits for the release.
class PtzPad : public QObject {
    Q_OBJECT
public:
    enum Button { Up, Left, Right, Down, ZoomIn, ZoomOut, FocusIn, FocusOut, IrisOpen, IrisClose };

    PtzPad(QWidget *parent, devicelink::CommandSink &sink, ui::Timer &TimerPan,
           ui::Timer &TimerTilt, ui::Timer &Timer5);

    void MouseDown(Button button); // up_MouseDown .. im_MouseDown
    void MouseUp(Button button);   // up_MouseUp .. im_MouseUp
    // The same, sent through another source's sink (the keyboard's); the
    // speed code that follows a direction goes through the sink of its press.
    void MouseDown(Button button, devicelink::CommandSink &sink);
    void MouseUp(Button button, devicelink::CommandSink &sink);
    void TimerPan_Timer();
    void TimerTilt_Timer();
    // Every button still held lets go, sending its stop code.
    void endHolds();

    ui::HoldButton *button(Button button) const { return m_buttons[button]; }
    QScrollBar *HScroll1() const { return m_HScroll1; }
    QScrollBar *HScroll2() const { return m_HScroll2; }
    // The buttons and labels, for the captions of a language file.
    const QList<QObject *> &captioned() const { return m_captioned; }

private:
    devicelink::CommandSink &m_sink;
    ui::Timer &m_TimerPan;
    ui::Timer &m_TimerTilt;
    ui::Timer &m_Timer5;
    devicelink::CommandSink *m_panSink;
    devicelink::CommandSink *m_tiltSink;
    QList<ui::HoldButton *> m_buttons;
    QScrollBar *m_HScroll1;
    QScrollBar *m_HScroll2;
    QList<QObject *> m_captioned;
};

} // namespace panel

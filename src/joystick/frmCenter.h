#pragma once

#include "joystick/StickArithmetic.h"
#include "link/Codes.h"

#include <QWidget>

class QLabel;
class QLineEdit;
class QScrollBar;

namespace devicelink {
class Operations;
}
namespace ui {
class Dialogs;
class Joystick;
class Timer;
} // namespace ui

namespace joystick {

// The joystick window: while it is open the stick is polled every 150 ms and
// drives the selected camera with the panel's own pan, tilt, speed, zoom and
// focus codes, each handed to the switcher's operations as the joystick's.
// Meanwhile the panel's speed bars and its status request after a movement
// are held off.
class frmCenter : public QWidget {
    Q_OBJECT
public:
    // What the window drives and holds off in the main window.
    struct Panel {
        devicelink::Operations &operations;
        QScrollBar &HScroll1; // pan speed
        QScrollBar &HScroll2; // tilt speed
        ui::Timer &Timer5;    // the status request after a movement
    };

    // memory outlives the window: the last code sent is kept for the whole run.
    frmCenter(Panel panel, ui::Joystick &joystick, ui::Dialogs &dialogs, PollState &memory,
              QWidget *parent = nullptr);

    void Form_Load();
    void Form_Unload();
    void Timer1_Timer();
    void TimerVel_Timer();
    void TimerStopTilt_Timer();

    // The program is ending: stop polling without touching the main window.
    void halt();
    // The program is ending: whatever the stick drives stops.
    void stopMovement();

protected:
    void closeEvent(QCloseEvent *event) override;

private:
    void reportMissingJoystick();
    void send(devicelink::Code code);

    Panel m_panel;
    ui::Joystick &m_joystick;
    ui::Dialogs &m_dialogs;
    PollState &m_state;
    Geometry m_geometry;
    bool m_halted = false;

    ui::Timer *m_Timer1;
    ui::Timer *m_TimerVel;
    ui::Timer *m_TimerStopTilt;
    QLabel *m_Label1;
    QLabel *m_Label2;
    QLineEdit *m_Text1;
    QLineEdit *m_Text2;
    QLineEdit *m_Text3;
};

} // namespace joystick

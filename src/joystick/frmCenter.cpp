#include "joystick/frmCenter.h"

#include "link/Codes.h"
#include "link/Operations.h"
#include "ui/Dialogs.h"
#include "ui/Joystick.h"
#include "ui/Timer.h"
#include "ui/Twips.h"

#include <QCloseEvent>
#include <QLabel>
#include <QLineEdit>
#include <QScrollBar>

namespace joystick {

namespace {

// The window's client area in twips.
constexpr int clientWidth = 2700;
constexpr int clientHeight = 1500;

QLineEdit *makeBox(QWidget *parent, const char *name, int left, int top, int width) {
    auto *box = new QLineEdit(parent);
    box->setObjectName(QLatin1String(name));
    box->setReadOnly(true);
    ui::placeInTwips(box, left, top, width, 315);
    return box;
}

QLabel *makeLabel(QWidget *parent, const char *name, const char *caption, int top) {
    auto *label = new QLabel(QLatin1String(caption), parent);
    label->setObjectName(QLatin1String(name));
    ui::placeInTwips(label, 120, top + 30, 300, 255);
    return label;
}

} // namespace

frmCenter::frmCenter(Panel panel, ui::Joystick &joystick, ui::Dialogs &dialogs, PollState &memory,
                     QWidget *parent)
    : QWidget(parent, Qt::Window)
    , m_panel(panel)
    , m_joystick(joystick)
    , m_dialogs(dialogs)
    , m_state(memory) {
    setObjectName(QStringLiteral("frmCenter"));
    setWindowTitle(QStringLiteral("JoyStick"));

    m_Timer1 = new ui::Timer(QStringLiteral("Timer1"), 150, false, this);
    m_TimerVel = new ui::Timer(QStringLiteral("TimerVel"), 80, false, this);
    m_TimerStopTilt = new ui::Timer(QStringLiteral("TimerStopTilt"), 80, false, this);
    connect(m_Timer1, &ui::Timer::tick, this, &frmCenter::Timer1_Timer);
    connect(m_TimerVel, &ui::Timer::tick, this, &frmCenter::TimerVel_Timer);
    connect(m_TimerStopTilt, &ui::Timer::tick, this, &frmCenter::TimerStopTilt_Timer);

    m_Label1 = makeLabel(this, "Label1", "X", 120);
    m_Text1 = makeBox(this, "Text1", 480, 120, 975);
    m_Label2 = makeLabel(this, "Label2", "Y", 540);
    m_Text2 = makeBox(this, "Text2", 480, 540, 975);
    m_Text3 = makeBox(this, "Text3", 120, 960, 2460);

    const qreal dpi = logicalDpiX();
    setFixedSize(ui::twipsToPixels(clientWidth, dpi), ui::twipsToPixels(clientHeight, dpi));
}

void frmCenter::Form_Load() {
    m_panel.HScroll1.setEnabled(false);
    m_panel.HScroll2.setEnabled(false);
    const std::optional<ui::JoystickReading> rest = m_joystick.read();
    if (!rest) {
        reportMissingJoystick();
    } else {
        // The stick is taken to be at rest in the middle of its travel.
        m_geometry = geometryAt(rest->x, rest->y);
        m_Timer1->setEnabled(true);
        m_state.panActive = false;
        m_state.tiltActive = false;
        m_state.lastLensCode.clear();
    }
    // No status request may cut into the joystick's movements.
    m_panel.Timer5.setEnabled(false);
}

void frmCenter::Form_Unload() {
    m_panel.HScroll1.setEnabled(true);
    m_panel.HScroll2.setEnabled(true);
    m_Timer1->setEnabled(false);
    // A camera still moving keeps its last command; the status request
    // after a movement follows as after a panel button.
    m_panel.Timer5.setEnabled(true);
}

void frmCenter::send(devicelink::Code code) {
    m_panel.operations.sendCameraCode(code, {devicelink::Origin::Kind::Joystick});
}

void frmCenter::stopMovement() {
    if (m_halted)
        return;
    QList<devicelink::Code> codes = stopAll(m_state);
    // The pan stop that follows a return to the centre is due now.
    if (m_TimerStopTilt->isEnabled() && !codes.contains(devicelink::Code::PanStop))
        codes << devicelink::Code::PanStop;
    for (const devicelink::Code code : std::as_const(codes))
        send(code);
}

void frmCenter::halt() {
    m_halted = true;
    m_Timer1->setEnabled(false);
    m_TimerVel->setEnabled(false);
    m_TimerStopTilt->setEnabled(false);
}

void frmCenter::reportMissingJoystick() {
    // Polling stops before the message, so a stick that has gone away is
    // reported once, not once per tick while the message is up.
    m_Timer1->setEnabled(false);
    m_dialogs.message(QStringLiteral("No joyStick detect!"), ui::Dialogs::Buttons::Ok,
                      ui::Dialogs::Icon::None);
}

void frmCenter::Timer1_Timer() {
    const std::optional<ui::JoystickReading> reading = m_joystick.read();
    if (!reading) {
        reportMissingJoystick();
        return;
    }
    const PollOutcome out = poll(m_geometry, *reading, m_state);
    // The follow-ups are timed from this poll, not from the end of its sends
    // (no send runs the event loop, so they cannot come first).
    if (!m_halted) {
        if (out.speedFollowUp)
            m_TimerVel->setEnabled(true);
        if (out.panStopFollowUp)
            m_TimerStopTilt->setEnabled(true);
    }
    for (const devicelink::Code code : out.codes)
        send(code);
    m_Text1->setText(QString::number(out.vX));
    m_Text2->setText(QString::number(out.vY));
    if (out.lensLabel)
        m_Text3->setText(*out.lensLabel);
}

void frmCenter::TimerVel_Timer() {
    m_TimerVel->setEnabled(false);
    send(static_cast<devicelink::Code>(m_state.speedCode));
}

void frmCenter::TimerStopTilt_Timer() {
    m_TimerStopTilt->setEnabled(false);
    send(devicelink::Code::PanStop);
}

void frmCenter::closeEvent(QCloseEvent *event) {
    if (!m_halted)
        Form_Unload();
    halt();
    event->accept();
}

} // namespace joystick

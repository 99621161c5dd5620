#include "panel/PtzPad.h"

#include "link/CommandCode.h"
#include "link/CommandSink.h"
#include "panel/Controls.h"
#include "ui/HoldButton.h"
#include "ui/Retranslator.h"
#include "ui/SpeedBar.h"
#include "ui/Timer.h"

#include <QCoreApplication>
#include <QLabel>
#include <QScrollBar>

namespace panel {

namespace {

using devicelink::Code;

struct ButtonDesign {
    const char *name;
    const char *caption;
    int left, top, width;
    Code press;
    Code release;
};

// Each axis uses three consecutive codes: start one way, stop, start the other.
constexpr ButtonDesign designs[] = {
    {"up", "Up", 7320, 0, 700, Code::TiltUp, Code::TiltStop},
    {"leftT", "Left", 6960, 240, 700, Code::PanLeft, Code::PanStop},
    {"right", "Right", 7780, 240, 700, Code::PanRight, Code::PanStop},
    {"down", "Down", 7320, 480, 700, Code::TiltDown, Code::TiltStop},
    {"zp", "zoom +", 4800, 120, 975, Code::ZoomIn, Code::ZoomStop},
    {"zm", "zoom -", 5760, 120, 975, Code::ZoomOut, Code::ZoomStop},
    {"fp", "focus +", 4800, 320, 975, Code::FocusNear, Code::FocusStop},
    {"fm", "focus -", 5760, 320, 975, Code::FocusFar, Code::FocusStop},
    {"ip", "iris +", 4800, 530, 975, Code::IrisOpen, Code::IrisStop},
    {"im", "iris -", 5760, 530, 975, Code::IrisClose, Code::IrisStop},
};

QScrollBar *makeSpeedBar(QWidget *parent, const char *name, int top, Code slowest, int speed) {
    const int minimum = devicelink::valueOf(slowest);
    const int value = minimum + speed;
    auto *bar = new ui::SpeedBar(parent);
    bar->setObjectName(QLatin1String(name));
    bar->setRange(minimum, minimum + devicelink::fastestSpeed);
    bar->setSingleStep(1);
    bar->setPageStep(1);
    bar->setValue(value);
    ui::placeInTwips(bar, 6960, top, 1510, 255);
    // The speed it sends, 0 to 7, as the operator moves it; a screen reader
    // hears it as the bar's description.
    const auto tell = [bar, minimum] {
        const int value = bar->value();
        bar->setToolTip(QCoreApplication::translate("panel::PtzPad", "Speed %1 of %2 (code %3)")
                            .arg(value - minimum)
                            .arg(devicelink::fastestSpeed)
                            .arg(devicelink::codeOf(value)));
        bar->setAccessibleDescription(QCoreApplication::translate("panel::PtzPad", "Speed %1 of %2")
                                          .arg(value - minimum)
                                          .arg(devicelink::fastestSpeed));
    };
    QObject::connect(bar, &QScrollBar::valueChanged, bar, tell);
    ui::Retranslator::keep(bar, tell);
    return bar;
}

bool isDirection(PtzPad::Button b) {
    return b <= PtzPad::Down;
}
bool isPan(PtzPad::Button b) {
    return b == PtzPad::Left || b == PtzPad::Right;
}

} // namespace

PtzPad::PtzPad(QWidget *parent, devicelink::CommandSink &sink, ui::Timer &TimerPan,
               ui::Timer &TimerTilt, ui::Timer &Timer5)
    : QObject(parent)
    , m_sink(sink)
    , m_TimerPan(TimerPan)
    , m_TimerTilt(TimerTilt)
    , m_Timer5(Timer5)
    , m_panSink(&sink)
    , m_tiltSink(&sink) {
    for (int i = 0; i < static_cast<int>(std::size(designs)); ++i) {
        const ButtonDesign &d = designs[i];
        auto *button = makeControl<ui::HoldButton>(
            parent, QLatin1String(d.name), QLatin1String(d.caption), d.left, d.top, d.width, 220);
        const auto which = static_cast<Button>(i);
        connect(button, &ui::HoldButton::MouseDown, this, [this, which] { MouseDown(which); });
        connect(button, &ui::HoldButton::MouseUp, this, [this, which] { MouseUp(which); });
        m_captioned.append(button);
        m_buttons.append(button);
    }
    QLabel *pan = makeLabel(parent, QStringLiteral("PanSpeed"), QStringLiteral("Pan Speed"), 6960,
                            800, 1572, 252);
    m_captioned.append(pan);
    m_HScroll1 = makeSpeedBar(parent, "HScroll1", 1050, Code::PanSpeed0, 5);
    QLabel *tilt = makeLabel(parent, QStringLiteral("TiltSpeed"), QStringLiteral("Tilt Speed"),
                             6960, 1420, 1572, 252);
    m_captioned.append(tilt);
    m_HScroll2 = makeSpeedBar(parent, "HScroll2", 1680, Code::TiltSpeed0, 5);
    // Each bar is named by its label, in the language shown.
    pan->setBuddy(m_HScroll1);
    tilt->setBuddy(m_HScroll2);
    connect(&m_TimerPan, &ui::Timer::tick, this, &PtzPad::TimerPan_Timer);
    connect(&m_TimerTilt, &ui::Timer::tick, this, &PtzPad::TimerTilt_Timer);
}

void PtzPad::MouseDown(Button button) {
    MouseDown(button, m_sink);
}

void PtzPad::MouseUp(Button button) {
    MouseUp(button, m_sink);
}

void PtzPad::MouseDown(Button button, devicelink::CommandSink &sink) {
    if (isDirection(button))
        m_Timer5.setEnabled(false);
    sink.send(designs[button].press);
    if (isDirection(button)) {
        (isPan(button) ? m_panSink : m_tiltSink) = &sink;
        (isPan(button) ? m_TimerPan : m_TimerTilt).setEnabled(true);
    }
}

void PtzPad::MouseUp(Button button, devicelink::CommandSink &sink) {
    sink.send(designs[button].release);
    if (isDirection(button))
        m_Timer5.setEnabled(true);
}

void PtzPad::endHolds() {
    for (ui::HoldButton *button : std::as_const(m_buttons))
        button->endHold();
}

void PtzPad::TimerPan_Timer() {
    m_panSink->send(devicelink::codeOf(m_HScroll1->value()));
    m_TimerPan.setEnabled(false);
}

void PtzPad::TimerTilt_Timer() {
    m_tiltSink->send(devicelink::codeOf(m_HScroll2->value()));
    m_TimerTilt.setEnabled(false);
}

} // namespace panel

#include "panel/PtzPad.h"

#include "link/Codes.h"
#include "link/CommandCode.h"
#include "link/Switcher.h"
#include "panel/Controls.h"
#include "ui/HoldButton.h"
#include "ui/Retranslator.h"
#include "ui/SpeedBar.h"

#include <QCoreApplication>
#include <QLabel>
#include <QScrollBar>

namespace panel {

namespace {

using devicelink::Code;
using devicelink::Move;

struct ButtonDesign {
    const char *name;
    const char *caption;
    int left, top, width;
    Move move;
};

constexpr ButtonDesign designs[] = {
    {"up", "Up", 7320, 0, 700, Move::Up},
    {"leftT", "Left", 6960, 240, 700, Move::Left},
    {"right", "Right", 7780, 240, 700, Move::Right},
    {"down", "Down", 7320, 480, 700, Move::Down},
    {"zp", "zoom +", 4800, 120, 975, Move::ZoomIn},
    {"zm", "zoom -", 5760, 120, 975, Move::ZoomOut},
    {"fp", "focus +", 4800, 320, 975, Move::FocusNear},
    {"fm", "focus -", 5760, 320, 975, Move::FocusFar},
    {"ip", "iris +", 4800, 530, 975, Move::IrisOpen},
    {"im", "iris -", 5760, 530, 975, Move::IrisClose},
};

// A speed bar is a view of the speed the switcher's operations hold: its
// value is the speed's code, 0x90 to 0x97 for the pan, 0x98 to 0x9F for the tilt.
QScrollBar *makeSpeedBar(QWidget *parent, const char *name, int top, Code slowest,
                         devicelink::Switcher &switcher, devicelink::Axis axis) {
    const int minimum = devicelink::valueOf(slowest);
    const int value = minimum + switcher.speed(axis);
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
    QObject::connect(
        bar, &QScrollBar::valueChanged, &switcher,
        [&switcher, axis, minimum](int value) { switcher.setSpeed(axis, value - minimum); });
    QObject::connect(&switcher, &devicelink::Switcher::speedChanged, bar,
                     [bar, axis, minimum](devicelink::Axis changed, int speed) {
                         if (changed == axis)
                             bar->setValue(minimum + speed);
                     });
    ui::Retranslator::keep(bar, tell);
    return bar;
}

} // namespace

PtzPad::PtzPad(QWidget *parent, devicelink::Switcher &switcher)
    : QObject(parent)
    , m_switcher(switcher) {
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
    m_HScroll1 =
        makeSpeedBar(parent, "HScroll1", 1050, Code::PanSpeed0, switcher, devicelink::Axis::Pan);
    QLabel *tilt = makeLabel(parent, QStringLiteral("TiltSpeed"), QStringLiteral("Tilt Speed"),
                             6960, 1420, 1572, 252);
    m_captioned.append(tilt);
    m_HScroll2 =
        makeSpeedBar(parent, "HScroll2", 1680, Code::TiltSpeed0, switcher, devicelink::Axis::Tilt);
    // Each bar is named by its label, in the language shown.
    pan->setBuddy(m_HScroll1);
    tilt->setBuddy(m_HScroll2);
}

devicelink::Move PtzPad::move(Button button) {
    return designs[button].move;
}

void PtzPad::MouseDown(Button button) {
    m_switcher.startMove(designs[button].move, {devicelink::Origin::Kind::Panel});
}

void PtzPad::MouseUp(Button button) {
    m_switcher.stopMove(designs[button].move, {devicelink::Origin::Kind::Panel});
}

void PtzPad::endHolds() {
    for (ui::HoldButton *button : std::as_const(m_buttons))
        button->endHold();
}

} // namespace panel

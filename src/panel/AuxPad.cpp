#include "panel/AuxPad.h"

#include "link/Codes.h"
#include "link/CommandSink.h"
#include "panel/Controls.h"
#include "ui/ColourButton.h"
#include "ui/Timer.h"

#include <optional>

namespace panel {

namespace {
using devicelink::Code;

struct AuxDesign {
    const char *name;
    const char *caption;
    int left, top, width, height;
    Code code;
    std::optional<Code> then;
    bool followUp;
};

constexpr AuxDesign designs[] = {
    {"seq", "Seq", 4800, 730, 975, 220, Code::Sequence, std::nullopt, false},
    {"Wiper", "Wiper", 5760, 730, 975, 220, Code::Wiper, std::nullopt, true},
    {"AP", "A/P", 4800, 930, 975, 220, Code::AutoPan, std::nullopt, false},
    {"Lamps", "Lamps", 5760, 930, 975, 220, Code::Lamps, std::nullopt, true},
    {"Aux", "Aux", 4800, 1140, 975, 220, Code::Aux, std::nullopt, true},
    // Tour is the tour start followed at once by the A/P code.
    {"Tour", "Tour", 6960, 2040, 1500, 240, Code::PresetBegin, Code::AutoPan, false},
};
} // namespace

AuxPad::AuxPad(QWidget *parent, devicelink::CommandSink &sink, ui::Timer &Timer4, ui::Timer &Timer3)
    : QObject(parent)
    , m_sink(sink)
    , m_Timer4(Timer4)
    , m_Timer3(Timer3) {
    for (int i = 0; i < static_cast<int>(std::size(designs)); ++i) {
        const AuxDesign &d = designs[i];
        auto *button = makeButton(parent, QLatin1String(d.name), QLatin1String(d.caption), d.left,
                                  d.top, d.width, d.height);
        const auto which = static_cast<Button>(i);
        connect(button, &QPushButton::clicked, this, [this, which] { Click(which); });
        m_captioned.append(button);
    }
    connect(&m_Timer4, &ui::Timer::tick, this, &AuxPad::Timer4_Timer);
}

void AuxPad::Click(Button button) {
    const AuxDesign &d = designs[button];
    m_sink.send(d.code);
    if (d.then)
        m_sink.send(*d.then);
    if (d.followUp)
        m_Timer4.setEnabled(true);
}

void AuxPad::Timer4_Timer() {
    m_Timer4.setEnabled(false);
    // The status request is timed from this tick, not from the end of the
    // send below (no send runs the event loop, so it cannot come first).
    m_Timer3.setEnabled(true);
    m_sink.send(Code::AuxRelease);
}

} // namespace panel

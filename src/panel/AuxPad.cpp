#include "panel/AuxPad.h"

#include "link/Switcher.h"
#include "panel/Controls.h"
#include "ui/ColourButton.h"

namespace panel {

namespace {
using devicelink::Auxiliary;

struct AuxDesign {
    const char *name;
    const char *caption;
    int left, top, width, height;
    Auxiliary function;
};

constexpr AuxDesign designs[] = {
    {"seq", "Seq", 4800, 730, 975, 220, Auxiliary::Sequence},
    {"Wiper", "Wiper", 5760, 730, 975, 220, Auxiliary::Wiper},
    {"AP", "A/P", 4800, 930, 975, 220, Auxiliary::AutoPan},
    {"Lamps", "Lamps", 5760, 930, 975, 220, Auxiliary::Lamps},
    {"Aux", "Aux", 4800, 1140, 975, 220, Auxiliary::Aux},
    {"Tour", "Tour", 6960, 2040, 1500, 240, Auxiliary::Tour},
};
} // namespace

AuxPad::AuxPad(QWidget *parent, devicelink::Switcher &switcher)
    : QObject(parent)
    , m_switcher(switcher) {
    for (int i = 0; i < static_cast<int>(std::size(designs)); ++i) {
        const AuxDesign &d = designs[i];
        auto *button = makeButton(parent, QLatin1String(d.name), QLatin1String(d.caption), d.left,
                                  d.top, d.width, d.height);
        const auto which = static_cast<Button>(i);
        connect(button, &QPushButton::clicked, this, [this, which] { Click(which); });
        m_captioned.append(button);
    }
}

void AuxPad::Click(Button button) {
    m_switcher.auxiliary(designs[button].function, {devicelink::Origin::Kind::Panel});
}

} // namespace panel

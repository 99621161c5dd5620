#include "panel/PresetPad.h"

#include "link/Operations.h"
#include "panel/Controls.h"
#include "ui/ColourButton.h"
#include "ui/Retranslator.h"

#include <QCheckBox>

namespace panel {

namespace {
// The designed names: upper-case P3 to P8, lower case for the rest.
QString presetName(int n) {
    return QStringLiteral("%1%2")
        .arg(n >= 3 && n <= 8 ? QLatin1Char('P') : QLatin1Char('p'))
        .arg(n);
}

constexpr int lefts[] = {4800, 5160, 5520, 5880, 6240};
} // namespace

PresetPad::PresetPad(QWidget *parent, devicelink::Operations &operations)
    : QObject(parent)
    , m_operations(operations) {
    m_store = makeControl<QCheckBox>(parent, QStringLiteral("store"),
                                     QStringLiteral("Store Preset"), 4800, 1440, 1455, 220);
    for (int n = 1; n <= 16; ++n) {
        // p1 ends the check box's row; the other fifteen form three rows of five.
        const int left = n == 1 ? 6240 : lefts[(n - 2) % 5];
        const int top = n == 1 ? 1470 : 1680 + ((n - 2) / 5) * 210;
        auto *button = makeButton(parent, presetName(n), QString::number(n), left, top, 375, 220);
        connect(button, &QPushButton::clicked, this, [this, n] { p_Click(n); });
        m_buttons.append(button);
    }
    ui::Retranslator::keep(
        parent,
        [this] {
            for (int n = 1; n <= m_buttons.size(); ++n)
                m_buttons[n - 1]->setAccessibleName(tr("Preset %1").arg(n));
        },
        this);
    // Whoever started a sequence, the keys wait for its end.
    connect(&operations, &devicelink::Operations::presetRunningChanged, this,
            [this](bool running) { setButtonsEnabled(!running); });
    connect(&operations, &devicelink::Operations::presetStored, this,
            [this] { m_store->setChecked(false); });
    setButtonsEnabled(!operations.presetRunning());
}

void PresetPad::setButtonsEnabled(bool enabled) {
    for (ui::ColourButton *button : m_buttons)
        button->setEnabled(enabled);
}

void PresetPad::p_Click(int preset) {
    // The check box is read at the click; a change during the sequence
    // changes nothing of it.
    const devicelink::Origin panel{devicelink::Origin::Kind::Panel};
    if (m_store->isChecked())
        m_operations.storePreset(preset, panel);
    else
        m_operations.recallPreset(preset, panel);
}

} // namespace panel

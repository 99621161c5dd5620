#include "panel/PresetPad.h"

#include "link/Codes.h"
#include "link/CommandCode.h"
#include "link/CommandSink.h"
#include "panel/Controls.h"
#include "ui/ColourButton.h"
#include "ui/Retranslator.h"
#include "ui/Timer.h"

#include <QCheckBox>
#include <optional>

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

PresetPad::PresetPad(QWidget *parent, devicelink::CommandSink &sink, ui::Timer &TimerSet,
                     ui::Timer &TimerStore)
    : QObject(parent)
    , m_sink(sink)
    , m_TimerSet(TimerSet)
    , m_TimerStore(TimerStore)
    , m_sequenceSink(&sink) {
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
    connect(&m_TimerSet, &ui::Timer::tick, this, &PresetPad::TimerSet_Timer);
    connect(&m_TimerStore, &ui::Timer::tick, this, &PresetPad::TimerStore_Timer);
}

void PresetPad::setButtonsEnabled(bool enabled) {
    for (ui::ColourButton *button : m_buttons)
        button->setEnabled(enabled);
}

void PresetPad::p_Click(int preset) {
    start(preset, m_store->isChecked(), m_sink);
}

bool PresetPad::recall(int preset, devicelink::CommandSink &sink) {
    if (preset < 1 || preset > m_buttons.size() || !m_buttons[preset - 1]->isEnabled())
        return false;
    start(preset, false, sink);
    return true;
}

void PresetPad::start(int preset, bool store, devicelink::CommandSink &sink) {
    m_sequenceSink = &sink;
    (store ? m_TimerStore : m_TimerSet).setEnabled(true);
    PresetKey = devicelink::numberCode(preset);
    setButtonsEnabled(false);
}

void PresetPad::TimerSet_Timer() {
    switch (PresetStep) {
    case 0:
        m_sequenceSink->send(devicelink::Code::PresetBegin);
        PresetStep = 1;
        break;
    case 1:
        m_sequenceSink->send(PresetKey);
        PresetStep = 2;
        break;
    case 2:
        m_sequenceSink->send(devicelink::Code::PresetEnd);
        PresetStep = 0;
        m_TimerSet.setEnabled(false);
        setButtonsEnabled(true);
        break;
    default:
        break;
    }
}

void PresetPad::TimerStore_Timer() {
    using devicelink::Code;
    // The store sequence; the preset's own number goes in the middle.
    static const std::optional<Code> codes[] = {Code::PresetStoreBegin, Code::PresetBegin,
                                                std::nullopt, Code::PresetStoreNumber,
                                                Code::PresetEnd};
    if (PresetStep < 0 || PresetStep > 4)
        return;
    if (const std::optional<Code> code = codes[PresetStep])
        m_sequenceSink->send(*code);
    else
        m_sequenceSink->send(PresetKey);
    if (PresetStep < 4) {
        ++PresetStep;
        return;
    }
    PresetStep = 0;
    m_TimerStore.setEnabled(false);
    m_store->setChecked(false);
    setButtonsEnabled(true);
}

} // namespace panel

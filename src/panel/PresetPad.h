#pragma once

#include <QList>
#include <QObject>
#include <QString>

class QCheckBox;
class QWidget;

namespace devicelink {
class CommandSink;
}
namespace ui {
class ColourButton;
class Timer;
} // namespace ui

namespace panel {

// Sixteen preset buttons and "Store Preset". A click only picks the preset
// and starts a timer; the timer sends the recall (5D, n, 5E every 100 ms) or
// store (F7, 5D, n, F8, 5E every 200 ms) sequence, with the buttons disabled
// until it ends so that sequences never overlap.
class PresetPad : public QObject {
    Q_OBJECT
public:
    PresetPad(QWidget *parent, devicelink::CommandSink &sink, ui::Timer &TimerSet,
              ui::Timer &TimerStore);

    void p_Click(int preset); // p1_Click .. p16_Click
    // Recalls a preset as a click with "Store Preset" clear does, through
    // another source's sink (the keyboard's). Refused (false) while a
    // sequence runs, as the disabled buttons are.
    bool recall(int preset, devicelink::CommandSink &sink);
    void TimerSet_Timer();
    void TimerStore_Timer();

    QCheckBox *store() const { return m_store; }
    const QList<ui::ColourButton *> &buttons() const { return m_buttons; }

    // The next code's place in the running sequence; 0 when idle.
    qint16 PresetStep = 0;
    // The number code of the preset last chosen.
    QString PresetKey;

private:
    void setButtonsEnabled(bool enabled);
    void start(int preset, bool store, devicelink::CommandSink &sink);

    devicelink::CommandSink &m_sink;
    ui::Timer &m_TimerSet;
    ui::Timer &m_TimerStore;
    devicelink::CommandSink *m_sequenceSink; // the running sequence's source
    QCheckBox *m_store;
    QList<ui::ColourButton *> m_buttons;
};

} // namespace panel

#pragma once

#include <QList>
#include <QObject>
#include <QString>

class QCheckBox;
class QWidget;

namespace devicelink {
class Operations;
}
namespace ui {
class ColourButton;
}

namespace panel {

// Sixteen preset buttons and "Store Preset". A click asks the switcher's
// operations for the recall (5D, n, 5E every 100 ms) or the store (F7, 5D,
// n, F8, 5E every 200 ms) of the preset; the buttons are disabled while any
// preset sequence runs, so that sequences never overlap, and a store clears
// the check box when it ends.
class PresetPad : public QObject {
    Q_OBJECT
public:
    PresetPad(QWidget *parent, devicelink::Operations &operations);

    void p_Click(int preset); // p1_Click .. p16_Click

    QCheckBox *store() const { return m_store; }
    const QList<ui::ColourButton *> &buttons() const { return m_buttons; }

private:
    void setButtonsEnabled(bool enabled);

    devicelink::Operations &m_operations;
    QCheckBox *m_store;
    QList<ui::ColourButton *> m_buttons;
};

} // namespace panel

#pragma once

#include <QList>
#include <QObject>

class QAction;
class QLabel;
class QMenu;
class QWidget;

namespace devicelink {
class Switcher;
}
namespace ui {
class ColourButton;
}

namespace panel {

// The routing keypad: sixteen camera buttons with their title labels, four
// monitor buttons, and the (hidden) Mon menu. Each press asks the switcher's
// operations for the selection (one code, then the status request a second
// later); nothing here colours a button.
class SelectionPad : public QObject {
    Q_OBJECT
public:
    SelectionPad(QWidget *parent, QMenu *monMenu, devicelink::Switcher &switcher);

    void C_Click(int camera);  // C1_Click .. C16_Click
    void M_Click(int monitor); // M1_Click .. M4_Click
    void Mon_Click(int item);  // Mon1_Click .. Mon4_Click
    // Shows a camera's title beside its button; a screen reader hears the
    // button as "Camera 5, GATE NORTH".
    void setTitle(int camera, const QString &title);

    const QList<ui::ColourButton *> &cameras() const { return m_cameras; }
    const QList<ui::ColourButton *> &monitors() const { return m_monitors; }
    const QList<QLabel *> &titles() const { return m_titles; }
    const QList<QAction *> &monItems() const { return m_monItems; }

private:
    // What a screen reader calls camera button n: its number and title.
    void nameCamera(int camera);

    devicelink::Switcher &m_switcher;
    QList<ui::ColourButton *> m_cameras;
    QList<QLabel *> m_titles;
    QList<ui::ColourButton *> m_monitors;
    QList<QAction *> m_monItems;
};

} // namespace panel

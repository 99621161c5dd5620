#pragma once

#include <QList>
#include <QObject>

class QAction;
class QLabel;
class QMenu;
class QWidget;

namespace devicelink {
class CommandSink;
}
namespace ui {
class ColourButton;
class Timer;
} // namespace ui

namespace panel {

// The routing keypad: sixteen camera buttons with their title labels, four
// monitor buttons, and the (hidden) Mon menu. Each press sends one code and
// arms the status request; nothing here colours a button.
class SelectionPad : public QObject {
    Q_OBJECT
public:
    SelectionPad(QWidget *parent, QMenu *monMenu, devicelink::CommandSink &sink, ui::Timer &Timer3);

    void C_Click(int camera);  // C1_Click .. C16_Click
    void M_Click(int monitor); // M1_Click .. M4_Click
    // The same, sent through another source's sink (the keyboard's).
    void C_Click(int camera, devicelink::CommandSink &sink);
    void M_Click(int monitor, devicelink::CommandSink &sink);
    void Mon_Click(int item); // Mon1_Click .. Mon4_Click
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

    devicelink::CommandSink &m_sink;
    ui::Timer &m_Timer3;
    QList<ui::ColourButton *> m_cameras;
    QList<QLabel *> m_titles;
    QList<ui::ColourButton *> m_monitors;
    QList<QAction *> m_monItems;
};

} // namespace panel

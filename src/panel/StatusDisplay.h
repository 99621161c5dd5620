#pragma once

#include <QColor>
#include <QList>
#include <QMetaObject>
#include <QPointer>
#include <QSet>
#include <QString>

class QWidget;
namespace devicelink {
struct StatusReply;
}
namespace ui {
class ColourButton;
class FramePacer;
} // namespace ui

namespace panel {

// Shows the routing a status reply names: the named camera and monitor
// buttons lit green, the others in the window's current background colour.
// The buttons' own clicks never colour them, so the panel shows what the
// switcher reported, not what the operator pressed.
//
// The buttons take their colours at once; with a pacer they repaint at its
// frames, so a line full of text, every read of which decodes as a reply,
// repaints them once a frame instead of once a read.
class StatusDisplay {
public:
    static const QColor lit;

    StatusDisplay(QWidget &window, QList<ui::ColourButton *> cameras,
                  QList<ui::ColourButton *> monitors, ui::FramePacer *pacer = nullptr);
    ~StatusDisplay();
    StatusDisplay(const StatusDisplay &) = delete;
    StatusDisplay &operator=(const StatusDisplay &) = delete;

    // Lights the camera and the monitor a decoded reply names; a reply that
    // names no camera leaves the camera buttons as they are.
    void show(const devicelink::StatusReply &reply);

private:
    void colour(ui::ColourButton *button, const QColor &colour, const char *litText);
    void repaintChanged();

    QWidget &m_window;
    QList<ui::ColourButton *> m_cameras;
    QList<ui::ColourButton *> m_monitors;
    ui::FramePacer *m_pacer;
    QMetaObject::Connection m_frame;
    QSet<ui::ColourButton *> m_changed;
    QPointer<QObject> m_retranslator; // gone with the buttons, or with this
};

} // namespace panel

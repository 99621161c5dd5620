#pragma once

#include "link/RoutingModel.h"

#include <QColor>
#include <QHash>
#include <QList>
#include <QMetaObject>
#include <QPointer>
#include <QSet>
#include <QString>

class QWidget;
namespace ui {
class ColourButton;
class FramePacer;
} // namespace ui

namespace panel {

// Shows what the routing model says is lit: the camera and monitor buttons a
// status reply named lit green, the others in the window's current
// background colour, and a dashed mark on a lit button while what it shows
// is from before a loss, a reopen or a change of channel. The buttons' own
// clicks never colour them, so the panel shows what the switcher reported,
// not what the operator pressed.
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

    // Lights the camera and the monitor; with no camera lit yet the camera
    // buttons are left as they are (a reply that named none).
    void show(const devicelink::RoutingModel::Lit &lit);
    // A monitor locked by another source (holder empty: none) carries a
    // notch in its corner, and a screen reader hears who holds it.
    void showLock(int monitor, const QString &holder);

private:
    void colour(ui::ColourButton *button, const QColor &colour, bool stale, const char *litText);
    // What a screen reader hears of a button: lit, not confirmed, locked.
    void describe(ui::ColourButton *button, const char *litText) const;
    void repaintChanged();

    QWidget &m_window;
    QList<ui::ColourButton *> m_cameras;
    QList<ui::ColourButton *> m_monitors;
    ui::FramePacer *m_pacer;
    QMetaObject::Connection m_frame;
    QSet<ui::ColourButton *> m_changed;
    QHash<ui::ColourButton *, QString> m_lockHolders;
    // What the buttons show now, in which unlit colour.
    bool m_drawn = false;
    devicelink::RoutingModel::Lit m_drawnLit;
    QColor m_drawnUnlit;
    QPointer<QObject> m_retranslator; // gone with the buttons, or with this
};

} // namespace panel

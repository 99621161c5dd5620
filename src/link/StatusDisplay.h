#pragma once

#include <QColor>
#include <QList>
#include <QString>

class QWidget;
namespace ui {
class ColourButton;
}

namespace devicelink {

// Shows the routing a status reply names: the named camera and monitor
// buttons lit green, the others in the window's current background colour.
// The buttons' own clicks never colour them, so the panel shows what the
// switcher reported, not what the operator pressed.
class StatusDisplay {
public:
    static const QColor lit;

    StatusDisplay(QWidget &window, QList<ui::ColourButton *> cameras,
                  QList<ui::ColourButton *> monitors);

    void DecodeStatusReply(const QString &text);

private:
    QWidget &m_window;
    QList<ui::ColourButton *> m_cameras;
    QList<ui::ColourButton *> m_monitors;
};

} // namespace devicelink

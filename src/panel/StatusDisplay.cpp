#include "panel/StatusDisplay.h"

#include "link/StatusReply.h"
#include "ui/ColourButton.h"
#include "ui/FramePacer.h"

#include <QWidget>

namespace panel {

const QColor StatusDisplay::lit(0, 192, 0);

StatusDisplay::StatusDisplay(QWidget &window, QList<ui::ColourButton *> cameras,
                             QList<ui::ColourButton *> monitors, ui::FramePacer *pacer)
    : m_window(window)
    , m_cameras(std::move(cameras))
    , m_monitors(std::move(monitors))
    , m_pacer(pacer) {
    if (m_pacer)
        m_frame = QObject::connect(m_pacer, &ui::FramePacer::frame, m_pacer,
                                   [this] { repaintChanged(); });
}

StatusDisplay::~StatusDisplay() {
    QObject::disconnect(m_frame);
}

void StatusDisplay::show(const devicelink::StatusReply &reply) {
    // Read at each write so the unlit buttons always match the window.
    const QColor unlit = m_window.palette().color(QPalette::Window);
    if (reply.camera != 0) {
        for (int i = 0; i < m_cameras.size(); ++i)
            colour(m_cameras[i], i + 1 == reply.camera ? lit : unlit);
    }
    for (int i = 0; i < m_monitors.size(); ++i)
        colour(m_monitors[i], i + 1 == reply.monitor ? lit : unlit);
    if (m_changed.isEmpty())
        return;
    if (m_pacer)
        m_pacer->request();
    else
        repaintChanged();
}

void StatusDisplay::colour(ui::ColourButton *button, const QColor &colour) {
    if (button->changeFace(colour))
        m_changed.insert(button);
}

void StatusDisplay::repaintChanged() {
    for (ui::ColourButton *button : std::as_const(m_changed))
        button->update();
    m_changed.clear();
}

} // namespace panel

#include "link/StatusDisplay.h"

#include "link/StatusReply.h"
#include "ui/ColourButton.h"

#include <QWidget>

namespace devicelink {

const QColor StatusDisplay::lit(0, 192, 0);

StatusDisplay::StatusDisplay(QWidget &window, QList<ui::ColourButton *> cameras,
                             QList<ui::ColourButton *> monitors)
    : m_window(window)
    , m_cameras(std::move(cameras))
    , m_monitors(std::move(monitors)) {}

void StatusDisplay::DecodeStatusReply(const QString &text) {
    const StatusReply reply = StatusReply::decode(text);
    // Read at each write so the unlit buttons always match the window.
    const QColor unlit = m_window.palette().color(QPalette::Window);
    if (reply.camera != 0) {
        for (int i = 0; i < m_cameras.size(); ++i)
            m_cameras[i]->setFace(i + 1 == reply.camera ? lit : unlit);
    }
    for (int i = 0; i < m_monitors.size(); ++i)
        m_monitors[i]->setFace(i + 1 == reply.monitor ? lit : unlit);
}

} // namespace devicelink

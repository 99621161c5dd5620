#include "ui/FramePacer.h"

namespace ui {

FramePacer::FramePacer(QObject *parent)
    : QObject(parent) {
    m_timer.setSingleShot(true);
    m_timer.setTimerType(Qt::PreciseTimer);
    connect(&m_timer, &QTimer::timeout, this, &FramePacer::fire);
}

void FramePacer::request() {
    if (m_timer.isActive())
        return;
    const qint64 since = m_sinceFrame.isValid() ? m_sinceFrame.elapsed() : frameMs;
    if (since >= frameMs)
        fire();
    else
        m_timer.start(static_cast<int>(frameMs - since));
}

void FramePacer::fire() {
    m_timer.stop();
    m_sinceFrame.start();
    emit frame();
}

} // namespace ui

#include "ui/Timer.h"

namespace ui {

Timer::Timer(const QString &name, int intervalMs, bool enabled, QObject *parent)
    : QObject(parent) {
    setObjectName(name);
    m_timer.setTimerType(Qt::PreciseTimer);
    m_timer.setInterval(intervalMs);
    connect(&m_timer, &QTimer::timeout, this, &Timer::tick);
    setEnabled(enabled);
}

void Timer::setEnabled(bool enabled) {
    if (enabled == m_timer.isActive())
        return;
    if (enabled)
        m_timer.start();
    else
        m_timer.stop();
}

void Timer::setInterval(int ms) {
    m_timer.setInterval(ms);
}

} // namespace ui

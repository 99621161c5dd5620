#include "LogThrottle.h"

namespace sim {

void LogThrottle::roll(qint64 nowMs) {
    if (!m_started || nowMs - m_windowStart >= 1000 || nowMs < m_windowStart) {
        m_heldBackDone += m_heldBack;
        m_heldBack = 0;
        m_written = 0;
        m_windowStart = nowMs;
        m_started = true;
    }
}

bool LogThrottle::admit(qint64 nowMs) {
    roll(nowMs);
    if (m_written < m_limit) {
        ++m_written;
        return true;
    }
    ++m_heldBack;
    return false;
}

qint64 LogThrottle::takeHeldBack(qint64 nowMs) {
    roll(nowMs);
    const qint64 n = m_heldBackDone;
    m_heldBackDone = 0;
    return n;
}

} // namespace sim

#pragma once

#include <QtGlobal>

namespace sim {

// Caps the log at a number of lines per second, so that a flood of input
// cannot drown the terminal; the lines held back are counted and reported
// once the second is over.
class LogThrottle {
public:
    explicit LogThrottle(int linesPerSecond)
        : m_limit(linesPerSecond) {}

    // Whether a line may be written now; counts it as held back if not.
    bool admit(qint64 nowMs);
    // Lines held back in a second that has ended, then forgotten; 0 while
    // the current second is still running.
    qint64 takeHeldBack(qint64 nowMs);

private:
    void roll(qint64 nowMs);

    int m_limit;
    qint64 m_windowStart = 0;
    bool m_started = false;
    int m_written = 0;
    qint64 m_heldBack = 0;     // in the current second
    qint64 m_heldBackDone = 0; // in seconds already over, not yet reported
};

} // namespace sim

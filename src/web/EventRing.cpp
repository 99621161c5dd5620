#include "web/EventRing.h"

namespace web {

void EventRing::add(const events::Event &event) {
    if (m_events.size() < capacity) {
        m_events.append(event);
        return;
    }
    m_events[m_next] = event;
    m_next = (m_next + 1) % capacity;
}

QList<events::Event> EventRing::latest(int count) const {
    const int n = qBound(0, count, int(m_events.size()));
    QList<events::Event> out;
    out.reserve(n);
    const int size = int(m_events.size());
    const int oldest = size < capacity ? 0 : m_next;
    for (int i = size - n; i < size; ++i)
        out.append(m_events[(oldest + i) % size]);
    return out;
}

} // namespace web

#pragma once

#include "events/Event.h"

#include <QList>

namespace web {

// The latest events of the log, as the browser panel shows them: a ring of
// the newest 200, so that a page that opens sees what just happened without
// a query of the store.
class EventRing {
public:
    static constexpr int capacity = 200;

    void add(const events::Event &event);
    // The newest `count` at most, oldest first.
    QList<events::Event> latest(int count) const;
    int size() const { return int(m_events.size()); }

private:
    QList<events::Event> m_events; // a ring: m_next is the oldest once full
    int m_next = 0;
};

} // namespace web

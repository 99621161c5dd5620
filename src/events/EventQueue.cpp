#include "events/EventQueue.h"

#include <QMutexLocker>

#include <utility>

namespace events {

EventQueue::EventQueue(qsizetype capacity)
    : m_capacity(qMax<qsizetype>(1, capacity)) {}

bool EventQueue::push(const Event &event) {
    Item item{event, event.bytes.size()};
    // A copy of at most keptBytes: a reader's buffer, however large, is not
    // kept alive by the queue.
    item.event.bytes =
        QByteArray(event.bytes.constData(), qMin(event.bytes.size(), EventText::keptBytes));
    const QMutexLocker lock(&m_mutex);
    if (qsizetype(m_items.size()) + m_held >= m_capacity) {
        if (m_dropped++ == 0)
            m_firstDroppedAt = event.at;
        return false;
    }
    noteDropped();
    m_items.push_back(std::move(item));
    if (m_scheduled)
        return false;
    m_scheduled = true;
    return true;
}

void EventQueue::takeInto(std::vector<Item> &into) {
    const QMutexLocker lock(&m_mutex);
    noteDropped();
    if (into.empty())
        into.swap(m_items);
    else
        into.insert(into.end(), std::make_move_iterator(m_items.begin()),
                    std::make_move_iterator(m_items.end()));
    m_items.clear();
    m_held = qsizetype(into.size());
    m_scheduled = false;
}

void EventQueue::noteDropped() {
    if (m_dropped == 0)
        return;
    Event note;
    note.at = m_firstDroppedAt;
    note.origin = QStringLiteral("event log");
    note.meaning = QStringLiteral("%1 events not recorded").arg(std::exchange(m_dropped, 0));
    m_items.push_back({std::move(note), droppedNote});
}

void EventQueue::setHeld(qsizetype held) {
    const QMutexLocker lock(&m_mutex);
    m_held = held;
}

} // namespace events

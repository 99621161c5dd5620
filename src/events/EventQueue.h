#pragma once

#include "events/Event.h"

#include <QMutex>
#include <vector>

namespace events {

// The hand-over between the threads that append events and the log's writer.
// Bounded: what the writer holds and what waits here together never pass the
// capacity, and an event beyond it is counted instead of kept, so a flood
// the disk cannot follow costs a fixed amount of memory.
class EventQueue {
public:
    struct Item {
        Event event;         // its bytes cut to EventText::keptBytes
        qsizetype wholeSize; // the frame's length before the cut, or droppedNote
    };
    // The wholeSize of the row that counts events the queue dropped.
    static constexpr qsizetype droppedNote = -1;

    explicit EventQueue(qsizetype capacity);

    // True when the writer must be told that events wait (the first since it
    // last took them). A full queue counts the event as dropped.
    bool push(const Event &event);
    // Moves what waits to the end of into, which the writer holds until
    // released(). Events dropped are one row ("N events not recorded", at
    // the time of the first of them) in the place where they were dropped:
    // before the first event kept after them, or last.
    void takeInto(std::vector<Item> &into);
    // The writer holds this many (written or not) after its last take.
    void setHeld(qsizetype held);

private:
    mutable QMutex m_mutex;
    std::vector<Item> m_items;
    qsizetype m_capacity;
    qsizetype m_held = 0;
    bool m_scheduled = false;
    qint64 m_dropped = 0;
    qint64 m_firstDroppedAt = 0;

    void noteDropped(); // with the lock held
};

} // namespace events

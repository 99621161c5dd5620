#include "remote/RoutePacer.h"

#include "remote/Router.h"

#include <algorithm>

namespace remote {

namespace {
constexpr qint64 interval = qint64(RoutePacer::intervalMs) * 1000 * 1000;
constexpr qint64 slack = (RoutePacer::burst - 1) * interval;
} // namespace

RoutePacer::RoutePacer(Router &router, QObject *parent)
    : QObject(parent)
    , m_router(router) {
    m_clock.start();
    m_timer.setSingleShot(true);
    m_timer.setTimerType(Qt::PreciseTimer);
    connect(&m_timer, &QTimer::timeout, this, &RoutePacer::dispatch);
}

bool RoutePacer::offer(quint64 client, const QString &source, const QList<protocol::Route> &routes,
                       Done done) {
    const auto queue = m_queues.constFind(client);
    const qsizetype queued = queue == m_queues.cend() ? 0 : qsizetype(queue->size());
    const qsizetype after = queued + routes.size();
    if (after > perClient)
        return false;
    // A full queue still takes a client that holds less than its share of it,
    // so that a few busy clients cannot shut the others out; the busy ones
    // then shrink to their share as their routes leave.
    if (m_waiting + routes.size() > total) {
        const qsizetype sharing = m_queues.size() + (queued == 0 ? 1 : 0);
        if (after > total / sharing)
            return false;
    }
    if (routes.isEmpty()) {
        if (done)
            done(true);
        return true;
    }
    auto block = std::make_shared<Block>(Block{int(routes.size()), true, std::move(done)});
    std::deque<Entry> &entries = m_queues[client];
    if (entries.empty())
        m_turns.push_back(client);
    for (const protocol::Route &route : routes)
        entries.push_back({route, source, block});
    m_waiting += int(routes.size());
    dispatch();
    return true;
}

// A virtual schedule: every route moves m_due one interval on from now (or
// from where it stood); a route may go while m_due is less than a burst ahead.
void RoutePacer::dispatch() {
    if (m_dispatching)
        return;
    m_dispatching = true;
    while (!m_turns.empty()) {
        const qint64 now = m_clock.nsecsElapsed();
        if (m_due - slack > now) {
            const qint64 wait = m_due - slack - now;
            m_timer.start(int((wait + 999999) / 1000000));
            break;
        }
        const quint64 client = m_turns.front();
        m_turns.pop_front();
        std::deque<Entry> &entries = m_queues[client];
        const Entry entry = std::move(entries.front());
        entries.pop_front();
        if (entries.empty())
            m_queues.remove(client);
        else
            m_turns.push_back(client);
        --m_waiting;
        m_due = std::max(m_due, now) + interval;
        m_router.route(entry.route.output, entry.route.input, entry.source,
                       [block = entry.block](bool left) {
                           block->allLeft = block->allLeft && left;
                           if (--block->left == 0 && block->done)
                               block->done(block->allLeft);
                       });
    }
    m_dispatching = false;
}

} // namespace remote

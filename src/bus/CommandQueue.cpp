#include "bus/CommandQueue.h"

#include <QPointer>
#include <algorithm>

namespace bus {

CommandQueue::CommandQueue(int answerMs, QObject *parent)
    : QObject(parent)
    , m_answerMs(answerMs) {
    m_clock.start();
    m_deadlines.setTimerType(Qt::PreciseTimer);
    m_deadlines.setInterval(qBound(10, answerMs / 4, 1000));
    connect(&m_deadlines, &QTimer::timeout, this, &CommandQueue::checkDeadlines);
    m_pace.setSingleShot(true);
    m_pace.setTimerType(Qt::PreciseTimer);
    connect(&m_pace, &QTimer::timeout, this, &CommandQueue::pump);
}

CommandQueue::~CommandQueue() = default;

void CommandQueue::offer(Job job, devicelink::Done answer) {
    // Whatever holds them back (the running ones or the pace), no more than
    // the waiting places wait.
    if (m_waiting.size() >= size_t(waitingLimit)) {
        answer(devicelink::Outcome::refused(
            QStringLiteral("queue full: %1 commands wait for the switcher")
                .arg(m_running.size() + m_waiting.size())));
        return;
    }
    m_waiting.push_back({std::move(job), std::move(answer)});
    pump();
}

void CommandQueue::dropWaiting(const QString &why) {
    std::deque<Waiting> dropped;
    dropped.swap(m_waiting);
    for (Waiting &w : dropped)
        w.answer(devicelink::Outcome::refused(why));
}

void CommandQueue::pump() {
    // An operation may end before it returns, and its answer may offer the
    // next command: one loop hands them out, however they nest.
    if (m_pumping)
        return;
    m_pumping = true;
    while (m_running.size() < runningLimit && !m_waiting.empty()) {
        // A virtual schedule: each command moves m_due one interval on from
        // now (or from where it stood); one may start while m_due is less
        // than a burst ahead.
        const qint64 now = m_clock.nsecsElapsed();
        const qint64 slack = (burst - 1) * m_intervalNs;
        if (m_due - slack > now) {
            if (!m_pace.isActive())
                m_pace.start(int((m_due - slack - now + 999999) / 1000000));
            break;
        }
        m_due = std::max(m_due, now) + m_intervalNs;
        Waiting next = std::move(m_waiting.front());
        m_waiting.pop_front();
        const quint64 id = m_nextId++;
        m_running.insert(id, {std::move(next.answer), m_clock.elapsed() + m_answerMs});
        if (!m_deadlines.isActive())
            m_deadlines.start();
        QPointer<CommandQueue> self(this);
        next.job([self, id](const devicelink::Outcome &outcome) {
            if (self)
                self->finish(id, outcome);
        });
        if (!self)
            return;
    }
    m_pumping = false;
}

void CommandQueue::finish(quint64 id, const devicelink::Outcome &outcome) {
    // Only the first answer counts: a late one, after the deadline, is dropped.
    const auto it = m_running.find(id);
    if (it == m_running.end())
        return;
    const devicelink::Done answer = std::move(it->answer);
    m_running.erase(it);
    if (m_running.isEmpty())
        m_deadlines.stop();
    QPointer<CommandQueue> self(this);
    answer(outcome);
    if (self)
        pump();
}

void CommandQueue::checkDeadlines() {
    const qint64 now = m_clock.elapsed();
    QList<quint64> late;
    for (auto it = m_running.cbegin(); it != m_running.cend(); ++it) {
        if (it->deadline <= now)
            late.append(it.key());
    }
    for (const quint64 id : late)
        finish(id, devicelink::Outcome::refused(
                       QStringLiteral("no outcome from the switcher within %1 s")
                           .arg(m_answerMs / 1000.0)));
}

} // namespace bus

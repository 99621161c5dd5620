#include "automation/Scheduler.h"

#include "link/Clock.h"

#include <algorithm>
#include <chrono>

namespace automation {

Scheduler::Scheduler(devicelink::Clock &clock, QObject *parent)
    : QObject(parent)
    , m_clock(clock) {
    m_timer.setObjectName(QStringLiteral("scheduleTimer"));
    m_timer.setTimerType(Qt::PreciseTimer);
    m_timer.setSingleShot(true);
    connect(&m_timer, &QTimer::timeout, this, &Scheduler::Timer_Timer);
}

void Scheduler::setTimeZone(const QTimeZone &zone) {
    m_times = ScheduleTimes(zone);
    arm();
}

void Scheduler::setSetup(const AutomationFile &setup) {
    m_setup = setup;
    m_setup.problems.clear();
    if (m_started)
        m_checked = m_clock.now();
    arm();
}

void Scheduler::start(qint64 applied) {
    const qint64 now = m_clock.now();
    m_started = true;
    const qint64 from = applied > 0 ? applied : now - ScheduleTimes::lookBackMs;
    m_checked = now;
    fire(m_times.between(m_setup.schedules, std::min(from, now), now), now);
    arm();
}

void Scheduler::Timer_Timer() {
    if (!m_started)
        return;
    const qint64 now = m_clock.now();
    if (now < m_checked) {
        // The clock was put back: what comes due from here comes again.
        m_checked = now;
    } else {
        const qint64 from = std::exchange(m_checked, now);
        fire(m_times.between(m_setup.schedules, from, now), now);
    }
    arm();
}

void Scheduler::fire(const QList<ScheduleTimes::Due> &due, qint64 now) {
    if (due.isEmpty())
        return;
    for (const ScheduleTimes::Due &d : ScheduleTimes::inForce(due, m_setup))
        emit this->due(m_setup.schedules[d.index], d.at, now - d.at > lateMs);
    emit applied(now);
}

void Scheduler::arm() {
    if (!m_started || m_setup.schedules.isEmpty()) {
        m_timer.stop();
        return;
    }
    const qint64 now = m_clock.now();
    qint64 wait = longestWaitMs;
    if (const std::optional<qint64> next = m_times.next(m_setup.schedules, now))
        wait = std::clamp<qint64>(*next - now, 0, longestWaitMs);
    m_timer.start(std::chrono::milliseconds(wait));
}

} // namespace automation

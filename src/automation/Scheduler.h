#pragma once

#include "automation/AutomationFile.h"
#include "automation/ScheduleTimes.h"

#include <QObject>
#include <QTimer>

namespace devicelink {
class Clock;
}

namespace automation {

// Brings schedule entries due at their time of day, on the link's clock. It
// looks at the clock at least once a minute, so that a clock put forward or a
// machine that slept through an entry is noticed; after a gap only the entries
// still in force are applied. Entries are told by their instant, so the hour
// that summer time repeats runs nothing twice.
class Scheduler : public QObject {
    Q_OBJECT
public:
    static constexpr int longestWaitMs = 60 * 1000;
    // An entry applied later than this after its time is applied late.
    static constexpr qint64 lateMs = 60 * 1000;

    explicit Scheduler(devicelink::Clock &clock, QObject *parent = nullptr);

    void setTimeZone(const QTimeZone &zone);
    const QTimeZone &zone() const { return m_times.zone(); }
    // New entries; nothing already past is applied for them.
    void setSetup(const AutomationFile &setup);
    // At start: the entries due since `applied` (the last applied before the
    // program ended, 0: none; at most a week back) that are still in force
    // are applied now; then the entries come at their times.
    void start(qint64 applied);
    void Timer_Timer();
    const QTimer &timer() const { return m_timer; }

signals:
    // An entry is to be applied; late: it came due while nothing ran.
    void due(const automation::AutomationFile::Schedule &entry, qint64 at, bool late);
    // The instant up to which every entry due has been applied.
    void applied(qint64 at);

private:
    void fire(const QList<ScheduleTimes::Due> &due, qint64 now);
    void arm();

    devicelink::Clock &m_clock;
    AutomationFile m_setup;
    ScheduleTimes m_times;
    qint64 m_checked = 0;
    bool m_started = false;
    QTimer m_timer;
};

} // namespace automation

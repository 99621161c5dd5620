#include "automation/ScheduleTimes.h"

#include <QDateTime>
#include <QSet>
#include <algorithm>

namespace automation {

namespace {
constexpr qint64 dayMs = qint64(24) * 3600 * 1000;
}

int ScheduleTimes::offsetAt(qint64 ms) const {
    return m_zone.offsetFromUtc(QDateTime::fromMSecsSinceEpoch(ms, Qt::UTC));
}

QDate ScheduleTimes::localDate(qint64 ms) const {
    return QDateTime::fromMSecsSinceEpoch(ms, Qt::UTC).addSecs(offsetAt(ms)).date();
}

qint64 ScheduleTimes::instant(QDate date, QTime at) const {
    // The wall-clock reading as if it were UTC, then each offset in force
    // around it: an instant is the answer when the zone has that offset then.
    const qint64 wall = QDateTime(date, at, Qt::UTC).toMSecsSinceEpoch();
    const int before = offsetAt(wall - dayMs);
    const int after = offsetAt(wall + dayMs);
    std::optional<qint64> found;
    for (const int offset : {before, after}) {
        const qint64 t = wall - qint64(offset) * 1000;
        if (offsetAt(t) == offset && (!found || t < *found))
            found = t;
    }
    if (found)
        return *found;
    // In the hour skipped: the moment the clocks went forward, found between
    // the two readings (the later offset gives the earlier instant).
    qint64 low = wall - qint64(std::max(before, after)) * 1000;
    qint64 high = wall - qint64(std::min(before, after)) * 1000;
    const int first = offsetAt(low);
    while (high - low > 1) {
        const qint64 mid = low + (high - low) / 2;
        if (offsetAt(mid) == first)
            low = mid;
        else
            high = mid;
    }
    return high;
}

QList<ScheduleTimes::Due> ScheduleTimes::between(const QList<AutomationFile::Schedule> &schedules,
                                                 qint64 from, qint64 to) const {
    QList<Due> out;
    if (to <= from || schedules.isEmpty())
        return out;
    from = std::max(from, to - lookBackMs);
    const QDate last = localDate(to);
    for (QDate date = localDate(from).addDays(-1); date <= last; date = date.addDays(1)) {
        const int day = date.dayOfWeek() - 1;
        for (int i = 0; i < schedules.size(); ++i) {
            const AutomationFile::Schedule &s = schedules[i];
            if (!(s.days & (1u << day)))
                continue;
            const qint64 at = instant(date, s.at);
            if (at > from && at <= to)
                out.append({at, i});
        }
    }
    std::stable_sort(out.begin(), out.end(),
                     [](const Due &a, const Due &b) { return a.at < b.at; });
    return out;
}

std::optional<qint64> ScheduleTimes::next(const QList<AutomationFile::Schedule> &schedules,
                                          qint64 after) const {
    std::optional<qint64> best;
    const QDate first = localDate(after);
    for (QDate date = first.addDays(-1); date <= first.addDays(8); date = date.addDays(1)) {
        const int day = date.dayOfWeek() - 1;
        for (const AutomationFile::Schedule &s : schedules) {
            if (!(s.days & (1u << day)))
                continue;
            const qint64 at = instant(date, s.at);
            if (at > after && (!best || at < *best))
                best = at;
        }
        if (best)
            return best;
    }
    return best;
}

QList<ScheduleTimes::Due> ScheduleTimes::inForce(const QList<Due> &due,
                                                 const AutomationFile &setup) {
    QList<Due> kept;
    QSet<int> tours;
    bool monitorTaken[AutomationFile::monitors + 1] = {};
    for (qsizetype i = due.size() - 1; i >= 0; --i) {
        const AutomationFile::Action &action = setup.schedules[due[i].index].action;
        if (action.kind == AutomationFile::Action::Kind::Salvo) {
            const AutomationFile::Salvo *salvo = setup.salvo(action.salvo);
            if (!salvo)
                continue;
            bool wanted = false;
            for (const AutomationFile::Route &r : salvo->routes) {
                if (!monitorTaken[r.monitor])
                    wanted = true;
                monitorTaken[r.monitor] = true;
            }
            if (wanted)
                kept.prepend(due[i]);
        } else if (!tours.contains(action.tour)) {
            tours.insert(action.tour);
            kept.prepend(due[i]);
        }
    }
    return kept;
}

} // namespace automation

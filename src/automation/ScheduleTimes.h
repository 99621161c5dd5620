#pragma once

#include "automation/AutomationFile.h"

#include <QDate>
#include <QList>
#include <QTimeZone>
#include <optional>

namespace automation {

// When schedule entries come due, in the local time of a zone, with its
// changes of summer time: an entry whose time of day does not exist that day
// (the hour skipped in spring) comes due when the clocks are put forward, and
// one whose time comes twice (the hour repeated in autumn) the first time
// only. Instants are milliseconds since the epoch, as the link's clock gives them.
class ScheduleTimes {
public:
    // How far back a start looks for an entry that should have run: a week
    // holds every entry once.
    static constexpr qint64 lookBackMs = qint64(8) * 24 * 3600 * 1000;

    struct Due {
        qint64 at = 0;
        int index = 0; // into the schedules given
        bool operator==(const Due &) const = default;
    };

    explicit ScheduleTimes(QTimeZone zone = QTimeZone::systemTimeZone())
        : m_zone(std::move(zone)) {}

    const QTimeZone &zone() const { return m_zone; }
    // When the wall clock first reads `at` or later on that date.
    qint64 instant(QDate date, QTime at) const;
    QDate localDate(qint64 ms) const;

    // The entries due in (from, to], oldest first (at most lookBackMs back).
    QList<Due> between(const QList<AutomationFile::Schedule> &schedules, qint64 from,
                       qint64 to) const;
    // The first instant after `after` at which an entry comes due.
    std::optional<qint64> next(const QList<AutomationFile::Schedule> &schedules,
                               qint64 after) const;

    // Of the entries due, those still in force, oldest first: for each tour
    // the latest start or stop, and the latest salvo for each monitor (a
    // salvo is kept when one of its monitors has no later salvo).
    static QList<Due> inForce(const QList<Due> &due, const AutomationFile &setup);

private:
    int offsetAt(qint64 ms) const;

    QTimeZone m_zone;
};

} // namespace automation

#pragma once

#include "events/Event.h"

#include <QString>
#include <functional>
#include <optional>
#include <vector>

namespace events {

// Reading the event log back: the rows of a time range with a text filter,
// for the history view, the command line and the export. Reads go through a
// read-only connection of their own, beside the writer's.
namespace EventQuery {

struct Range {
    qint64 from = 0; // ms since the epoch, included
    qint64 to = 0;   // excluded
};

// Calls each for every row of the log at path within the range whose
// meaning, origin or channel holds the filter, oldest first, until each
// returns false. Empty text when the log was read, else why it was not.
QString read(const QString &path, Range range, const QString &filter,
             const std::function<bool(const Record &)> &each);

// Whether one of the row's texts holds the filter, without regard to case; a
// number in the filter is a whole number ("camera 1" is not "camera 12").
bool matches(const Record &record, const QString &filter);

// The rows as CSV with its header, written whole or not at all. Empty text
// when written, else why not.
QString saveCsv(const QString &fileName, const std::vector<Record> &records);

// The span a command-line time names, ISO 8601: a day (2026-12-09), a minute
// (2026-12-09T02:14), a second, or a millisecond; in local time unless it
// names its zone (Z, +01:00). TO takes in its whole span, so "FROM TO" of the
// same day is that day. Empty, with why in error, when the texts are no range.
std::optional<Range> range(const QString &from, const QString &to, QString *error);

} // namespace EventQuery

} // namespace events

#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>

namespace devicelink {

// How a frame is written down, the same in the traffic window, its export
// and the event log: its first bytes in hex, the time in UTC, a CSV record.
namespace FrameText {

// A frame keeps its first bytes only: commands and replies are a few bytes,
// and a flood read in 4 KB pieces stays small in memory and on disk.
constexpr qsizetype keptBytes = 64;

// "35 0D", and for a frame kept in part "35 0D ... (4096 bytes)".
QString hex(const QByteArray &kept, qsizetype wholeSize);
// ISO 8601 in UTC with milliseconds: "2026-12-09T02:14:07.123Z"; the texts
// sort as the times do.
QString time(qint64 msSinceEpoch);
// One CSV record (RFC 4180): a field holding a comma, a quote or a line
// break is quoted, its quotes doubled; no line end.
QString csv(const QStringList &fields);
// The header of every export: "time,direction,channel,origin,bytes,meaning".
QString csvHeader();

} // namespace FrameText

} // namespace devicelink

#pragma once

#include "link/FrameText.h"

#include <QByteArray>
#include <QString>
#include <QtGlobal>

namespace events {

// One thing that happened on the link or to the program, as its observer
// hands it to the event log: a frame sent or received, an ignored datagram,
// or a change of state (port lost, channel changed, program started).
struct Event {
    enum class Direction : quint8 { Sent, Received, Ignored, State };

    qint64 at = 0; // ms since the epoch, UTC
    Direction direction = Direction::State;
    QString channel; // "serial Com1", "10.1.2.3:2000"
    QString origin;  // "panel", "keyboard", "status poll", "videohub 127.0.0.1:51512"
    QByteArray bytes;
    QString meaning; // as the traffic window shows it: "camera 5", "port lost"
};

// One row of the log as it is stored and exported: every field as text.
struct Record {
    QString time; // "2026-12-09T02:14:07.123Z"
    QString direction;
    QString channel;
    QString origin;
    QString bytes; // "35 0D", or "35 0D ... (4096 bytes)" for a frame kept in part
    QString meaning;
    QString program; // which program wrote it: "panel-a:4242" (host and process)

    bool operator==(const Record &) const = default;
};

// The rules that turn an event into its stored text, shared by the writer,
// the readers and the export.
namespace EventText {

// A frame keeps its first bytes only, as the traffic window does: a flood read
// in 4 KB pieces costs the log a few hundred bytes a row.
constexpr qsizetype keptBytes = devicelink::FrameText::keptBytes;

QString direction(Event::Direction direction); // "sent", "received", "ignored", "state"
// ISO 8601 in UTC with milliseconds; the stored texts sort as the times do.
QString time(qint64 msSinceEpoch);
// Hex of the bytes kept; wholeSize, when larger, is said after them.
QString bytes(const QByteArray &kept, qsizetype wholeSize);
Record record(const Event &event, qsizetype wholeSize);

QString csvHeader(); // "time,direction,channel,origin,bytes,meaning,program"
// One CSV record (RFC 4180), fields quoted where they need it; no line end.
QString csv(const Record &record);

} // namespace EventText

} // namespace events

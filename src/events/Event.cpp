#include "events/Event.h"

#include "link/FrameText.h"

namespace events::EventText {

QString direction(Event::Direction direction) {
    switch (direction) {
    case Event::Direction::Sent:
        return QStringLiteral("sent");
    case Event::Direction::Received:
        return QStringLiteral("received");
    case Event::Direction::Ignored:
        return QStringLiteral("ignored");
    case Event::Direction::State:
        break;
    }
    return QStringLiteral("state");
}

QString time(qint64 msSinceEpoch) {
    return devicelink::FrameText::time(msSinceEpoch);
}

QString bytes(const QByteArray &kept, qsizetype wholeSize) {
    return devicelink::FrameText::hex(kept, wholeSize);
}

Record record(const Event &event, qsizetype wholeSize) {
    return {time(event.at),
            direction(event.direction),
            event.channel,
            event.origin,
            bytes(event.bytes, wholeSize),
            event.meaning,
            {}};
}

QString csvHeader() {
    // The traffic window's columns, and which program wrote the row (two
    // panels may share one log).
    return devicelink::FrameText::csvHeader() + QStringLiteral(",program");
}

QString csv(const Record &record) {
    return devicelink::FrameText::csv({record.time, record.direction, record.channel, record.origin,
                                       record.bytes, record.meaning, record.program});
}

} // namespace events::EventText

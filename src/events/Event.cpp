#include "events/Event.h"

#include <QDateTime>
#include <QStringList>

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
    return QDateTime::fromMSecsSinceEpoch(msSinceEpoch, Qt::UTC).toString(Qt::ISODateWithMs);
}

QString bytes(const QByteArray &kept, qsizetype wholeSize) {
    const QString hex = QString::fromLatin1(kept.toHex(' ').toUpper());
    if (wholeSize > kept.size())
        return hex + QStringLiteral(" ... (%1 bytes)").arg(wholeSize);
    return hex;
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
    return QStringLiteral("time,direction,channel,origin,bytes,meaning,program");
}

QString csv(const Record &record) {
    QStringList fields;
    for (QString field : {record.time, record.direction, record.channel, record.origin,
                          record.bytes, record.meaning, record.program}) {
        if (field.contains(QLatin1Char(',')) || field.contains(QLatin1Char('"')) ||
            field.contains(QLatin1Char('\n')) || field.contains(QLatin1Char('\r')))
            field = QLatin1Char('"') + field.replace(QLatin1Char('"'), QStringLiteral("\"\"")) +
                    QLatin1Char('"');
        fields << field;
    }
    return fields.join(QLatin1Char(','));
}

} // namespace events::EventText

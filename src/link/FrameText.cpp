#include "link/FrameText.h"

#include <QDateTime>

namespace devicelink {

QString FrameText::hex(const QByteArray &kept, qsizetype wholeSize) {
    const QString text = QString::fromLatin1(kept.toHex(' ').toUpper());
    if (wholeSize > kept.size())
        return text + QStringLiteral(" ... (%1 bytes)").arg(wholeSize);
    return text;
}

QString FrameText::time(qint64 msSinceEpoch) {
    return QDateTime::fromMSecsSinceEpoch(msSinceEpoch, Qt::UTC).toString(Qt::ISODateWithMs);
}

QString FrameText::csv(const QStringList &fields) {
    QStringList out;
    out.reserve(fields.size());
    for (QString field : fields) {
        if (field.contains(QLatin1Char(',')) || field.contains(QLatin1Char('"')) ||
            field.contains(QLatin1Char('\n')) || field.contains(QLatin1Char('\r')))
            field = QLatin1Char('"') + field.replace(QLatin1Char('"'), QStringLiteral("\"\"")) +
                    QLatin1Char('"');
        out << field;
    }
    return out.join(QLatin1Char(','));
}

QString FrameText::csvHeader() {
    return QStringLiteral("time,direction,channel,origin,bytes,meaning");
}

} // namespace devicelink

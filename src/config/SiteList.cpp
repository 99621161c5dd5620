#include "config/SiteList.h"

#include "config/ConfigFile.h"

namespace config {

QStringList SiteList::entries(const QByteArray &bytes) {
    QStringList out;
    const QStringList lines = ConfigFile::lines(bytes);
    for (const QString &line : lines) {
        if (!line.isEmpty())
            out.append(line);
    }
    return out;
}

QByteArray SiteList::bytes(const QStringList &entries) {
    QByteArray out;
    for (const QString &entry : entries) {
        out.append(oneLine(entry).toLatin1());
        out.append("\r\n");
    }
    return out;
}

QByteArray SiteList::addition(const QByteArray &tail, const QString &entry) {
    QByteArray out;
    if (!tail.isEmpty() && !tail.endsWith('\n') && !tail.endsWith('\r'))
        out.append("\r\n");
    out.append(oneLine(entry).toLatin1());
    out.append("\r\n");
    return out;
}

QString SiteList::oneLine(const QString &text) {
    QString out = text;
    for (QChar &c : out) {
        if (c == QLatin1Char('\r') || c == QLatin1Char('\n'))
            c = QLatin1Char(' ');
    }
    return out;
}

} // namespace config

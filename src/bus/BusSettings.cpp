#include "bus/BusSettings.h"

#include "link/Priorities.h"
#include "ui/SettingsStore.h"

#include <QSysInfo>

namespace bus {

namespace {
bool isTrue(const QString &text) {
    const QString t = text.trimmed();
    return t.compare(QLatin1String("true"), Qt::CaseInsensitive) == 0 ||
           t.compare(QLatin1String("yes"), Qt::CaseInsensitive) == 0 ||
           t.compare(QLatin1String("on"), Qt::CaseInsensitive) == 0 || t == QLatin1String("1");
}

// A topic's levels may hold anything but the wildcards and NUL; a station is
// one level, a prefix may be several.
bool usableInTopic(const QString &text, bool oneLevel) {
    if (text.isEmpty() || text.size() > 128)
        return false;
    for (const QChar c : text) {
        if (c == QLatin1Char('+') || c == QLatin1Char('#') || c.unicode() < 0x20 ||
            c.unicode() == 0x7F || (oneLevel && c == QLatin1Char('/')))
            return false;
    }
    return !text.startsWith(QLatin1Char('/')) && !text.endsWith(QLatin1Char('/')) &&
           !text.contains(QLatin1String("//"));
}
} // namespace

BusSettings BusSettings::read(const ui::SettingsStore &settings) {
    BusSettings s;
    const auto value = [&](const char *key) {
        return settings.value(QStringLiteral("MQTT"), QLatin1String(key)).trimmed();
    };
    s.enabled = isTrue(value("Enabled"));
    if (!value("Host").isEmpty())
        s.host = value("Host");
    s.user = value("User");
    // A password is taken as written: blanks may be part of it.
    s.password = settings.value(QStringLiteral("MQTT"), QStringLiteral("Password"));
    s.caFile = value("CAFile");
    if (!value("Prefix").isEmpty())
        s.prefix = value("Prefix");
    s.station = value("Station");
    if (s.station.isEmpty())
        s.station = QSysInfo::machineHostName();
    if (s.station.isEmpty())
        s.station = QStringLiteral("velmar");
    s.discovery = isTrue(value("Discovery"));
    if (!value("DiscoveryPrefix").isEmpty())
        s.discoveryPrefix = value("DiscoveryPrefix");

    s.priority = devicelink::Priorities::read(settings).mqtt;
    if (!value("Priority").isEmpty()) {
        bool ok = false;
        const int priority = value("Priority").toInt(&ok);
        if (ok)
            s.priority = priority;
    }

    if (!value("Port").isEmpty()) {
        bool ok = false;
        const int port = value("Port").toInt(&ok);
        if (ok && port > 0 && port <= 65535)
            s.port = port;
        else
            s.problem = {QT_TRANSLATE_NOOP("bus::Reason", "Port=%1 is not a port number"),
                         {value("Port")}};
    }
    const char *const cannot = QT_TRANSLATE_NOOP("bus::Reason", "%1=%2 cannot stand in a topic");
    if (!usableInTopic(s.prefix, false))
        s.problem = {cannot, {QStringLiteral("Prefix"), s.prefix}};
    else if (!usableInTopic(s.station, true))
        s.problem = {cannot, {QStringLiteral("Station"), s.station}};
    else if (!usableInTopic(s.discoveryPrefix, false))
        s.problem = {cannot, {QStringLiteral("DiscoveryPrefix"), s.discoveryPrefix}};
    return s;
}

} // namespace bus

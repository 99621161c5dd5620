#include "events/EventSettings.h"

#include "ui/SettingsStore.h"

namespace events {

EventLimits eventLimits(const ui::SettingsStore &settings) {
    EventLimits limits;
    const auto read = [&](const char *key, qint64 fallback, qint64 most) {
        bool ok = false;
        const qint64 value =
            settings.value(QStringLiteral("Events"), QLatin1String(key)).trimmed().toLongLong(&ok);
        return ok && value > 0 ? qMin(value, most) : fallback;
    };
    limits.keepDays = int(read("KeepDays", limits.keepDays, 100 * 366));
    limits.maxBytes = read("MaxMB", limits.maxBytes >> 20, 1 << 20) << 20;
    return limits;
}

bool eventLogEnabled(const ui::SettingsStore &settings) {
    return settings.value(QStringLiteral("Events"), QStringLiteral("Enabled"))
               .trimmed()
               .compare(QLatin1String("false"), Qt::CaseInsensitive) != 0;
}

} // namespace events

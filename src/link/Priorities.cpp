#include "link/Priorities.h"

#include "ui/SettingsStore.h"

namespace devicelink {

Priorities Priorities::read(const ui::SettingsStore &settings) {
    Priorities p;
    const std::pair<const char *, int *> keys[] = {
        {"Tour", &p.tour},
        {"Videohub", &p.videohub},
        {"MQTT", &p.mqtt},
        {"Operator", &p.webOperator},
        {"Panel", &p.panel},
        {"Alarm", &p.alarm},
        {"Supervisor", &p.supervisor},
    };
    for (const auto &[key, value] : keys) {
        bool ok = false;
        const int read =
            settings.value(QStringLiteral("Priorities"), QLatin1String(key)).trimmed().toInt(&ok);
        if (ok)
            *value = read;
    }
    return p;
}

int Priorities::of(const Origin &origin) const {
    if (origin.priority != Origin::kindPriority)
        return origin.priority;
    using Kind = Origin::Kind;
    switch (origin.kind) {
    case Kind::Videohub:
        return videohub;
    case Kind::Web:
        return webOperator;
    case Kind::Bus:
        return mqtt;
    case Kind::Tour:
    case Kind::Salvo:
    case Kind::Schedule:
        return tour;
    case Kind::Alarm:
        return alarm;
    case Kind::Remote:
        return videohub;
    default:
        return panel;
    }
}

} // namespace devicelink

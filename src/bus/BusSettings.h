#pragma once

#include "bus/Reason.h"

#include <QString>

namespace ui {
class SettingsStore;
}

namespace bus {

// settings.ini [MQTT] as the client uses it. A key missing keeps its default;
// a value that cannot be used (a port that is not one, a prefix or station
// that cannot stand in a topic) leaves the client off and says why.
struct BusSettings {
    bool enabled = false;
    QString host = QStringLiteral("127.0.0.1");
    int port = 1883;
    QString user;
    QString password;
    QString caFile; // set: TLS, the broker's certificate checked against it
    QString prefix = QStringLiteral("velmar");
    QString station; // default: the host name
    bool discovery = false;
    QString discoveryPrefix = QStringLiteral("homeassistant");
    int priority = 0; // default: [Priorities] MQTT=

    // Why the settings cannot be used; empty: they can.
    Reason problem;

    static BusSettings read(const ui::SettingsStore &settings);
    // The station's topics all start with this: "velmar/gate-house/".
    QString base() const { return prefix + QLatin1Char('/') + station + QLatin1Char('/'); }
};

} // namespace bus

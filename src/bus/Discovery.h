#pragma once

#include "bus/BusSettings.h"

#include <QByteArray>
#include <QList>
#include <QString>
#include <QStringList>

namespace bus {

// Home Assistant's MQTT discovery for one station: the retained configs
// under the discovery prefix that make the switcher appear with no
// configuration: a select per monitor (the cameras by name), a binary
// sensor for the switcher's link, a button per salvo, a switch per tour.
// Every entity belongs to one device, the station, and is available while
// the station's status reads online.
class Discovery {
public:
    struct Config {
        QByteArray topic;
        QByteArray payload;
    };

    explicit Discovery(const BusSettings &settings);

    // The device's id, as its entities' unique ids start: "velmar_gate_house".
    QString nodeId() const { return m_node; }

    // options: the cameras as cameraOptions() names them.
    Config monitor(int monitor, const QStringList &options) const;
    Config link() const;
    Config salvo(const QString &name) const;
    Config tour(int tour, int monitor) const;

    // A Jinja string literal of the text, for the templates Home Assistant runs.
    static QString jinjaString(const QString &text);

private:
    QByteArray configTopic(const char *component, const QString &object) const;
    QByteArray stationTopic(const QString &below) const;

    BusSettings m_settings;
    QString m_node;
};

} // namespace bus

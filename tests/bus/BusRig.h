#pragma once

#include "BusFakes.h"
#include "Fakes.h"
#include "bus/BusClient.h"
#include "config/CameraModel.h"
#include "events/EventStore.h"
#include "events/SessionLog.h"
#include "link/LinkMonitor.h"
#include "link/Session.h"

#include <QTemporaryDir>
#include <memory>

namespace testbus {

// A station as the program builds it, on fakes: the session on a fake port,
// its link monitor and event log, a fake switcher and automation, the
// camera titles, and the client on settings that point at the test's broker.
struct BusRig {
    fakes::SerialPort port;
    fakes::DatagramSocket socket;
    fakes::Clock clock;
    devicelink::Session session{port, socket, clock};
    devicelink::LinkMonitor link{session};
    QTemporaryDir dir;
    events::EventStore store{dir.filePath(QStringLiteral("events.sqlite"))};
    events::SessionLog log{session, store};
    fakes::Switcher switcher;
    fakes::Automation automation;
    config::CameraModel cameras;
    fakes::SettingsStore settings;
    std::unique_ptr<bus::BusClient> client;
    QString station;

    // Each rig is a station of its own ("station1", "station2", ...), so that
    // what one test left kept on a broker is not another's.
    // withAutomation false: the program runs without salvos, tours and alarms.
    explicit BusRig(quint16 brokerPort, bool withAutomation = true, const QString &name = {}) {
        static int stations = 0;
        station = name.isEmpty() ? QStringLiteral("station%1").arg(++stations) : name;
        settings.values[QStringLiteral("MQTT/Enabled")] = QStringLiteral("true");
        settings.values[QStringLiteral("MQTT/Port")] = QString::number(brokerPort);
        settings.values[QStringLiteral("MQTT/Station")] = station;
        client = std::make_unique<bus::BusClient>(switcher, withAutomation ? &automation : nullptr,
                                                  link, cameras, log, settings);
    }
    // "velmar/station1/monitor/2"
    QByteArray topic(const char *below) const {
        return QStringLiteral("velmar/%1/%2").arg(station, QLatin1String(below)).toUtf8();
    }
    bool connected() const { return client->state() == bus::BusClient::State::Connected; }
};

} // namespace testbus

#pragma once

#include "bus/BusSettings.h"
#include "bus/CommandQueue.h"
#include "bus/MqttConnection.h"
#include "link/Origin.h"

#include <QByteArray>
#include <QHash>
#include <QObject>
#include <QSet>
#include <QString>
#include <QTimer>

namespace automation {
class Automation;
}
namespace config {
class CameraModel;
}
namespace devicelink {
class LinkMonitor;
class Switcher;
} // namespace devicelink
namespace events {
class SessionLog;
struct Event;
} // namespace events
namespace ui {
class SettingsStore;
}

namespace bus {

class Discovery;
struct Command;

// The controller on the site's message bus: its state out (the link, each
// monitor's camera and lock, tours and alarms, every event of the log) under
// PREFIX/STATION/, retained where a newcomer needs the current value;
// commands in (route, preset, salvo, tour, alarm) as a source of its own,
// "mqtt", each answered on the result topic; Home Assistant discovery when
// asked. Off unless [MQTT] Enabled=true.
class BusClient : public QObject {
    Q_OBJECT
public:
    enum class State : quint8 { Off, Connecting, Connected, NotConnected };

    // Messages that may wait in the library for a slow broker before events
    // are left out (and counted); state and answers are never left out.
    static constexpr int eventBacklog = 256;

    BusClient(devicelink::Switcher &switcher, automation::Automation *automation,
              devicelink::LinkMonitor &link, config::CameraModel &cameras, events::SessionLog &log,
              ui::SettingsStore &settings, QObject *parent = nullptr);
    ~BusClient() override;

    // Reads [MQTT] and connects as it says (again, after a change).
    void start();
    // Publishes offline, says goodbye to the broker and stays off.
    void stop();

    State state() const;
    // For the status bar, in the language in use: "MQTT: connected to
    // 127.0.0.1:1883", "MQTT: not connected: the connection was refused,
    // retry in 4 s".
    QString stateText() const;
    // Why it is not connected, in English for the event log; empty while
    // connected or off.
    QString reason() const;
    // Events left out since start because the broker was away or slow.
    qint64 eventsDropped() const { return m_eventsDroppedTotal; }
    const BusSettings &settings() const { return m_settings; }
    MqttConnection &connection() { return m_connection; }
    CommandQueue &queue() { return m_queue; }

signals:
    // stateText() changed.
    void stateChanged();
    // For the event log: connected, or no longer (or still not) connected
    // for a new reason (English). Said once per change, not per attempt.
    void connectedChanged(bool connected, const QString &reason);

private:
    void onConnectionState();
    void onConnected();
    void onMessage(const QByteArray &topic, const QByteArray &payload, bool retained);
    void run(const QByteArray &topic, const Command &command);
    void answer(const QByteArray &topic, const devicelink::Outcome &outcome);

    void publishState(const QByteArray &topic, const QByteArray &payload);
    void publishMonitor(int monitor);
    void publishLink();
    void publishTour(int tour);
    void publishAlarm(int input);
    void publishEvent(const events::Event &event);
    bool publishDropped();
    void publishDiscovery();
    void report(bool connected, const QString &reason);

    QByteArray topic(const QString &below) const;
    QStringList cameraOptions() const;
    devicelink::Origin origin() const;

    devicelink::Switcher &m_switcher;
    automation::Automation *m_automation;
    devicelink::LinkMonitor &m_link;
    config::CameraModel &m_cameras;
    ui::SettingsStore &m_store;
    BusSettings m_settings;
    MqttConnection m_connection;
    // The status topic of the connection made last: its offline goes there
    // even when the settings read since name another station.
    QByteArray m_statusTopic;
    CommandQueue m_queue;
    // What each retained topic was last given on this connection.
    QHash<QByteArray, QByteArray> m_published;
    // Discovery configs published on this connection (to remove the gone).
    QSet<QByteArray> m_discovered;
    QTimer m_discoveryDue;
    qint64 m_eventsDropped = 0; // since the last count published
    qint64 m_eventsDroppedTotal = 0;
    bool m_started = false;
    // What the event log was last told.
    int m_reported = -1; // -1 nothing, 0 not connected, 1 connected
    QString m_reportedReason;
};

} // namespace bus

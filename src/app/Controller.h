#pragma once

#include "ui/StorageFolder.h"

#include <QObject>
#include <functional>
#include <memory>

namespace ui {
class DatagramSocket;
class SerialPort;
class SettingsStore;
} // namespace ui
namespace devicelink {
class Clock;
class LinkMonitor;
class Operations;
class Session;
} // namespace devicelink
namespace config {
class CameraModel;
}
namespace events {
class EventStore;
class SessionLog;
} // namespace events
namespace remote {
class VideohubServer;
}
namespace web {
class WebServer;
}
namespace bus {
class BusClient;
}
namespace automation {
class AlarmServer;
class Engine;
} // namespace automation

namespace app {

class SessionRouter;

// The program below its windows, built once in main(): the switcher session
// on the port and the socket it is given, the cameras' titles, the link
// monitor, the event log and the Videohub server, with the settings that
// shape them. The main window receives it and builds only its views;
// --headless runs it with no window at all.
class Controller : public QObject {
    Q_OBJECT
public:
    struct Platform {
        ui::SerialPort &port;
        ui::DatagramSocket &socket;
        ui::SettingsStore &settings;
        devicelink::Clock &clock;
    };

    explicit Controller(const Platform &platform, ui::StoragePaths paths = ui::StoragePaths(),
                        QObject *parent = nullptr);
    ~Controller() override;

    ui::SerialPort &port() const { return m_platform.port; }
    ui::SettingsStore &settings() const { return m_platform.settings; }
    ui::StoragePaths &storage() { return m_paths; }
    // Another storage folder, before the services start (tests).
    void setStorageFolder(const QString &folder);
    devicelink::Session &session() const { return *m_session; }
    devicelink::Operations &operations() const;
    config::CameraModel &cameras() const { return *m_cameras; }
    devicelink::LinkMonitor &linkMonitor() const { return *m_monitor; }
    SessionRouter &router() const { return *m_router; }
    remote::VideohubServer &videohub() const { return *m_videohub; }
    web::WebServer &web() const { return *m_web; }
    bus::BusClient &bus() const { return *m_bus; }
    automation::Engine &automation() const { return *m_automation; }
    automation::AlarmServer &alarmServer() const { return *m_alarmServer; }

    // The event log at its usual place, unless [Events] Enabled=false; what
    // the session does is recorded from now on. Null when there is none.
    events::EventStore *openEventLog();
    // Records the session in a log the caller keeps (tests).
    void recordIn(events::EventStore &store);
    // The session's events as they happen, written to the log if there is
    // one, passed on to the browser panel and the message bus either way.
    events::SessionLog *sessionLog() const { return m_sessionLog; }
    // The program's own start and end, in the event log if there is one.
    void noteProgram(const QString &what);

    // How a title renamed by another system is kept (the configuration file
    // as the title dialog's Save keeps it).
    void setTitleKeeper(std::function<void()> keep) { m_keepTitles = std::move(keep); }

    // The services other systems reach, as the settings say (again, after a
    // change), and the automation, once the link is up; stopped at the end.
    void startServices();
    void stopServices();

signals:
    // The message bus's connection, the automation's file: what the status
    // bar shows of them changed.
    void servicesChanged();

private:
    Platform m_platform;
    ui::StoragePaths m_paths;
    devicelink::Session *m_session;
    config::CameraModel *m_cameras;
    devicelink::LinkMonitor *m_monitor;
    SessionRouter *m_router;
    remote::VideohubServer *m_videohub;
    std::unique_ptr<events::EventStore> m_eventLog;
    events::SessionLog *m_sessionLog;
    automation::Engine *m_automation;
    automation::AlarmServer *m_alarmServer;
    web::WebServer *m_web;
    bus::BusClient *m_bus;
    std::function<void()> m_keepTitles;
};

} // namespace app

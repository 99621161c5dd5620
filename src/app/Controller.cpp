#include "app/Controller.h"

#include "app/SessionRouter.h"
#include "automation/AlarmServer.h"
#include "automation/Engine.h"
#include "bus/BusClient.h"
#include "config/CameraModel.h"
#include "events/Event.h"
#include "events/EventSettings.h"
#include "events/EventStore.h"
#include "events/SessionLog.h"
#include "link/Arbiter.h"
#include "link/Clock.h"
#include "link/LinkMonitor.h"
#include "link/Operations.h"
#include "link/PortReopener.h"
#include "link/Priorities.h"
#include "link/Session.h"
#include "remote/VideohubServer.h"
#include "ui/SettingsStore.h"
#include "web/WebServer.h"

namespace app {

namespace {
bool isFalse(const QString &text) {
    return text.trimmed().compare(QLatin1String("false"), Qt::CaseInsensitive) == 0;
}
} // namespace

Controller::Controller(const Platform &platform, ui::StoragePaths paths, QObject *parent)
    : QObject(parent)
    , m_platform(platform)
    , m_paths(std::move(paths))
    , m_session(new devicelink::Session(platform.port, platform.socket, platform.clock, this))
    , m_cameras(new config::CameraModel(this))
    , m_monitor(new devicelink::LinkMonitor(*m_session, this)) {
    setObjectName(QStringLiteral("controller"));
    const ui::SettingsStore &settings = platform.settings;
    m_session->reopener().setEnabled(
        !isFalse(settings.value(QStringLiteral("Link"), QStringLiteral("Reopen"))));
    devicelink::Operations &ops = m_session->operations();
    ops.setPriorities(devicelink::Priorities::read(settings));
    bool ok = false;
    const int idle =
        settings.value(QStringLiteral("Locks"), QStringLiteral("CameraIdleSeconds")).toInt(&ok);
    if (ok && idle >= 0)
        ops.setCameraIdleMs(idle * 1000);

    // Other control-room systems route through a Videohub server, off
    // unless settings.ini turns it on.
    m_router = new SessionRouter(
        *m_session, *m_cameras, m_platform.settings,
        [this] {
            if (m_keepTitles)
                m_keepTitles();
        },
        this);
    m_videohub = new remote::VideohubServer(*m_router, m_platform.settings, this);
    m_sessionLog = new events::SessionLog(*m_session, this);
    // Salvos, tours, alarms and schedules, as automation.ini says; nothing
    // without it. What they do is recorded with its origin.
    m_automation =
        new automation::Engine(ops, platform.clock, devicelink::Priorities::read(settings),
                               m_paths.automation(), m_paths.automationState(), this);
    connect(
        m_automation, &automation::Engine::noted, this,
        [this](const QString &origin, const QString &what) {
            m_sessionLog->note(
                {m_session->clock().now(), events::Event::Direction::State, {}, origin, {}, what});
        });
    m_alarmServer = new automation::AlarmServer(*m_automation, this);
    // Other operators' browsers and the site's message bus, off unless
    // settings.ini turns them on.
    m_web = new web::WebServer(ops, m_automation, *m_monitor, *m_cameras, *m_sessionLog,
                               m_platform.settings, m_paths.folder(), this);
    m_bus = new bus::BusClient(ops, m_automation, *m_monitor, *m_cameras, *m_sessionLog,
                               m_platform.settings, this);
    connect(m_bus, &bus::BusClient::connectedChanged, this,
            [this](bool connected, const QString &reason) {
                m_sessionLog->note({m_session->clock().now(),
                                    events::Event::Direction::State,
                                    {},
                                    QStringLiteral("mqtt"),
                                    {},
                                    connected ? QStringLiteral("connected %1").arg(reason).trimmed()
                                              : QStringLiteral("not connected: %1").arg(reason)});
            });
    connect(m_bus, &bus::BusClient::stateChanged, this, &Controller::servicesChanged);
}

Controller::~Controller() {
    // Everything goes before the session it works with, the last made
    // first: the servers (their clients' moves stopped while the session is
    // there), the automation, the recorder (which stops writing before its
    // store goes), the Videohub server and its router.
    delete m_bus;
    delete m_web;
    delete m_alarmServer;
    delete m_automation;
    delete m_sessionLog;
    delete m_videohub;
    delete m_router;
    delete m_monitor;
}

void Controller::setStorageFolder(const QString &folder) {
    m_paths.setFolder(folder);
    m_automation->setFiles(m_paths.automation(), m_paths.automationState());
}

devicelink::Operations &Controller::operations() const {
    return m_session->operations();
}

events::EventStore *Controller::openEventLog() {
    if (!m_eventLog && events::eventLogEnabled(m_platform.settings)) {
        m_eventLog = std::make_unique<events::EventStore>(events::EventStore::defaultPath(),
                                                          events::eventLimits(m_platform.settings));
        recordIn(*m_eventLog);
    }
    return m_eventLog.get();
}

void Controller::recordIn(events::EventStore &store) {
    m_sessionLog->setStore(&store);
}

void Controller::noteProgram(const QString &what) {
    m_sessionLog->noteProgram(what);
}

void Controller::startServices() {
    m_videohub->start();
    m_web->start();
    m_bus->start();
    m_automation->start();
    // `velmar-controller --alarm` is listened for when the file binds an
    // alarm input: without automation.ini nothing is left in the runtime folder.
    if (!m_automation->setup().alarms.isEmpty() && !m_alarmServer->isListening())
        m_alarmServer->listen();
}

void Controller::stopServices() {
    m_bus->stop();
    m_web->stop();
    m_videohub->stop();
}

} // namespace app

#include "app/Controller.h"

#include "app/SessionRouter.h"
#include "config/CameraModel.h"
#include "events/EventSettings.h"
#include "events/EventStore.h"
#include "events/SessionLog.h"
#include "link/Arbiter.h"
#include "link/LinkMonitor.h"
#include "link/Operations.h"
#include "link/PortReopener.h"
#include "link/Priorities.h"
#include "link/Session.h"
#include "remote/VideohubServer.h"
#include "ui/SettingsStore.h"

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
}

Controller::~Controller() {
    // The recorder goes before the store it writes to.
    delete m_sessionLog;
    m_sessionLog = nullptr;
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
    delete m_sessionLog;
    m_sessionLog = new events::SessionLog(*m_session, store, this);
}

void Controller::noteProgram(const QString &what) {
    if (m_sessionLog)
        m_sessionLog->noteProgram(what);
}

void Controller::startServices() {
    m_videohub->start();
}

void Controller::stopServices() {
    m_videohub->stop();
}

} // namespace app

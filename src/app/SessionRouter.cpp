#include "app/SessionRouter.h"

#include "config/CameraModel.h"
#include "link/Arbiter.h"
#include "link/Operations.h"
#include "link/RoutingModel.h"
#include "link/Session.h"
#include "remote/ClientPriorities.h"
#include "ui/SettingsStore.h"

namespace app {

SessionRouter::SessionRouter(devicelink::Session &session, config::CameraModel &cameras,
                             const ui::SettingsStore &settings, std::function<void()> keepTitles,
                             QObject *parent)
    : remote::Router(parent)
    , m_session(session)
    , m_settings(settings)
    , m_cameras(cameras)
    , m_keepTitles(std::move(keepTitles)) {
    m_labels.setSingleShot(true);
    m_labels.setInterval(0);
    m_labels.setTimerType(Qt::PreciseTimer);
    connect(&m_labels, &QTimer::timeout, this, &Router::inputLabelsChanged);
    m_keep.setSingleShot(true);
    m_keep.setInterval(1000);
    m_keep.setTimerType(Qt::PreciseTimer);
    connect(&m_keep, &QTimer::timeout, this, [this] { m_keepTitles(); });
    connect(&cameras, &config::CameraModel::titleChanged, this, [this] {
        if (!m_labels.isActive())
            m_labels.start();
    });
    connect(&session, &devicelink::Session::routingChanged, this, &Router::routingChanged);
    connect(&session.operations().arbiter(), &devicelink::Arbiter::lockChanged, this,
            &Router::locksChanged);
}

devicelink::Origin SessionRouter::originOf(const QString &client) const {
    return {devicelink::Origin::Kind::Videohub, client,
            m_priorities.value(client, devicelink::Origin::kindPriority)};
}

void SessionRouter::clientCame(const QString &client, const QHostAddress &address) {
    const int every = m_session.operations().arbiter().priorities().videohub;
    const remote::ClientPriorities priorities = remote::ClientPriorities::parse(
        m_settings.value(QStringLiteral("Videohub"), QStringLiteral("Priorities")));
    m_priorities.insert(client, priorities.of(address, every));
}

remote::Router::Lock SessionRouter::lockOf(int output, const QString &client) const {
    const QString holder = m_session.operations().monitor(output + 1).lockHolder;
    if (holder.isEmpty())
        return Lock::None;
    return holder == originOf(client).text() ? Lock::Own : Lock::Other;
}

void SessionRouter::lock(int output, remote::protocol::LockAction action, const QString &client,
                         Done done) {
    using remote::protocol::LockAction;
    const auto told = [done](const devicelink::Outcome &outcome) {
        if (done)
            done(outcome.ok());
    };
    devicelink::Operations &operations = m_session.operations();
    switch (action) {
    case LockAction::Lock:
        operations.lockMonitor(output + 1, originOf(client), false, told);
        break;
    case LockAction::Unlock:
        operations.unlockMonitor(output + 1, originOf(client), false, told);
        break;
    case LockAction::Force:
        operations.unlockMonitor(output + 1, originOf(client), true, told);
        break;
    }
}

QString SessionRouter::inputLabel(int input) const {
    return m_cameras.title(input + 1);
}

QString SessionRouter::outputLabel(int output) const {
    return tr("Monitor %1").arg(output + 1);
}

int SessionRouter::routedInput(int output) const {
    const devicelink::RoutingModel::Entry &entry = m_session.routing().entry(output + 1);
    return entry.camera > 0 && !entry.stale ? entry.camera - 1 : -1;
}

void SessionRouter::route(int output, int input, const QString &client, Done done) {
    m_session.operations().route(output + 1, input + 1, originOf(client),
                                 [done](const devicelink::Outcome &outcome) {
                                     if (done)
                                         done(outcome.ok());
                                 });
}

void SessionRouter::clientGone(const QString &client) {
    m_session.operations().sourceGone(originOf(client));
    m_priorities.remove(client);
}

void SessionRouter::setInputLabel(int input, const QString &label) {
    m_cameras.setTitle(input + 1, label);
    if (!m_keep.isActive())
        m_keep.start();
}

} // namespace app

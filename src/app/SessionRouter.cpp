#include "app/SessionRouter.h"

#include "config/CameraModel.h"
#include "link/Operations.h"
#include "link/RoutingModel.h"
#include "link/Session.h"

namespace app {

SessionRouter::SessionRouter(devicelink::Session &session, config::CameraModel &cameras,
                             std::function<void()> keepTitles, QObject *parent)
    : remote::Router(parent)
    , m_session(session)
    , m_cameras(cameras)
    , m_keepTitles(std::move(keepTitles)) {
    m_labels.setSingleShot(true);
    m_labels.setInterval(0);
    m_labels.setTimerType(Qt::PreciseTimer);
    connect(&m_labels, &QTimer::timeout, this, &Router::inputLabelsChanged);
    connect(&cameras, &config::CameraModel::titleChanged, this, [this] {
        if (!m_labels.isActive())
            m_labels.start();
    });
    connect(&session, &devicelink::Session::routingChanged, this, &Router::routingChanged);
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
    m_session.operations().route(output + 1, input + 1,
                                 {devicelink::Origin::Kind::Videohub, client},
                                 [done](const devicelink::Outcome &outcome) {
                                     if (done)
                                         done(outcome.ok());
                                 });
}

void SessionRouter::clientGone(const QString &client) {
    m_session.operations().sourceGone({devicelink::Origin::Kind::Videohub, client});
}

void SessionRouter::setInputLabel(int input, const QString &label) {
    m_cameras.setTitle(input + 1, label);
    m_keepTitles();
}

} // namespace app

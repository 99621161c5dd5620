#include "app/SessionRouter.h"

#include "config/CameraModel.h"
#include "link/RoutingModel.h"
#include "link/Session.h"
#include "link/StatusPolls.h"
#include "ui/Timer.h"

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
    m_keep.setSingleShot(true);
    m_keep.setInterval(1000);
    m_keep.setTimerType(Qt::PreciseTimer);
    connect(&m_keep, &QTimer::timeout, this, [this] { m_keepTitles(); });
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
    const int camera = m_session.routing().entry(output + 1).camera;
    return camera > 0 ? camera - 1 : 0;
}

void SessionRouter::route(int output, int input, const QString &client) {
    devicelink::SessionSink sink(
        m_session, {devicelink::Origin::Kind::Remote, QStringLiteral("videohub %1").arg(client)});
    ui::Timer &Timer3 = m_session.polls().Timer3();
    sink.send(devicelink::monitor(output + 1));
    Timer3.setEnabled(true);
    sink.send(devicelink::number(input + 1));
    Timer3.setEnabled(true);
}

void SessionRouter::setInputLabel(int input, const QString &label) {
    m_cameras.setTitle(input + 1, label);
    if (!m_keep.isActive())
        m_keep.start();
}

} // namespace app

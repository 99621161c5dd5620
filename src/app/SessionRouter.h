#pragma once

#include "remote/Router.h"

#include <QTimer>
#include <functional>

namespace config {
class CameraModel;
}
namespace devicelink {
class Session;
}

namespace app {

// The switcher session as the Videohub server sees it: the cameras' titles
// are its inputs, the monitors its outputs, the session's routing model its
// routing. A client's route goes out as the keypad's clicks do (the monitor,
// then the camera, then the status request a second later), each send named
// after the client; a client's label renames the camera and is kept as the
// title dialog's Save keeps it.
class SessionRouter : public remote::Router {
    Q_OBJECT
public:
    SessionRouter(devicelink::Session &session, config::CameraModel &cameras,
                  std::function<void()> keepTitles, QObject *parent = nullptr);

    QString inputLabel(int input) const override;
    QString outputLabel(int output) const override;
    int routedInput(int output) const override;
    void route(int output, int input, const QString &client) override;
    void setInputLabel(int input, const QString &label) override;

    // The panel's language changed (the monitors' names with it).
    void languageChanged() { emit outputLabelsChanged(); }

private:
    devicelink::Session &m_session;
    config::CameraModel &m_cameras;
    std::function<void()> m_keepTitles;
    QTimer m_labels; // a dialog's Save renames sixteen cameras: one update
    QTimer m_keep;   // clients' renames reach the file once a second at most
};

} // namespace app

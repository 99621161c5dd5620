#pragma once

#include "remote/Router.h"

#include <QHash>
#include <QTimer>
#include <functional>

namespace config {
class CameraModel;
}
namespace devicelink {
class Session;
struct Origin;
} // namespace devicelink
namespace ui {
class SettingsStore;
}

namespace app {

// The switcher session as the Videohub server sees it: the cameras' titles
// are its inputs, the monitors its outputs, the session's routing model its
// routing (only what the switcher reported and is current). A client's
// route is the switcher's route operation (the monitor, then the camera,
// then the status request a second later), named after the client; a
// client's label renames the camera and is kept as the title dialog's Save
// keeps it.
class SessionRouter : public remote::Router {
    Q_OBJECT
public:
    SessionRouter(devicelink::Session &session, config::CameraModel &cameras,
                  const ui::SettingsStore &settings, std::function<void()> keepTitles,
                  QObject *parent = nullptr);

    QString inputLabel(int input) const override;
    QString outputLabel(int output) const override;
    int routedInput(int output) const override;
    void route(int output, int input, const QString &client, Done done) override;
    void clientCame(const QString &client, const QHostAddress &address) override;
    void clientGone(const QString &client) override;
    Lock lockOf(int output, const QString &client) const override;
    void lock(int output, remote::protocol::LockAction action, const QString &client,
              Done done) override;
    void setInputLabel(int input, const QString &label) override;

    // The panel's language changed (the monitors' names with it).
    void languageChanged() { emit outputLabelsChanged(); }

private:
    // A client as the arbiter knows it, with its priority.
    devicelink::Origin originOf(const QString &client) const;

    devicelink::Session &m_session;
    const ui::SettingsStore &m_settings;
    QHash<QString, int> m_priorities; // of the clients connected
    config::CameraModel &m_cameras;
    std::function<void()> m_keepTitles;
    QTimer m_labels; // a dialog's Save renames sixteen cameras: one update
    QTimer m_keep;   // clients' renames reach the file once a second at most
};

} // namespace app

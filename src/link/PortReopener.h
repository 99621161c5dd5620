#pragma once

#include <QObject>
#include <QTimer>

namespace devicelink {

class Session;

// Opens a lost serial port again when its device comes back (a USB adapter
// plugged in again, the far end restarted): while the port is lost and the
// serial channel in use, it looks for the device once a second and opens
// it with the settings it had. A port the operator closed is never opened,
// nor one whose channel has been left for a remote site.
class PortReopener : public QObject {
    Q_OBJECT
public:
    static constexpr int checkMs = 1000;

    PortReopener(Session &session, bool enabled, QObject *parent = nullptr);

    bool isWatching() const { return m_check.isActive(); }

signals:
    void reopened();

private:
    void follow();
    void check();

    Session &m_session;
    bool m_enabled;
    QTimer m_check;
};

} // namespace devicelink

#pragma once

#include <QObject>
#include <QTimer>

namespace devicelink {

class Session;

// Opens a lost serial port again when its device comes back (a USB adapter
// plugged in again, the far end restarted), and a port whose device was
// missing when it was to be opened when the device appears: while the port
// waits and the serial channel is in use, it looks for the device once a
// second and opens it with the settings it had. A port the operator closed
// is never opened, nor one whose channel has been left for a remote site,
// nor another port or device chosen meanwhile.
class PortReopener : public QObject {
    Q_OBJECT
public:
    static constexpr int checkMs = 1000;

    explicit PortReopener(Session &session, QObject *parent = nullptr);

    // [Link] Reopen=false turns it off.
    void setEnabled(bool enabled);
    bool isWatching() const { return m_check.isActive(); }

signals:
    void reopened();

private:
    void follow();
    void check();

    Session &m_session;
    bool m_enabled = true;
    QTimer m_check;
};

} // namespace devicelink

#include "link/PortReopener.h"

#include "link/Session.h"
#include "ui/SerialPort.h"

#include <QFileInfo>

namespace devicelink {

PortReopener::PortReopener(Session &session, bool enabled, QObject *parent)
    : QObject(parent)
    , m_session(session)
    , m_enabled(enabled) {
    m_check.setTimerType(Qt::PreciseTimer);
    m_check.setInterval(checkMs);
    connect(&m_check, &QTimer::timeout, this, &PortReopener::check);
    connect(&session, &Session::portStateChanged, this, &PortReopener::follow);
    connect(&session, &Session::channelChanged, this, &PortReopener::follow);
}

void PortReopener::follow() {
    const bool wanted = m_enabled && m_session.serial().state() == SerialChannel::PortState::Lost &&
                        m_session.channel().isSerial();
    if (wanted && !m_check.isActive())
        m_check.start();
    else if (!wanted)
        m_check.stop();
}

void PortReopener::check() {
    // The device node (or its by-id link) is back; a node that udev has not
    // yet given its permissions fails to open and is tried again next time.
    const ui::SerialPort &port = m_session.serial().port();
    if (!QFileInfo::exists(port.devicePath(port.CommPort())))
        return;
    if (m_session.serial().openPort().isEmpty()) {
        m_check.stop();
        emit reopened();
    }
}

} // namespace devicelink

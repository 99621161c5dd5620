#include "link/PortReopener.h"

#include "link/Session.h"

#include <QFileInfo>

namespace devicelink {

PortReopener::PortReopener(Session &session, QObject *parent)
    : QObject(parent)
    , m_session(session) {
    m_check.setTimerType(Qt::PreciseTimer);
    m_check.setInterval(checkMs);
    connect(&m_check, &QTimer::timeout, this, &PortReopener::check);
    connect(&session, &Session::portStateChanged, this, &PortReopener::follow);
    connect(&session, &Session::channelChanged, this, &PortReopener::follow);
}

void PortReopener::setEnabled(bool enabled) {
    m_enabled = enabled;
    follow();
}

void PortReopener::follow() {
    const SerialChannel::PortState state = m_session.serial().state();
    const bool wanted =
        m_enabled &&
        (state == SerialChannel::PortState::Lost || state == SerialChannel::PortState::Absent) &&
        m_session.channel().isSerial();
    if (wanted && !m_check.isActive())
        m_check.start();
    else if (!wanted)
        m_check.stop();
}

void PortReopener::check() {
    // The device node (or its by-id link) is back; a node that udev has not
    // yet given its permissions fails to open and is tried again next time.
    SerialChannel &serial = m_session.serial();
    const QString device = serial.devicePath();
    if (device != serial.awaitedDevice()) {
        // The port now leads to another device (Properties): not ours to open.
        serial.closePort();
        return;
    }
    if (!QFileInfo::exists(device))
        return;
    if (serial.openPort().isEmpty()) {
        m_check.stop();
        emit reopened();
    }
}

} // namespace devicelink

#include "link/PortReopener.h"

#include "link/RemoteAddress.h"
#include "link/SerialChannel.h"
#include "ui/SerialPort.h"

#include <QFileInfo>

namespace devicelink {

PortReopener::PortReopener(SerialChannel &serial, ui::SerialPort &port, RemoteAddress &IPAD,
                           bool enabled, QObject *parent)
    : QObject(parent)
    , m_serial(serial)
    , m_port(port)
    , m_IPAD(IPAD)
    , m_enabled(enabled) {
    m_check.setTimerType(Qt::PreciseTimer);
    m_check.setInterval(checkMs);
    connect(&m_check, &QTimer::timeout, this, &PortReopener::check);
    connect(&serial, &SerialChannel::stateChanged, this, &PortReopener::follow);
    connect(&IPAD, &RemoteAddress::changed, this, &PortReopener::follow);
}

void PortReopener::follow() {
    const bool wanted =
        m_enabled && m_serial.state() == SerialChannel::PortState::Lost && m_IPAD.serialSelected();
    if (wanted && !m_check.isActive())
        m_check.start();
    else if (!wanted)
        m_check.stop();
}

void PortReopener::check() {
    // The device node (or its by-id link) is back; a node that udev has not
    // yet given its permissions fails to open and is tried again next time.
    if (!QFileInfo::exists(m_port.devicePath(m_port.CommPort())))
        return;
    if (m_serial.openPort().isEmpty()) {
        m_check.stop();
        emit reopened();
    }
}

} // namespace devicelink

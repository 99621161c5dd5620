#include "link/SerialChannel.h"

#include "link/Codes.h"
#include "ui/SerialPort.h"

#include <QFileInfo>

namespace devicelink {

SerialChannel::SerialChannel(ui::SerialPort &port, QObject *parent)
    : QObject(parent)
    , m_port(port)
    , m_name(QStringLiteral("serial Com%1").arg(port.CommPort())) {
    connect(&m_port, &ui::SerialPort::LinkLost, this, &SerialChannel::onLinkLost);
    connect(&m_port, &ui::SerialPort::SettingsChanged, this, &SerialChannel::onSettingsChanged);
    m_state = m_port.PortOpen() ? PortState::Open : PortState::Closed;
}

QByteArray SerialChannel::commandFrame(int value) const {
    return Frames::serialCommand(value);
}

QByteArray SerialChannel::statusRequestFrame() const {
    return Frames::serialCommand(valueOf(Code::StatusRequest));
}

bool SerialChannel::transmit(const QByteArray &frame) {
    // A closed port sends nothing; whoever asked is told why.
    m_outputError.clear();
    if (!m_port.PortOpen())
        return false;
    m_outputError = m_port.Output(frame);
    return m_outputError.isEmpty();
}

QString SerialChannel::whyNotSent() const {
    if (m_port.PortOpen())
        return m_outputError.isEmpty() ? QStringLiteral("the port did not take it")
                                       : inEnglish(m_outputError);
    switch (m_state) {
    case PortState::Lost:
        return QStringLiteral("the port is lost");
    case PortState::Absent:
        return QStringLiteral("the port's device is missing");
    default:
        return QStringLiteral("the port is closed");
    }
}

QString SerialChannel::inEnglish(const QString &said) const {
    return m_port.inEnglish(said);
}

QString SerialChannel::devicePath() const {
    return m_port.devicePath(m_port.CommPort());
}

void SerialChannel::onSettingsChanged() {
    m_name = QStringLiteral("serial Com%1").arg(m_port.CommPort());
    // Another port chosen while this one waits for its device: the wait
    // ends, and the new port is not opened by itself.
    if ((m_state == PortState::Lost || m_state == PortState::Absent) &&
        devicePath() != m_awaitedDevice)
        setState(PortState::Closed);
}

QString SerialChannel::toggle() {
    return m_port.PortOpen() ? closePort() : openPort();
}

QString SerialChannel::openPort() {
    const QString error = m_port.setPortOpen(true);
    m_openError = error;
    if (!error.isEmpty() && !m_port.PortOpen() && !QFileInfo::exists(devicePath())) {
        // The device is not there (not yet plugged in, the hub slower than
        // the PC): it may be watched for.
        m_awaitedDevice = devicePath();
        setState(PortState::Absent);
        return error;
    }
    updateState();
    return error;
}

QString SerialChannel::closePort() {
    if (!m_port.PortOpen()) {
        // Closed on purpose: a port that was lost is no longer waited for.
        m_openError.clear();
        setState(PortState::Closed);
        return {};
    }
    const QString error = m_port.setPortOpen(false);
    m_openError.clear();
    updateState();
    return error;
}

void SerialChannel::updateState() {
    if (m_port.PortOpen())
        setState(PortState::Open);
    else if (m_state == PortState::Open)
        setState(PortState::Closed);
    else
        // A port that stays closed (a failed open) still shows as closed on
        // the menu, also after it was lost.
        emit stateChanged(m_state);
}

void SerialChannel::setState(PortState state) {
    m_state = state;
    emit stateChanged(state);
}

void SerialChannel::onLinkLost(const QString &description) {
    // The port is closed already.
    m_lossReason = description;
    m_awaitedDevice = devicePath();
    setState(PortState::Lost);
    emit lost(description);
}

} // namespace devicelink

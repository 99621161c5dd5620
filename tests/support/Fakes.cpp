#include "Fakes.h"

namespace fakes {

void SerialPort::receive(const QByteArray &bytes) {
    pending += bytes;
    m_commEvent = comEvReceive;
    emit OnComm();
}

void SerialPort::drain() {
    outBufferCount = 0;
    emit BytesWritten();
}

void SerialPort::loseLink(const QString &description) {
    m_open = false;
    emit LinkLost(description);
}

QString SerialPort::setCommPort(int port) {
    if (m_open)
        return QStringLiteral("Port already open");
    if (port < 1 || port > 255)
        return QStringLiteral("Invalid port number");
    m_port = port;
    return {};
}

QString SerialPort::setSettings(const QString &settings) {
    QString error;
    const auto parsed = ui::SerialSettings::parse(settings, &error);
    if (!parsed)
        return error;
    m_settings = *parsed;
    return {};
}

QString SerialPort::setHandshaking(int code) {
    if (code < 0 || code > 3)
        return QStringLiteral("Invalid property value");
    m_handshaking = code;
    return {};
}

QString SerialPort::setPortOpen(bool open) {
    if (open && m_open)
        return QStringLiteral("Port already open");
    if (open && !openError.isEmpty())
        return openError;
    m_open = open;
    return {};
}

QString SerialPort::Output(const QByteArray &bytes) {
    if (!m_open)
        return QStringLiteral("Operation valid only when the port is open");
    written += bytes;
    return {};
}

QByteArray SerialPort::Input() {
    const int n = m_inputLen > 0 ? qMin<int>(m_inputLen, pending.size()) : pending.size();
    const QByteArray bytes = pending.left(n);
    pending.remove(0, n);
    return bytes;
}

QString SerialPort::setDTREnable(bool on) {
    m_dtr = on;
    return {};
}

DatagramSocket::Outcome DatagramSocket::SendData(const QByteArray &datagram) {
    const QHostAddress address(m_remoteHost);
    if (address.isEqual(QHostAddress::AnyIPv4, QHostAddress::TolerantConversion))
        return Outcome::Refused;
    sent.append({m_remoteHost, datagram});
    return Outcome::Sent;
}

bool DatagramSocket::isFromRemoteHost(const QHostAddress &sender) const {
    return QHostAddress(m_remoteHost).isEqual(sender, QHostAddress::TolerantConversion);
}

void DatagramSocket::arrive(const QByteArray &datagram, const QString &sender) {
    emit DataArrival(datagram, QHostAddress(sender), 2000);
}

Dialogs::Answer Dialogs::message(const QString &text, Buttons buttons, Icon icon,
                                 const QString &title) {
    shown.append({text, buttons, icon, title});
    if (whileShown)
        whileShown();
    if (!answers.isEmpty())
        return answers.dequeue();
    return buttons == Buttons::Ok ? Answer::Ok : Answer::Cancel;
}

std::optional<QString> Dialogs::inputBox(const QString &prompt, const QString &, const QString &) {
    prompts.append(prompt);
    return inputs.isEmpty() ? std::nullopt : inputs.dequeue();
}

QString Dialogs::openFileName(const QString &, const QString &) {
    return fileNames.isEmpty() ? QString() : fileNames.dequeue();
}

QString Dialogs::saveFileName(const QString &, const QString &) {
    return fileNames.isEmpty() ? QString() : fileNames.dequeue();
}

} // namespace fakes

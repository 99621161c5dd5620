#pragma once

#include "ui/SerialPort.h"
#include "ui/SerialSettings.h"

#include <QSerialPort>

namespace ui {

class SettingsStore;

// The serial port over QSerialPort. Port n is the device chosen for it in
// this run, else the one [Ports] Com<n> in the settings store names, else
// /dev/ttyS<n-1> (COM<n> on Windows).
class QtSerialPort : public SerialPort {
    Q_OBJECT
public:
    explicit QtSerialPort(const SettingsStore &store, QObject *parent = nullptr);
    ~QtSerialPort() override;

    QString devicePath(int port) const override;
    QString mappingProblem() const override;
    QList<Device> devicesPresent() const override;

    int CommPort() const override { return m_commPort; }
    QString setCommPort(int port) override;
    QString Settings() const override { return m_settings.text(); }
    QString setSettings(const QString &settings) override;
    int Handshaking() const override { return m_handshaking; }
    QString setHandshaking(int code) override;
    bool PortOpen() const override { return m_port.isOpen(); }
    QString setPortOpen(bool open) override;
    QString Output(const QByteArray &bytes) override;
    QByteArray Input() override;
    int OutBufferCount() const override;
    bool DTREnable() const override { return m_dtr; }
    QString setDTREnable(bool on) override;
    bool CDHolding() const override;
    bool CTSHolding() const override;
    bool DSRHolding() const override;

private:
    QString apply(const SerialSettings &s);
    QString applyHandshaking(int code);
    QString portError(const QString &what) const;
    // Why the port did not open, as the operator can act on it.
    QString openFailure() const;
    void onReadyRead();
    void onError(QSerialPort::SerialPortError error);
    bool pinout(QSerialPort::PinoutSignal signal) const;

    const SettingsStore &m_store;
    mutable QSerialPort m_port;
    int m_commPort = 1;
    SerialSettings m_settings;
    int m_handshaking = 0;
    bool m_dtr = true;
    bool m_losing = false;
};

} // namespace ui

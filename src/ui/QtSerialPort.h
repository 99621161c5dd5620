#pragma once

#include "ui/SerialPort.h"
#include "ui/SerialSettings.h"
#include "ui/Wording.h"

#include <QHash>
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
    QString inEnglish(const QString &said) const override;
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
    Wording apply(const SerialSettings &s);
    Wording applyHandshaking(int code);
    Wording portError(const Wording &what) const;
    // Why the port did not open, as the operator can act on it.
    Wording openFailure() const;
    // The text shown, its English kept for inEnglish().
    QString said(const Wording &reason) const;
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
    mutable QHash<QString, QString> m_english; // the last reasons given, shown -> English
};

} // namespace ui

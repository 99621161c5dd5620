#pragma once

#include "link/Channel.h"

#include <QObject>
#include <QString>

namespace ui {
class SerialPort;
}

namespace devicelink {

// The serial port as a channel: a command is its byte and a CR. It owns the
// port's state (closed, open, lost when the device went away, absent when
// the device was missing as it was to be opened) and the terminal's local
// echo; every open and close of the port goes through it.
class SerialChannel : public QObject, public Channel {
    Q_OBJECT
public:
    enum class PortState { Closed, Open, Lost, Absent };

    explicit SerialChannel(ui::SerialPort &port, QObject *parent = nullptr);

    Frame::Medium medium() const override { return Frame::Medium::Serial; }
    const QString &name() const override { return m_name; }
    QByteArray commandFrame(int value) const override;
    QByteArray statusRequestFrame() const override;
    bool transmit(const QByteArray &frame) override;
    QString whyNotSent() const override;

    ui::SerialPort &port() const { return m_port; }
    PortState state() const { return m_state; }
    bool isOpen() const { return m_state == PortState::Open; }
    // Opens, closes or toggles the port; returns the port's error text,
    // empty on success.
    QString openPort();
    QString closePort();
    QString toggle();
    // Why the last open failed; empty once the port opened.
    QString openError() const { return m_openError; }
    // Why the port was lost.
    QString lossReason() const { return m_lossReason; }
    // A reason the port gave, in English for the event log.
    QString inEnglish(const QString &said) const;
    // The device a lost or missing port waits for; another port number or
    // device given meanwhile ends the wait (the port is then closed).
    QString awaitedDevice() const { return m_awaitedDevice; }
    // The device port n opens now.
    QString devicePath() const;

    // Keys typed into the terminal box are shown there too.
    bool echoEnabled() const { return m_echoEnabled; }
    void setEchoEnabled(bool on) { m_echoEnabled = on; }

signals:
    void stateChanged(devicelink::SerialChannel::PortState state);
    // The device went away while the port was open; the port is closed.
    void lost(const QString &description);

private:
    void onLinkLost(const QString &description);
    void onSettingsChanged();
    // Takes the state from the port after an open or a close.
    void updateState();
    void setState(PortState state);

    ui::SerialPort &m_port;
    QString m_name;
    PortState m_state = PortState::Closed;
    QString m_openError;
    QString m_lossReason;
    QString m_awaitedDevice;
    bool m_echoEnabled = false;
    QString m_outputError; // why the last write failed on an open port
};

} // namespace devicelink

#pragma once

#include <QByteArray>
#include <QList>
#include <QMap>
#include <QObject>
#include <QString>
#include <functional>

class QEventLoop;

namespace ui {

// The serial port as the panel uses it: numbered ports, a settings string,
// flow control, raw output and input, modem lines and a receive event.
// Setters return the error's description, or empty text when they succeeded.
class SerialPort : public QObject {
    Q_OBJECT
public:
    // Codes of CommEvent.
    enum { comEvSend = 1, comEvReceive = 2 };

    using QObject::QObject;

    virtual int CommPort() const = 0;
    virtual QString setCommPort(int port) = 0;
    virtual QString Settings() const = 0;
    virtual QString setSettings(const QString &settings) = 0;
    virtual int Handshaking() const = 0;
    virtual QString setHandshaking(int code) = 0;
    virtual bool PortOpen() const = 0;
    virtual QString setPortOpen(bool open) = 0;
    // Puts the bytes on the line.
    virtual QString Output(const QByteArray &bytes) = 0;
    // The received bytes waiting (at most InputLen of them when it is not 0).
    virtual QByteArray Input() = 0;
    // Bytes written but not yet gone to the line.
    virtual int OutBufferCount() const = 0;
    virtual bool DTREnable() const = 0;
    virtual QString setDTREnable(bool on) = 0;
    virtual bool CDHolding() const = 0;
    virtual bool CTSHolding() const = 0;
    virtual bool DSRHolding() const = 0;

    // The device that port number n opens, for the operator to see.
    virtual QString devicePath(int port) const {
        const QString chosen = chosenDevice(port);
        return chosen.isEmpty() ? QStringLiteral("Com%1").arg(port) : chosen;
    }
    // A device that port number n opens for the rest of this run, ahead of
    // the map in the settings: the port properties dialog tries a device
    // before it keeps it there. An empty path drops the choice.
    void chooseDevice(int port, const QString &path);
    QString chosenDevice(int port) const { return m_chosenDevices.value(port); }
    // A serial device present on the machine, to map a port number to.
    struct Device {
        QString path;        // a stable name (/dev/serial/by-id/...) where there is one
        QString description; // what the device says it is, with its serial number
    };
    virtual QList<Device> devicesPresent() const { return {}; }
    // What is wrong with the map of port numbers to devices (an entry that
    // names no port), for the operator; empty when nothing is.
    virtual QString mappingProblem() const { return {}; }
    // A reason this port gave (a setter's error, a loss's description) in
    // English, for the event log; the text itself when it has no other.
    virtual QString inEnglish(const QString &said) const { return said; }

    int CommEvent() const { return m_commEvent; }
    int OutBufferSize() const { return m_outBufferSize; }
    int InputLen() const { return m_inputLen; }
    QString setInputLen(int n);
    // 0 turns the receive event off; n raises it when n bytes are waiting.
    int RThreshold() const { return m_rThreshold; }
    QString setRThreshold(int n);
    int SThreshold() const { return m_sThreshold; }
    QString setSThreshold(int n);
    QString ParityReplace() const { return m_parityReplace; }
    QString setParityReplace(const QString &c);

signals:
    // The port's event: read CommEvent for its kind.
    void OnComm();
    // Some output has left the buffer.
    void BytesWritten();
    // The device went away while open; the port has been closed once.
    void LinkLost(const QString &description);
    // The port number, settings or flow control were changed.
    void SettingsChanged();

protected:
    int m_commEvent = 0;
    int m_outBufferSize = 512;
    int m_inputLen = 0;
    int m_rThreshold = 1;
    int m_sThreshold = 0;
    QString m_parityReplace = QStringLiteral("?");

private:
    QMap<int, QString> m_chosenDevices;
};

// Lets events run until some output leaves the port, its device goes away,
// ms pass (at most recheckMs: bytes leaving the driver's queue raise no
// signal), or whatever alsoWakeOn connects to the loop's quit fires. Nothing
// spins meanwhile: the shutdown's drain and a transmission wait with it, and
// look at OutBufferCount again after each wait.
constexpr int recheckMs = 50;
void waitOnOutput(SerialPort &port, int ms,
                  const std::function<void(QEventLoop &)> &alsoWakeOn = {});

} // namespace ui

#pragma once

#include "link/Clock.h"
#include "ui/DatagramSocket.h"
#include "ui/Dialogs.h"
#include "ui/SerialPort.h"
#include "ui/SerialSettings.h"
#include "ui/SettingsStore.h"

#include <QList>
#include <QMap>
#include <QQueue>
#include <functional>

namespace fakes {

// A serial port that records what is written and receives what a test hands it.
class SerialPort : public ui::SerialPort {
    Q_OBJECT
public:
    QByteArray written;
    QString openError;      // the error the next open reports, if any
    int outBufferCount = 0; // bytes that "have not left yet"
    QByteArray pending;     // received, not yet read
    QList<Device> present;  // the serial devices "on the machine"
    QString mapping;        // what the port map's check says at start-up

    void receive(const QByteArray &bytes);
    // Empties the output buffer as a line that has sent everything.
    void drain();
    // The device went away.
    void loseLink(const QString &description);

    int CommPort() const override { return m_port; }
    QString setCommPort(int port) override;
    QString Settings() const override { return m_settings.text(); }
    QString setSettings(const QString &settings) override;
    int Handshaking() const override { return m_handshaking; }
    QString setHandshaking(int code) override;
    bool PortOpen() const override { return m_open; }
    QString setPortOpen(bool open) override;
    QString Output(const QByteArray &bytes) override;
    QByteArray Input() override;
    int OutBufferCount() const override { return m_open ? outBufferCount : 0; }
    bool DTREnable() const override { return m_dtr; }
    QString setDTREnable(bool on) override;
    QList<Device> devicesPresent() const override { return present; }
    QString mappingProblem() const override { return mapping; }
    bool CDHolding() const override { return false; }
    bool CTSHolding() const override { return false; }
    bool DSRHolding() const override { return false; }

private:
    int m_port = 1;
    ui::SerialSettings m_settings;
    int m_handshaking = 0;
    bool m_open = false;
    bool m_dtr = true;
};

// A datagram socket that records what is sent, and to which host.
class DatagramSocket : public ui::DatagramSocket {
    Q_OBJECT
public:
    struct Sent {
        QString host;
        QByteArray datagram;
    };
    QList<Sent> sent;

    Outcome SendData(const QByteArray &datagram) override;
    bool isFromRemoteHost(const QHostAddress &sender) const override;
    // A datagram from the given sender arrives.
    void arrive(const QByteArray &datagram, const QString &sender);
};

// Dialogs answered from a queue; every box shown is recorded.
class Dialogs : public ui::Dialogs {
public:
    struct Shown {
        QString text;
        Buttons buttons;
        Icon icon;
        QString title;
    };
    QList<Shown> shown;
    QQueue<Answer> answers;                // empty: Ok, or Cancel for other sets
    QQueue<std::optional<QString>> inputs; // empty: cancelled
    QQueue<QString> fileNames;             // empty: cancelled
    QList<QString> prompts;
    std::function<void()> whileShown; // runs while a message box is "up"

    Answer message(const QString &text, Buttons buttons, Icon icon,
                   const QString &title = {}) override;
    std::optional<QString> inputBox(const QString &prompt, const QString &title,
                                    const QString &defaultText) override;
    QString openFileName(const QString &title, const QString &filter) override;
    QString saveFileName(const QString &title, const QString &filter) override;
};

// A clock that moves only when a test moves it.
class Clock : public devicelink::Clock {
public:
    qint64 ms = 1'800'000'000'000; // an afternoon in January 2027
    qint64 now() const override { return ms; }
};

class SettingsStore : public ui::SettingsStore {
public:
    QMap<QString, QString> values; // "Section/Key" -> text

    QString value(const QString &section, const QString &key) const override {
        return values.value(section + QLatin1Char('/') + key);
    }
    void setValue(const QString &section, const QString &key, const QString &text) override {
        values[section + QLatin1Char('/') + key] = text;
    }
    Entries entries(const QString &section) const override {
        Entries out;
        for (auto it = values.cbegin(); it != values.cend(); ++it) {
            const QString name = it.key().section(QLatin1Char('/'), 0, 0);
            if (name.compare(section, Qt::CaseInsensitive) == 0)
                out.append({it.key().section(QLatin1Char('/'), 1), it.value()});
        }
        return out;
    }
};

} // namespace fakes

#pragma once

#include "link/SerialChannel.h"

#include <QObject>
#include <QString>
#include <QTimer>

namespace ui {
class SerialPort;
}

namespace devicelink {

class NetworkChannel;
class RemoteAddress;

// What the operator should know about the link at a glance: the channel in
// use and its state, and whether the switcher answers. It only watches: it
// sends nothing and shows no box. Replies are noted cheaply (a time and a
// source) however fast they come; what it says is read when it is shown.
class LinkMonitor : public QObject {
    Q_OBJECT
public:
    enum class Level { Good, Warning, Fault }; // green, amber, red

    static constexpr int replyWaitMs = 2000; // a status request unanswered after this

    LinkMonitor(SerialChannel &serial, ui::SerialPort &port, RemoteAddress &IPAD,
                NetworkChannel &network, QObject *parent = nullptr);

    // "Serial Com1 (/dev/ttyUSB0) 9600,n,8,1: open" or "Remote site 10.1.2.3 (UDP 2000)".
    QString channelText() const;
    // "routing from 127.0.0.1, 12:03:41", "no reply to the status request of 12:04:10", ...
    QString answerText() const;
    Level level() const;

    // The decoder has read a reply from the channel in use.
    void replyDecoded();
    // The lost port was opened again by itself.
    void noteReopened();

signals:
    // Something shown has changed (at most once per event that changed it).
    void changed();

private:
    QString source() const;
    void onRequest();
    void onReplyWaitOver();
    void onChannel();

    SerialChannel &m_serial;
    ui::SerialPort &m_port;
    RemoteAddress &m_IPAD;
    QTimer m_replyWait;
    qint64 m_requestAt = 0;  // the request waited on, ms since the epoch; 0: none
    qint64 m_unanswered = 0; // a request that got no reply in time
    qint64 m_replyAt = 0;    // the last reply
    QString m_replyFrom;     // the channel it came from
    qint64 m_reopenedAt = 0; // the lost port came back
};

} // namespace devicelink

#pragma once

#include <QObject>
#include <QString>
#include <QTimer>

namespace devicelink {

class Session;

// What the operator should know about the link at a glance: the channel in
// use and its state, and whether the switcher answers. It only watches: it
// sends nothing and shows no box. Replies are noted cheaply (a time and a
// source) however fast they come; what it says is read when it is shown.
class LinkMonitor : public QObject {
    Q_OBJECT
public:
    enum class Level { Good, Warning, Fault }; // green, amber, red

    static constexpr int replyWaitMs = 2000; // a status request unanswered after this

    explicit LinkMonitor(Session &session, QObject *parent = nullptr);

    // "Serial Com1 (/dev/ttyUSB0) 9600,n,8,1: open" or "Remote site 10.1.2.3 (UDP 2000)".
    QString channelText() const;
    // "routing from 127.0.0.1, 12:03:41", "no reply to the status request of 12:04:10", ...
    QString answerText() const;
    Level level() const;

    // The lost port was opened again by itself.
    void noteReopened();

signals:
    // Something shown has changed (at most once per event that changed it).
    void changed();

private:
    // Where a reply would come from now: "serial Com1" or the site.
    QString source() const;
    void onReply(const QString &channel);
    void onRequest();
    void onReplyWaitOver();
    void onChannel();

    Session &m_session;
    QTimer m_replyWait;
    qint64 m_requestAt = 0;  // the request waited on, ms since the epoch; 0: none
    qint64 m_unanswered = 0; // a request that got no reply in time
    qint64 m_replyAt = 0;    // the last reply
    QString m_replyFrom;     // the channel it came from
    qint64 m_reopenedAt = 0; // the lost port came back
};

} // namespace devicelink

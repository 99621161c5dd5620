#pragma once

#include <QObject>
#include <QString>
#include <QTimer>

namespace devicelink {

class Session;

// What the operator should know about the link at a glance: the state of the
// channel in use, first and in a word or a few ("Open", "Lost since
// 12:03:41", "Resolving gw.site-a ..."), which channel that is, and whether
// the switcher answers. It only watches: it sends nothing and shows no box.
// Replies are noted cheaply (a time and a source) however fast they come;
// what it says is read when it is shown, in the language in use then.
class LinkMonitor : public QObject {
    Q_OBJECT
public:
    enum class Level { Good, Warning, Fault }; // green, amber, red

    static constexpr int replyWaitMs = 2000; // a status request unanswered after this

    explicit LinkMonitor(Session &session, QObject *parent = nullptr);

    // "Open", "Lost since 12:03:41", "Cannot open: the port is in use by ...".
    QString stateText() const;
    // "Serial Com1 (/dev/ttyUSB0) 9600,n,8,1" or "Remote site 10.1.2.3 (UDP 2000)".
    QString channelText() const;
    // What the state means for the operator, for a tooltip.
    QString stateDetail() const;
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
    // Why the request of m_notSentAt did not leave: "the port is closed".
    QString notSentWhy() const;
    void onReply(const QString &channel);
    void onRequest(bool sent);
    void onReplyWaitOver();
    void onChannel();
    void onPortState();

    Session &m_session;
    QTimer m_replyWait;
    qint64 m_requestAt = 0;         // the request waited on, ms since the epoch; 0: none
    qint64 m_unanswered = 0;        // a request that got no reply in time
    qint64 m_notSentAt = 0;         // a request asked for that could not leave
    bool m_notSentPortLost = false; // ... on the serial port, lost rather than closed
    QString m_notSentTo;            // ... to this site
    qint64 m_replyAt = 0;           // the last reply
    QString m_replyFrom;            // the channel it came from
    bool m_replyStale = false;      // the port was lost since: the switcher may have changed
    qint64 m_reopenedAt = 0;        // the lost port came back
    qint64 m_downSince = 0;         // the port was lost, or found missing
};

} // namespace devicelink

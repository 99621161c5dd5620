#pragma once

#include <QObject>

namespace devicelink {
class Session;
struct Frame;
} // namespace devicelink

namespace events {

class EventStore;
struct Event;

// Records the switcher session in the event log, whether or not any window
// is open: every frame sent, received or ignored, every command that could
// not leave, every change of the link (port, channel, a site's name) and of
// the routing, each with its time, channel and origin.
class SessionLog : public QObject {
    Q_OBJECT
public:
    SessionLog(devicelink::Session &session, EventStore &store, QObject *parent = nullptr);
    // Without a log to write ([Events] Enabled=false): the events are still
    // passed on to those who listen.
    explicit SessionLog(devicelink::Session &session, QObject *parent = nullptr);
    // The log it writes to from now on; null: none.
    void setStore(EventStore *store) { m_store = store; }

    // The program's own start and end.
    void noteProgram(const QString &what);
    // What a client of the session did that never reached the line (a user
    // logged in, a log-in that failed), recorded as the frames are.
    void note(const Event &event) { append(event); }

signals:
    // Every event as it goes to the log, for those who pass it on (the
    // message bus, the browser panel).
    void noted(const events::Event &event);

private:
    void record(const devicelink::Frame &frame);
    void recordRouting(int monitor);
    void append(const Event &event);

    devicelink::Session &m_session;
    EventStore *m_store = nullptr;
};

} // namespace events

#pragma once

#include <QObject>

namespace devicelink {
class Session;
struct Frame;
} // namespace devicelink

namespace events {

class EventStore;

// Records the switcher session in the event log, whether or not any window
// is open: every frame sent, received or ignored, every command that could
// not leave, every change of the link (port, channel, a site's name) and of
// the routing, each with its time, channel and origin.
class SessionLog : public QObject {
    Q_OBJECT
public:
    SessionLog(devicelink::Session &session, EventStore &store, QObject *parent = nullptr);

    // The program's own start and end.
    void noteProgram(const QString &what);

private:
    void record(const devicelink::Frame &frame);
    void recordRouting(int monitor);

    devicelink::Session &m_session;
    EventStore &m_store;
};

} // namespace events

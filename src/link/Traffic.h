#pragma once

#include "link/TrafficLog.h"

#include <QMetaObject>
#include <QObject>

namespace devicelink {

class Session;
struct Frame;

// Records the frames of the session into a traffic log while someone looks
// (the traffic window is open). Not looking, it does not listen at all, and
// a frame costs the session one check.
class Traffic : public QObject {
    Q_OBJECT
public:
    explicit Traffic(Session &session, QObject *parent = nullptr);

    bool isRecording() const { return m_recording; }
    void setRecording(bool on);
    const TrafficLog &log() const { return m_log; }
    void clear();

private:
    void record(const Frame &frame);

    Session &m_session;
    TrafficLog m_log;
    bool m_recording = false;
    QMetaObject::Connection m_connections[5];
};

} // namespace devicelink

#include "link/Traffic.h"

#include "link/Session.h"

namespace devicelink {

Traffic::Traffic(Session &session, QObject *parent)
    : QObject(parent)
    , m_session(session) {}

void Traffic::setRecording(bool on) {
    if (on == m_recording)
        return;
    m_recording = on;
    if (!on) {
        for (QMetaObject::Connection &c : m_connections)
            disconnect(c);
        return;
    }
    m_connections[0] = connect(&m_session, &Session::frameSent, this, &Traffic::record);
    m_connections[1] = connect(&m_session, &Session::frameReceived, this, &Traffic::record);
    m_connections[2] = connect(&m_session, &Session::frameIgnored, this, &Traffic::record);
    m_connections[3] = connect(&m_session, &Session::frameNotSent, this, &Traffic::record);
    m_connections[4] = connect(&m_session, &Session::stateNoted, this, &Traffic::record);
}

void Traffic::clear() {
    m_log.clear();
}

void Traffic::record(const Frame &frame) {
    const bool sent =
        frame.direction == Frame::Direction::Sent || frame.direction == Frame::Direction::NotSent;
    m_log.append(frame.at, frame.direction, frame.medium, frame.channel, frame.bytes, frame.note,
                 sent ? frame.origin.text() : QString(), frame.meaning);
}

} // namespace devicelink

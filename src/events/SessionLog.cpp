#include "events/SessionLog.h"

#include "events/EventStore.h"
#include "link/Clock.h"
#include "link/Operations.h"
#include "link/RoutingModel.h"
#include "link/Session.h"

namespace events {

using devicelink::Frame;

SessionLog::SessionLog(devicelink::Session &session, EventStore &store, QObject *parent)
    : SessionLog(session, parent) {
    m_store = &store;
}

SessionLog::SessionLog(devicelink::Session &session, QObject *parent)
    : QObject(parent)
    , m_session(session) {
    using devicelink::Session;
    for (auto signal : {&Session::frameSent, &Session::frameReceived, &Session::frameIgnored,
                        &Session::frameNotSent, &Session::stateNoted})
        connect(&session, signal, this, &SessionLog::record);
    connect(&session, &Session::routingChanged, this, &SessionLog::recordRouting);
    // What the arbiter decided, and what it refused, with who asked.
    devicelink::Operations &operations = session.operations();
    connect(
        &operations, &devicelink::Switcher::decided, this,
        [this](const devicelink::Origin &origin, const QString &what) {
            append({m_session.clock().now(), Event::Direction::State, {}, origin.text(), {}, what});
        });
    connect(&operations, &devicelink::Switcher::refused, this,
            [this](const devicelink::Origin &origin, const devicelink::Outcome &outcome) {
                // What did not leave has its own rows, frame by frame.
                if (outcome.kind != devicelink::Outcome::Kind::Refused)
                    return;
                append({m_session.clock().now(),
                        Event::Direction::State,
                        {},
                        origin.text(),
                        {},
                        QStringLiteral("refused: %1").arg(outcome.reason)});
            });
}

void SessionLog::noteProgram(const QString &what) {
    append({m_session.clock().now(),
            Event::Direction::State,
            {},
            QStringLiteral("program"),
            {},
            what});
}

void SessionLog::record(const Frame &frame) {
    Event e;
    e.at = frame.at;
    e.channel = frame.channel;
    e.bytes = frame.bytes;
    e.meaning = frame.meaning;
    switch (frame.direction) {
    case Frame::Direction::Sent:
        e.direction = Event::Direction::Sent;
        e.origin = frame.origin.text();
        break;
    case Frame::Direction::Received:
        e.direction = Event::Direction::Received;
        e.origin = QStringLiteral("switcher");
        break;
    case Frame::Direction::Ignored:
        // The stranger is named by the channel, its address and port.
        e.direction = Event::Direction::Ignored;
        e.origin = QStringLiteral("other host");
        break;
    case Frame::Direction::NotSent:
        // Who asked, and what did not leave.
        e.direction = Event::Direction::State;
        e.origin = frame.origin.text();
        break;
    case Frame::Direction::State:
        e.direction = Event::Direction::State;
        e.origin = QStringLiteral("link");
        break;
    }
    append(e);
}

void SessionLog::append(const Event &event) {
    if (m_store)
        m_store->append(event);
    emit noted(event);
}

void SessionLog::recordRouting(int monitor) {
    const devicelink::RoutingModel::Entry &entry = m_session.routing().entry(monitor);
    append({m_session.clock().now(),
            Event::Direction::State,
            entry.channel,
            QStringLiteral("link"),
            {},
            entry.stale
                ? QStringLiteral("routing of monitor %1 no longer known").arg(monitor)
                : QStringLiteral("monitor %1 shows camera %2").arg(monitor).arg(entry.camera)});
}

} // namespace events

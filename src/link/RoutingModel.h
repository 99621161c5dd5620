#pragma once

#include "link/StatusReply.h"

#include <QObject>
#include <QString>
#include <array>

namespace devicelink {

// What the switcher said of its routing: for each monitor the camera that a
// status reply last named on it, with the time and the channel of that
// reply, and what the panel lights (the camera the last full reply named,
// the monitor of the last reply). An entry is stale once the channel or site
// changed or the port was lost, until a reply names it again. A half reply,
// one that names no camera, lights its monitor and leaves the camera lit
// before; it says nothing of any monitor's camera.
class RoutingModel : public QObject {
    Q_OBJECT
public:
    static constexpr int monitors = 4;

    struct Entry {
        int camera = 0; // 1 to 16; 0 while no reply named one for this monitor
        qint64 at = 0;  // ms since the epoch
        QString channel;
        bool stale = false;
    };

    // What the panel's keys show: the camera and the monitor lit, each
    // stale while it was lit before a loss, a reopen or a change of channel.
    struct Lit {
        int camera = 0;  // 0: none lit yet
        int monitor = 0; // 0: none lit yet
        bool cameraStale = false;
        bool monitorStale = false;
    };

    using QObject::QObject;

    // Monitor 1 to 4.
    const Entry &entry(int monitor) const { return m_entries[monitor - 1]; }
    // The last reply decoded, and whether there was one.
    const StatusReply &last() const { return m_last; }
    bool hasReply() const { return m_replies > 0; }
    const Lit &lit() const { return m_lit; }

    // A reply decoded from the given channel.
    void apply(const StatusReply &reply, qint64 at, const QString &channel);
    // What is known may no longer be so (a change of channel, a lost port).
    void markStale();

signals:
    // The camera of a monitor changed, or its entry became fresh or stale.
    void changed(int monitor);
    // A reply was read (the keys are lit again, in the window's colours of
    // the moment), or what is lit went stale.
    void litChanged();

private:
    std::array<Entry, monitors> m_entries;
    StatusReply m_last;
    Lit m_lit;
    qint64 m_replies = 0;
};

} // namespace devicelink

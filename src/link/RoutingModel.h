#pragma once

#include "link/StatusReply.h"

#include <QObject>
#include <QString>
#include <array>

namespace devicelink {

// What the switcher said of its routing: for each monitor the camera that a
// status reply last named on it, with the time and the channel of that
// reply, and the last reply itself (the panel lights its camera and
// monitor). An entry is stale once the channel or site changed or the port
// was lost, until a reply names it again.
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

    using QObject::QObject;

    // Monitor 1 to 4.
    const Entry &entry(int monitor) const { return m_entries[monitor - 1]; }
    // The last reply decoded, and whether there was one.
    const StatusReply &last() const { return m_last; }
    bool hasReply() const { return m_replies > 0; }

    // A reply decoded from the given channel.
    void apply(const StatusReply &reply, qint64 at, const QString &channel);
    // What is known may no longer be so (a change of channel, a lost port).
    void markStale();

signals:
    // The camera of a monitor changed, or its entry became fresh or stale.
    void changed(int monitor);

private:
    std::array<Entry, monitors> m_entries;
    StatusReply m_last;
    qint64 m_replies = 0;
};

} // namespace devicelink

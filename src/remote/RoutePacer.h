#pragma once

#include "remote/Protocol.h"

#include <QElapsedTimer>
#include <QHash>
#include <QObject>
#include <QTimer>
#include <deque>

namespace remote {

class Router;

// Hands the clients' routes to the router at a pace the switcher's line
// keeps up with: a burst goes out at once, then one route per interval,
// taking the clients in turn so that one busy client cannot hold up the
// rest. What waits is bounded per client and in all, each client keeping its
// share of the whole; a block that does not fit is refused whole.
class RoutePacer : public QObject {
    Q_OBJECT
public:
    // A route is two commands (monitor, camera), 4 bytes on a 9600-baud
    // line: 50 a second take a fifth of it, and a burst of 16 lets 16
    // clients route at the same moment without waiting.
    static constexpr int burst = 16;
    static constexpr int intervalMs = 20;
    static constexpr int perClient = 32;
    static constexpr int total = 256;

    explicit RoutePacer(Router &router, QObject *parent = nullptr);

    // Queues all of the routes (and sends what the pace allows at once), or
    // none of them when they would not fit. A client's routes that still
    // wait when it leaves are sent all the same: it was told ACK.
    bool offer(quint64 client, const QString &source, const QList<protocol::Route> &routes);
    int waiting() const { return m_waiting; }

private:
    struct Entry {
        protocol::Route route;
        QString source;
    };

    void dispatch();

    Router &m_router;
    QHash<quint64, std::deque<Entry>> m_queues;
    std::deque<quint64> m_turns; // clients with routes waiting, next first
    int m_waiting = 0;
    QElapsedTimer m_clock;
    qint64 m_due = 0; // ns on m_clock: when the burst would be full again
    QTimer m_timer;
    bool m_dispatching = false;
};

} // namespace remote

#pragma once

#include "remote/Protocol.h"

#include <QElapsedTimer>
#include <QHash>
#include <QObject>
#include <QTimer>
#include <deque>
#include <functional>
#include <memory>

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

    // Whether all the routes of a block left (false: one was refused or
    // could not leave).
    using Done = std::function<void(bool allLeft)>;

    // Queues all of the routes (and sends what the pace allows at once), or
    // none of them when they would not fit; done is told once every route
    // of them has been tried. A client's routes that still wait when it
    // leaves are sent all the same.
    bool offer(quint64 client, const QString &source, const QList<protocol::Route> &routes,
               Done done = {});
    int waiting() const { return m_waiting; }

private:
    // The routes of one block, counted down as they are tried.
    struct Block {
        int left = 0;
        bool allLeft = true;
        Done done;
    };
    struct Entry {
        protocol::Route route;
        QString source;
        std::shared_ptr<Block> block;
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

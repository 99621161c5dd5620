#pragma once

#include "link/Switcher.h"

#include <QElapsedTimer>
#include <QHash>
#include <QObject>
#include <QTimer>
#include <deque>
#include <functional>

namespace bus {

// What the bus asks of the switcher and the automation, bounded and paced:
// a few commands run at once, and they start at the pace the switcher's line
// keeps up with (a burst, then one every interval, as the Videohub clients'
// routes do); a few dozen wait behind them, and a command beyond that is
// refused at once ("queue full") instead of piling up in the port's output
// while the line, far slower than the bus, works through what it has. Every
// command is answered exactly once: done, refused or not sent as its
// operation ends, or refused when it has not ended within a time limit.
class CommandQueue : public QObject {
    Q_OBJECT
public:
    // Runs a command; it calls its argument once the operation has ended.
    using Job = std::function<void(const devicelink::Done &)>;

    static constexpr int runningLimit = 4;
    static constexpr int waitingLimit = 64;
    static constexpr int defaultAnswerMs = 30'000;
    // A route is two commands, 4 bytes at 9600 baud: 50 a second take a
    // fifth of the line, and a burst of 16 goes out at once.
    static constexpr int burst = 16;
    static constexpr int intervalMs = 20;

    explicit CommandQueue(int answerMs = defaultAnswerMs, QObject *parent = nullptr);
    ~CommandQueue() override;

    // Runs the job now, later, or not at all; answer is called once with its
    // outcome (before offer returns when it is refused at once, or when the
    // job's own operation ends at once).
    void offer(Job job, devicelink::Done answer);
    // Refuses whatever waits (the bus went away); what runs is answered as it ends.
    void dropWaiting(const QString &why);

    // Commands start at most every ms after the burst (0: as fast as they
    // come, for tests).
    void setPace(int ms) { m_intervalNs = qint64(ms) * 1000 * 1000; }

    int running() const { return int(m_running.size()); }
    int waiting() const { return int(m_waiting.size()); }

    // The deadline check, as its timer runs it.
    void checkDeadlines();

private:
    struct Waiting {
        Job job;
        devicelink::Done answer;
    };
    struct Running {
        devicelink::Done answer;
        qint64 deadline = 0; // ms on m_clock
    };

    void pump();
    void finish(quint64 id, const devicelink::Outcome &outcome);

    int m_answerMs;
    std::deque<Waiting> m_waiting;
    QHash<quint64, Running> m_running;
    quint64 m_nextId = 1;
    bool m_pumping = false;
    QElapsedTimer m_clock;
    QTimer m_deadlines;
    qint64 m_intervalNs = qint64(intervalMs) * 1000 * 1000;
    qint64 m_due = 0; // ns on m_clock: when the burst would be full again
    QTimer m_pace;
};

} // namespace bus

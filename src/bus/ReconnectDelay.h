#pragma once

namespace bus {

// How long the client waits before it tries the broker again: 1 s after the
// first failure, doubling with each failure in a row up to a minute, and
// 1 s again once a connection has been made. A broker that is away costs a
// connection attempt a minute, however long it stays away.
class ReconnectDelay {
public:
    static constexpr int firstSeconds = 1;
    static constexpr int longestSeconds = 60;

    // The wait after this many failures in a row (the first failure is 1).
    static int afterFailures(int failures);

    // A failure: the wait before the next attempt.
    int fail() { return afterFailures(++m_failures); }
    // A connection was made.
    void reset() { m_failures = 0; }
    int failures() const { return m_failures; }

private:
    int m_failures = 0;
};

} // namespace bus

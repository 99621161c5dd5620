#pragma once

#include <QtGlobal>

namespace devicelink {

// The wall clock the link stamps its frames and replies with; tests put
// their own in its place, so that the age of a reply needs no waiting.
class Clock {
public:
    virtual ~Clock() = default;
    // Milliseconds since the epoch.
    virtual qint64 now() const = 0;

    // The system's clock.
    static Clock &system();
};

} // namespace devicelink

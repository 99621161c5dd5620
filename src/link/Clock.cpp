#include "link/Clock.h"

#include <QDateTime>

namespace devicelink {

namespace {
class SystemClock : public Clock {
public:
    qint64 now() const override { return QDateTime::currentMSecsSinceEpoch(); }
};
} // namespace

Clock &Clock::system() {
    static SystemClock clock;
    return clock;
}

} // namespace devicelink

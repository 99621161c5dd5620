#include "ui/Timer.h"

#include <QSocketNotifier>
#include <QtGlobal>

#ifdef Q_OS_LINUX
#include <sys/timerfd.h>
#include <unistd.h>
#endif

namespace ui {

namespace {

#ifdef Q_OS_LINUX
timespec toTimespec(int ms) {
    // A kernel timer with a zero time is disarmed: the shortest interval is
    // one millisecond.
    const int positive = qMax(ms, 1);
    return timespec{positive / 1000, static_cast<long>(positive % 1000) * 1000000L};
}
#endif

} // namespace

Timer::Timer(const QString &name, int intervalMs, bool enabled, QObject *parent)
    : QObject(parent)
    , m_intervalMs(intervalMs) {
    setObjectName(name);
#ifdef Q_OS_LINUX
    m_fd = ::timerfd_create(CLOCK_MONOTONIC, TFD_NONBLOCK | TFD_CLOEXEC);
    if (m_fd >= 0) {
        m_notifier = new QSocketNotifier(m_fd, QSocketNotifier::Read, this);
        connect(m_notifier, &QSocketNotifier::activated, this, &Timer::expired);
    }
#endif
    m_timer.setTimerType(Qt::PreciseTimer);
    m_timer.setInterval(intervalMs);
    connect(&m_timer, &QTimer::timeout, this, &Timer::tick);
    setEnabled(enabled);
}

Timer::~Timer() {
#ifdef Q_OS_LINUX
    if (m_fd >= 0) {
        delete m_notifier;
        ::close(m_fd);
    }
#endif
}

void Timer::setEnabled(bool enabled) {
    if (enabled == m_enabled)
        return;
    m_enabled = enabled;
    if (enabled)
        arm();
    else
        disarm();
}

void Timer::setInterval(int ms) {
    m_intervalMs = ms;
    m_timer.setInterval(ms);
    if (m_enabled)
        arm();
}

int Timer::remainingTime() const {
    if (!m_enabled)
        return -1;
#ifdef Q_OS_LINUX
    if (m_fd >= 0) {
        itimerspec left{};
        if (::timerfd_gettime(m_fd, &left) != 0)
            return 0;
        const qint64 ns = qint64(left.it_value.tv_sec) * 1000000000 + left.it_value.tv_nsec;
        return static_cast<int>((ns + 999999) / 1000000);
    }
#endif
    return m_timer.remainingTime();
}

void Timer::arm() {
#ifdef Q_OS_LINUX
    if (m_fd >= 0) {
        // The kernel keeps the period itself: every tick is due a whole
        // number of intervals after the start, however late one is handled.
        const timespec period = toTimespec(m_intervalMs);
        const itimerspec schedule{period, period};
        if (::timerfd_settime(m_fd, 0, &schedule, nullptr) == 0)
            return;
        // A kernel timer that cannot be set hands over to the QTimer for good.
        delete m_notifier;
        m_notifier = nullptr;
        ::close(m_fd);
        m_fd = -1;
    }
#endif
    m_timer.start();
}

void Timer::disarm() {
#ifdef Q_OS_LINUX
    if (m_fd >= 0) {
        const itimerspec off{};
        ::timerfd_settime(m_fd, 0, &off, nullptr);
        // An expiry that came before the stop is dropped with it.
        quint64 expiries = 0;
        [[maybe_unused]] const ssize_t n = ::read(m_fd, &expiries, sizeof expiries);
        return;
    }
#endif
    m_timer.stop();
}

void Timer::expired() {
#ifdef Q_OS_LINUX
    // Ticks missed while the program was busy are not made up: one tick,
    // as a QTimer would give. The loop may still report an expiry that a
    // handler run in the same pass has already dropped by stopping the timer.
    quint64 expiries = 0;
    if (::read(m_fd, &expiries, sizeof expiries) != static_cast<ssize_t>(sizeof expiries))
        return;
    if (m_enabled)
        emit tick();
#endif
}

} // namespace ui

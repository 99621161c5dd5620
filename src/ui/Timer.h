#pragma once

#include <QObject>
#include <QTimer>

class QSocketNotifier;

namespace ui {

// A panel timer with the switcher panel's enable semantics: it ticks every
// interval while enabled, a one-shot use disables it from its own tick, and
// enabling a timer that is already enabled neither restarts nor doubles it.
//
// On Linux the ticks come from a kernel timer (timerfd) watched by the event
// loop: it wakes the loop at the exact due time, where a QTimer rounds every
// wait up to the next whole millisecond, so a 200 ms sequence step would leave
// up to a millisecond late. Where no kernel timer can be had, a precise QTimer
// does the same job.
class Timer : public QObject {
    Q_OBJECT
public:
    Timer(const QString &name, int intervalMs, bool enabled, QObject *parent = nullptr);
    ~Timer() override;

    bool isEnabled() const { return m_enabled; }
    void setEnabled(bool enabled);
    int interval() const { return m_intervalMs; }
    // Milliseconds to the next tick (rounded up); -1 while disabled.
    int remainingTime() const;
    // Changing the interval of an enabled timer starts it over.
    void setInterval(int ms);
    // Whether the ticks come from a kernel timer (false: from a QTimer).
    bool isKernelTimer() const { return m_fd >= 0; }

signals:
    void tick();

private:
    void arm();
    void disarm();
    void expired();

    int m_intervalMs;
    bool m_enabled = false;
    int m_fd = -1;
    QSocketNotifier *m_notifier = nullptr;
    QTimer m_timer;
};

} // namespace ui

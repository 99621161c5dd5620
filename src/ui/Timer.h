#pragma once

#include <QObject>
#include <QTimer>

namespace ui {

// A panel timer with the switcher panel's enable semantics: it ticks every
// interval while enabled, a one-shot use disables it from its own tick, and
// enabling a timer that is already enabled neither restarts nor doubles it.
class Timer : public QObject {
    Q_OBJECT
public:
    Timer(const QString &name, int intervalMs, bool enabled, QObject *parent = nullptr);

    bool isEnabled() const { return m_timer.isActive(); }
    void setEnabled(bool enabled);
    int interval() const { return m_timer.interval(); }
    // Milliseconds to the next tick; -1 while disabled.
    int remainingTime() const { return m_timer.remainingTime(); }
    void setInterval(int ms);

signals:
    void tick();

private:
    QTimer m_timer;
};

} // namespace ui

#pragma once

#include "Fakes.h"
#include "link/Priorities.h"
#include "link/Switcher.h"

#include <QList>
#include <QMap>
#include <functional>

namespace fakes {

// A switcher that does what it is asked at once (or when the test says), and
// records each operation with its time on the fake clock and who asked, at
// what priority. Routes answer with the outcome chosen for their monitor.
class RecordingSwitcher : public devicelink::Switcher {
    Q_OBJECT
public:
    struct Call {
        qint64 at = 0;    // on the fake clock
        QString what;     // "route 2 5", "preset 3", "preset 3 camera 7"
        QString origin;   // its text
        int priority = 0; // as the arbiter would weigh it
    };

    explicit RecordingSwitcher(const devicelink::Clock &clock)
        : m_clock(clock) {}

    QList<Call> calls;
    QMap<int, devicelink::Outcome> routeOutcome; // by monitor; Done when not set
    devicelink::Outcome presetOutcome;
    // Answers are kept until answer() instead of given at once.
    bool answerLater = false;
    QList<std::function<void()>> pending;
    MonitorState states[monitors + 1];
    devicelink::Priorities priorities;

    // "route 2 5 by tour 1" for each call since the last clear, in order.
    QStringList log() const;
    // The times of the calls whose text starts with what.
    QList<qint64> times(const QString &what) const;
    void answer();
    void clear() { calls.clear(); }
    // Another source's route, as the switcher announces it.
    void routeBy(int monitor, int camera, const devicelink::Origin &origin);
    // A lock of another source comes or goes.
    void setLock(int monitor, const QString &holder);

    void selectMonitor(int monitor, const devicelink::Origin &origin,
                       devicelink::Done done = {}) override;
    void selectCamera(int camera, const devicelink::Origin &origin,
                      devicelink::Done done = {}) override;
    void route(int monitor, int camera, const devicelink::Origin &origin,
               devicelink::Done done = {}) override;
    void startMove(devicelink::Move, const devicelink::Origin &origin, int = 0,
                   devicelink::Done done = {}) override;
    void stopMove(devicelink::Move, const devicelink::Origin &) override {}
    int speed(devicelink::Axis) const override { return 0; }
    void setSpeed(devicelink::Axis, int) override {}
    void recallPreset(int preset, const devicelink::Origin &origin, int camera = 0,
                      devicelink::Done done = {}) override;
    void storePreset(int preset, const devicelink::Origin &origin, int camera = 0,
                     devicelink::Done done = {}) override;
    void auxiliary(devicelink::Auxiliary, const devicelink::Origin &origin,
                   devicelink::Done done = {}) override;
    void lockMonitor(int monitor, const devicelink::Origin &origin, bool force = false,
                     devicelink::Done done = {}) override;
    void unlockMonitor(int monitor, const devicelink::Origin &origin, bool force = false,
                       devicelink::Done done = {}) override;
    void sourceGone(const devicelink::Origin &) override {}
    MonitorState monitor(int monitor) const override { return states[monitor]; }
    QString cameraHolder(int) const override { return {}; }
    int selectedCamera() const override { return m_camera; }
    int selectedMonitor() const override { return m_monitor; }

private:
    void record(const QString &what, const devicelink::Origin &origin);
    void finish(devicelink::Done done, const devicelink::Outcome &outcome);

    const devicelink::Clock &m_clock;
    int m_camera = 0;
    int m_monitor = 0;
};

} // namespace fakes

#pragma once

#include "automation/Automation.h"
#include "link/Switcher.h"

#include <QList>
#include <QString>
#include <QStringList>

namespace fakes {

// The switcher as the bus sees it: records every operation asked of it and
// answers each with the outcome a test chose, at once or when the test
// releases it.
class Switcher : public devicelink::Switcher {
    Q_OBJECT
public:
    struct Call {
        QString what; // "route 2 5", "preset 3 on camera 7"
        devicelink::Origin origin;
    };
    QList<Call> calls;
    devicelink::Outcome outcome = devicelink::Outcome::done();
    bool holdAnswers = false;               // keep the answers until release()
    QList<devicelink::Done> held;           // answers kept
    MonitorState states[monitors + 1] = {}; // 1-based

    // Answers every operation held, with the outcome given.
    void release(const devicelink::Outcome &with = devicelink::Outcome::done());
    // The switcher's reply changed what a monitor shows.
    void show(int monitor, const MonitorState &state);

    void selectMonitor(int monitor, const devicelink::Origin &origin,
                       devicelink::Done done = {}) override;
    void selectCamera(int camera, const devicelink::Origin &origin,
                      devicelink::Done done = {}) override;
    void route(int monitor, int camera, const devicelink::Origin &origin,
               devicelink::Done done = {}) override;
    void startMove(devicelink::Move, const devicelink::Origin &origin, int camera = 0,
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
    MonitorState monitor(int monitor) const override;
    QString cameraHolder(int) const override { return {}; }
    int selectedCamera() const override { return 0; }
    int selectedMonitor() const override { return 0; }

private:
    void answer(const QString &what, const devicelink::Origin &origin, devicelink::Done done);
};

// Salvos, tours and alarm inputs as the bus sees them: records what is
// asked, answers with the outcome chosen, and changes its state as asked.
class Automation : public automation::Automation {
    Q_OBJECT
public:
    struct Call {
        QString what; // "salvo Night", "tour 2 start", "alarm 7 on"
        devicelink::Origin origin;
    };
    QList<Call> calls;
    devicelink::Outcome outcome = devicelink::Outcome::done();
    QStringList salvoNames;
    QList<TourState> tourStates;
    QList<AlarmState> alarmStates;

    QStringList salvos() const override { return salvoNames; }
    void recallSalvo(const QString &name, const devicelink::Origin &by,
                     devicelink::Done done = {}) override;
    QList<TourState> tours() const override { return tourStates; }
    void startTour(int tour, const devicelink::Origin &by, devicelink::Done done = {}) override;
    void stopTour(int tour, const devicelink::Origin &by, devicelink::Done done = {}) override;
    void holdTour(int tour, const devicelink::Origin &by, devicelink::Done done = {}) override;
    void stepTour(int tour, int steps, const devicelink::Origin &by,
                  devicelink::Done done = {}) override;
    QList<AlarmState> alarms() const override { return alarmStates; }
    void setAlarm(int input, bool active, const devicelink::Origin &by,
                  devicelink::Done done = {}) override;
    void acknowledgeAlarm(int input, const devicelink::Origin &by,
                          devicelink::Done done = {}) override;

private:
    void answer(const QString &what, const devicelink::Origin &by, const devicelink::Done &done);
};

} // namespace fakes

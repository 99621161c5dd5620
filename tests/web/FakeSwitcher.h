#pragma once

#include "automation/Automation.h"
#include "link/Switcher.h"

#include <QElapsedTimer>
#include <QList>
#include <QString>
#include <functional>
#include <optional>

namespace fakes {

// A switcher that records every operation asked of it and answers as the
// test says: by default every operation is done, a route shows its camera on
// its monitor at once, and monitor locks are kept as the arbiter keeps them
// (a lock taken by one source refuses another's routes, naming its holder).
class Switcher : public devicelink::Switcher {
    Q_OBJECT
public:
    struct Call {
        QString what; // "route", "startMove", "stopMove", "lock", "preset", ...
        int a = 0;
        int b = 0;
        devicelink::Origin origin;
        qint64 atMs = 0; // since the fake was made
    };
    QList<Call> calls;
    // The answer to the next operations, when set (else done, or a lock's refusal).
    std::optional<devicelink::Outcome> answer;
    // An operation's answer is held back (a slow switcher) while this is set.
    bool holdAnswers = false;
    QList<std::pair<devicelink::Done, devicelink::Outcome>> held;
    // Called on each call as it is recorded (the demo prints them).
    std::function<void(const Call &)> onCall;

    Switcher();

    int count(const QString &what) const;
    QList<Call> named(const QString &what) const;
    // The panel (or the switcher's reply) puts a camera on a monitor.
    void show(int monitor, int camera, bool stale = false);
    void releaseHeld();

    void selectMonitor(int monitor, const devicelink::Origin &origin,
                       devicelink::Done done) override;
    void selectCamera(int camera, const devicelink::Origin &origin, devicelink::Done done) override;
    void route(int monitor, int camera, const devicelink::Origin &origin,
               devicelink::Done done) override;
    void startMove(devicelink::Move move, const devicelink::Origin &origin, int camera,
                   devicelink::Done done) override;
    void stopMove(devicelink::Move move, const devicelink::Origin &origin) override;
    int speed(devicelink::Axis axis) const override;
    void setSpeed(devicelink::Axis axis, int speed) override;
    void recallPreset(int preset, const devicelink::Origin &origin, int camera,
                      devicelink::Done done) override;
    void storePreset(int preset, const devicelink::Origin &origin, int camera,
                     devicelink::Done done) override;
    void auxiliary(devicelink::Auxiliary function, const devicelink::Origin &origin,
                   devicelink::Done done) override;
    void lockMonitor(int monitor, const devicelink::Origin &origin, bool force,
                     devicelink::Done done) override;
    void unlockMonitor(int monitor, const devicelink::Origin &origin, bool force,
                       devicelink::Done done) override;
    void sourceGone(const devicelink::Origin &origin) override;
    MonitorState monitor(int monitor) const override;
    QString cameraHolder(int camera) const override;
    int selectedCamera() const override { return m_camera; }
    int selectedMonitor() const override { return m_monitor; }

private:
    void record(const QString &what, int a, int b, const devicelink::Origin &origin);
    void finish(devicelink::Done &done, const devicelink::Outcome &outcome);

    QElapsedTimer m_clock;
    MonitorState m_monitors[monitors + 1];
    QString m_holders[cameras + 1];
    int m_speeds[2] = {4, 4};
    int m_camera = 0;
    int m_monitor = 0;
};

// Salvos, tours and alarms that record what they are asked and answer done.
class Automation : public automation::Automation {
    Q_OBJECT
public:
    QStringList salvoNames{QStringLiteral("Night"), QStringLiteral("Day shift")};
    QList<TourState> tourStates;
    QList<AlarmState> alarmStates;
    QStringList asked; // "salvo Night by web ana", "tour 1 start", "alarm 7 ack"

    Automation();
    QStringList salvos() const override { return salvoNames; }
    void recallSalvo(const QString &name, const devicelink::Origin &by,
                     devicelink::Done done) override;
    QList<TourState> tours() const override { return tourStates; }
    void startTour(int tour, const devicelink::Origin &by, devicelink::Done done) override;
    void stopTour(int tour, const devicelink::Origin &by, devicelink::Done done) override;
    void holdTour(int tour, const devicelink::Origin &by, devicelink::Done done) override;
    void stepTour(int tour, int by_steps, const devicelink::Origin &by,
                  devicelink::Done done) override;
    QList<AlarmState> alarms() const override { return alarmStates; }
    void setAlarm(int input, bool active, const devicelink::Origin &by,
                  devicelink::Done done) override;
    void acknowledgeAlarm(int input, const devicelink::Origin &by, devicelink::Done done) override;

private:
    void note(const QString &what, const devicelink::Origin &by, devicelink::Done &done);
};

} // namespace fakes

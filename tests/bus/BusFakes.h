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

    void route(int monitor, int camera, const devicelink::Origin &origin,
               devicelink::Done done = {}) override;
    void recallPreset(int preset, const devicelink::Origin &origin, int camera = 0,
                      devicelink::Done done = {}) override;
    // What the bus never asks for is recorded as "other".
    void selectMonitor(int, const devicelink::Origin &o, devicelink::Done d = {}) override {
        answer(QStringLiteral("other"), o, std::move(d));
    }
    void selectCamera(int, const devicelink::Origin &o, devicelink::Done d = {}) override {
        answer(QStringLiteral("other"), o, std::move(d));
    }
    void startMove(devicelink::Move, const devicelink::Origin &o, int = 0,
                   devicelink::Done d = {}) override {
        answer(QStringLiteral("other"), o, std::move(d));
    }
    void stopMove(devicelink::Move, const devicelink::Origin &) override {}
    int speed(devicelink::Axis) const override { return 0; }
    void setSpeed(devicelink::Axis, int) override {}
    void storePreset(int, const devicelink::Origin &o, int = 0, devicelink::Done d = {}) override {
        answer(QStringLiteral("other"), o, std::move(d));
    }
    void auxiliary(devicelink::Auxiliary, const devicelink::Origin &o,
                   devicelink::Done d = {}) override {
        answer(QStringLiteral("other"), o, std::move(d));
    }
    void lockMonitor(int, const devicelink::Origin &o, bool = false,
                     devicelink::Done d = {}) override {
        answer(QStringLiteral("other"), o, std::move(d));
    }
    void unlockMonitor(int, const devicelink::Origin &o, bool = false,
                       devicelink::Done d = {}) override {
        answer(QStringLiteral("other"), o, std::move(d));
    }
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
    void holdTour(int, const devicelink::Origin &by, devicelink::Done done = {}) override {
        answer(QStringLiteral("other"), by, done);
    }
    void stepTour(int, int, const devicelink::Origin &by, devicelink::Done done = {}) override {
        answer(QStringLiteral("other"), by, done);
    }
    QList<AlarmState> alarms() const override { return alarmStates; }
    void setAlarm(int input, bool active, const devicelink::Origin &by,
                  devicelink::Done done = {}) override;
    void acknowledgeAlarm(int input, const devicelink::Origin &by,
                          devicelink::Done done = {}) override;

private:
    void answer(const QString &what, const devicelink::Origin &by, const devicelink::Done &done);
};

} // namespace fakes

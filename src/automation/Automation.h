#pragma once

#include "link/Switcher.h"

#include <QList>
#include <QObject>
#include <QString>
#include <QStringList>

namespace automation {

// What runs the control room by itself, as other clients (the panel, the
// browser panel, the message bus, the alarm socket) see it: salvos, tours
// and alarm inputs. Each acts through the switcher's operations as a source
// of its own ("salvo Night", "tour 2", "alarm 7"), so locks and priorities
// decide between it, the operator and every other client.
class Automation : public QObject {
    Q_OBJECT
public:
    static constexpr int alarmInputs = 64;

    struct TourState {
        enum class Run : quint8 { Stopped, Running, Held };
        int tour = 0;    // its number in automation.ini ([Tour2] is 2)
        int monitor = 0; // 1 to 4
        Run run = Run::Stopped;
        int step = 0;  // 1-based while running or held; 0 when stopped
        int steps = 0; // how many it has
    };

    struct AlarmState {
        int input = 0;      // 1 to 64
        bool bound = false; // automation.ini has [AlarmN]
        int monitor = 0;
        int camera = 0;
        bool active = false;       // raised and not cleared
        bool acknowledged = false; // the operator has seen it
        bool shown = false;        // its camera is on its monitor now (first in its queue)
    };

    using QObject::QObject;

    // Salvos by name, in the file's order.
    virtual QStringList salvos() const = 0;
    // Its routes go out one by one, paced as the keypad's; a route refused by
    // a lock is reported and the rest go on. done: Done when every route left,
    // else the first refusal or failure.
    virtual void recallSalvo(const QString &name, const devicelink::Origin &by,
                             devicelink::Done done = {}) = 0;

    // Tours by number, in the file's order.
    virtual QList<TourState> tours() const = 0;
    virtual void startTour(int tour, const devicelink::Origin &by, devicelink::Done done = {}) = 0;
    virtual void stopTour(int tour, const devicelink::Origin &by, devicelink::Done done = {}) = 0;
    // Hold keeps the step on its monitor until resume (startTour resumes).
    virtual void holdTour(int tour, const devicelink::Origin &by, devicelink::Done done = {}) = 0;
    // One step on or back (also while held).
    virtual void stepTour(int tour, int by_steps, const devicelink::Origin &by,
                          devicelink::Done done = {}) = 0;

    // Alarm inputs 1 to 64. An input raised puts its camera on its monitor;
    // cleared and acknowledged, the monitor returns to what it showed.
    virtual QList<AlarmState> alarms() const = 0;
    virtual void setAlarm(int input, bool active, const devicelink::Origin &by,
                          devicelink::Done done = {}) = 0;
    virtual void acknowledgeAlarm(int input, const devicelink::Origin &by,
                                  devicelink::Done done = {}) = 0;

signals:
    void salvosChanged();
    void tourChanged(int tour);
    void alarmChanged(int input);
};

} // namespace automation

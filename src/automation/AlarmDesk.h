#pragma once

#include "automation/Automation.h"
#include "automation/AutomationFile.h"

#include <QList>
#include <QObject>
#include <optional>

namespace automation {

class Dispatcher;
class TourRunner;

// The alarm inputs and their call-up. An input that becomes active puts its
// bound camera on its monitor; alarms on one monitor queue in the order they
// came. The first not yet acknowledged is shown, so each acknowledge steps
// to the next; an alarm leaves the queue once it is both cleared and
// acknowledged, and when the last one has left the monitor shows again what
// it showed before (or its tour carries on). A route by anyone else while an
// alarm is shown is respected: that monitor is then not put back.
class AlarmDesk : public QObject {
    Q_OBJECT
public:
    AlarmDesk(devicelink::Switcher &switcher, Dispatcher &dispatcher, TourRunner &tours,
              QObject *parent = nullptr);

    void setBindings(const QList<AutomationFile::Alarm> &alarms);
    QList<Automation::AlarmState> states() const;
    void set(int input, bool active, const devicelink::Origin &by, devicelink::Done done);
    void acknowledge(int input, const devicelink::Origin &by, devicelink::Done done);

signals:
    void noted(const QString &origin, const QString &what);
    void changed(int input);

private:
    struct Input {
        bool active = false;
        bool acknowledged = true;
        std::optional<AutomationFile::Alarm> binding;
        int queuedOn = 0; // the monitor whose queue holds it
    };
    struct Monitor {
        QList<int> queue;       // inputs, in the order they came
        int shown = 0;          // the input whose camera went out last, 0: none
        int wanted = 0;         // the input last asked to be shown
        bool taken = false;     // the automation has the monitor for alarms
        int before = 0;         // the camera it showed when taken; 0: not known
        bool tourWaits = false; // a tour ran there and carries on afterwards
        bool displaced = false; // routed by another while an alarm was shown
        QString blockedBy;      // the lock that refused the last call-up
    };

    void refresh(int monitor, devicelink::Done done = {});
    void show(int monitor, int input, devicelink::Done done);
    void giveBack(int monitor);
    void leaveQueue(int input);
    void note(int input, const QString &what);
    void onRouted(int monitor, int camera, const devicelink::Origin &origin);
    void onMonitorChanged(int monitor);

    devicelink::Switcher &m_switcher;
    Dispatcher &m_dispatcher;
    TourRunner &m_tours;
    Input m_inputs[Automation::alarmInputs + 1];
    Monitor m_monitors[AutomationFile::monitors + 1];
};

} // namespace automation

#pragma once

#include "automation/Automation.h"
#include "automation/AutomationFile.h"
#include "automation/RunStateFile.h"

#include <QList>
#include <QObject>
#include <QTimer>

namespace devicelink {
class Clock;
}

namespace automation {

class Dispatcher;

// The tours: per monitor a list of steps, each a camera (with its preset)
// shown for its dwell. Dwell is measured on the link's clock from when the
// step was due, so that steps do not drift; one precise timer wakes for the
// next step of any tour. A route to a touring monitor by anyone else holds
// the tour, or stops it when its settings say so. While an alarm has its
// monitor a tour waits, and carries on from its step when the alarm ends.
class TourRunner : public QObject {
    Q_OBJECT
public:
    using Run = Automation::TourState::Run;

    TourRunner(devicelink::Switcher &switcher, Dispatcher &dispatcher, devicelink::Clock &clock,
               QObject *parent = nullptr);

    // New settings: a tour that runs or is held goes on when it is still
    // there on the same monitor, else it stops.
    void setTours(const QList<AutomationFile::Tour> &tours);
    QList<Automation::TourState> states() const;

    void start(int tour, const devicelink::Origin &by, devicelink::Done done);
    void stop(int tour, const devicelink::Origin &by, devicelink::Done done);
    void hold(int tour, const devicelink::Origin &by, devicelink::Done done);
    void step(int tour, int steps, const devicelink::Origin &by, devicelink::Done done);
    // At start: a tour that ran (or was held) when the program ended.
    void restore(const RunStateFile::Tour &saved);
    QList<RunStateFile::Tour> runState() const;

    // An alarm takes the monitor: its tour waits. True when one runs there.
    bool suspend(int monitor);
    // The alarm gives the monitor back: true when a running tour showed its
    // step again (nothing else needs to be put back there).
    bool release(int monitor);

    // The timer's tick: every step that has come due changes.
    void Timer_Timer();
    const QTimer &timer() const { return m_timer; }

signals:
    // For the event log: the origin ("tour 2") and what happened.
    void noted(const QString &origin, const QString &what);
    void changed(int tour);
    // Started, stopped, held or resumed: what a restart would carry on.
    void runStateChanged();

private:
    struct Tour {
        AutomationFile::Tour settings;
        Run run = Run::Stopped;
        bool waiting = false; // an alarm has its monitor
        int step = 0;         // 0-based
        qint64 due = 0;       // when the step after this one comes, on the clock
        quint64 shown = 0;    // counts the steps put out, so late answers are known
        bool failing = false; // its last step did not go out; said once
    };

    Tour *find(int number);
    void show(Tour &tour, devicelink::Done done = {});
    void stopOthersOn(const Tour &tour);
    void changedRun(const Tour &tour);
    void arm();
    void onRouted(int monitor, int camera, const devicelink::Origin &origin);
    qint64 dwellMs(const Tour &tour) const;
    void note(const Tour &tour, const QString &what);

    devicelink::Switcher &m_switcher;
    Dispatcher &m_dispatcher;
    devicelink::Clock &m_clock;
    QList<Tour> m_tours;
    bool m_monitorWaits[AutomationFile::monitors + 1] = {};
    QTimer m_timer;
};

} // namespace automation

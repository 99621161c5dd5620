#include "automation/TourRunner.h"

#include "automation/Dispatcher.h"
#include "link/Clock.h"

#include <QPointer>
#include <QSet>
#include <algorithm>
#include <chrono>
#include <optional>
#include <utility>

namespace automation {

using devicelink::Origin;
using devicelink::Outcome;

namespace {
Origin tourOrigin(int number) {
    return Origin(Origin::Kind::Tour, QString::number(number));
}
} // namespace

TourRunner::TourRunner(devicelink::Switcher &switcher, Dispatcher &dispatcher,
                       devicelink::Clock &clock, QObject *parent)
    : QObject(parent)
    , m_switcher(switcher)
    , m_dispatcher(dispatcher)
    , m_clock(clock) {
    m_timer.setObjectName(QStringLiteral("tourTimer"));
    m_timer.setTimerType(Qt::PreciseTimer);
    m_timer.setSingleShot(true);
    connect(&m_timer, &QTimer::timeout, this, &TourRunner::Timer_Timer);
    connect(&m_switcher, &devicelink::Switcher::routed, this, &TourRunner::onRouted);
}

TourRunner::Tour *TourRunner::find(int number) {
    for (Tour &t : m_tours) {
        if (t.settings.number == number)
            return &t;
    }
    return nullptr;
}

void TourRunner::note(const Tour &tour, const QString &what) {
    emit noted(tourOrigin(tour.settings.number).text(), what);
}

qint64 TourRunner::dwellMs(const Tour &tour) const {
    return qint64(tour.settings.steps[tour.step].dwell) * 1000;
}

void TourRunner::setTours(const QList<AutomationFile::Tour> &tours) {
    QList<Tour> next;
    QSet<int> numbers;
    for (const AutomationFile::Tour &settings : tours)
        numbers.insert(settings.number);
    for (const AutomationFile::Tour &settings : tours) {
        Tour t;
        t.settings = settings;
        if (Tour *old = find(settings.number); old && old->run != Run::Stopped) {
            if (old->settings.monitor == settings.monitor) {
                t.run = old->run;
                t.waiting = old->waiting;
                t.step = old->step < settings.steps.size() ? old->step : 0;
                t.due = old->due;
                t.shown = old->shown;
                old->run = Run::Stopped;
            }
        }
        next.append(t);
    }
    for (const Tour &old : std::as_const(m_tours)) {
        if (old.run != Run::Stopped)
            note(old, numbers.contains(old.settings.number)
                          ? QStringLiteral("stopped: its monitor is no longer %1")
                                .arg(old.settings.monitor)
                          : QStringLiteral("stopped: it is no longer in automation.ini"));
    }
    m_tours = next;
    for (const Tour &t : std::as_const(m_tours))
        emit changed(t.settings.number);
    emit runStateChanged();
    arm();
}

QList<Automation::TourState> TourRunner::states() const {
    QList<Automation::TourState> out;
    for (const Tour &t : m_tours) {
        Automation::TourState s;
        s.tour = t.settings.number;
        s.monitor = t.settings.monitor;
        s.run = t.run == Run::Running && t.waiting ? Run::Held : t.run;
        s.step = t.run == Run::Stopped ? 0 : t.step + 1;
        s.steps = int(t.settings.steps.size());
        out.append(s);
    }
    return out;
}

void TourRunner::stopOthersOn(const Tour &tour) {
    for (Tour &other : m_tours) {
        if (&other == &tour || other.run == Run::Stopped ||
            other.settings.monitor != tour.settings.monitor)
            continue;
        other.run = Run::Stopped;
        other.waiting = false;
        note(other, QStringLiteral("stopped: tour %1 started on monitor %2")
                        .arg(tour.settings.number)
                        .arg(tour.settings.monitor));
        emit changed(other.settings.number);
    }
}

void TourRunner::changedRun(const Tour &tour) {
    emit changed(tour.settings.number);
    emit runStateChanged();
    arm();
}

void TourRunner::start(int number, const Origin &by, devicelink::Done done) {
    Tour *tour = find(number);
    if (!tour) {
        if (done)
            done(Outcome::refused(QStringLiteral("there is no tour %1").arg(number)));
        return;
    }
    if (tour->run == Run::Running) {
        if (done)
            done(Outcome::done());
        return;
    }
    const bool resumed = tour->run == Run::Held;
    if (!resumed) {
        stopOthersOn(*tour);
        tour->step = 0;
        tour->waiting = m_monitorWaits[tour->settings.monitor];
    }
    tour->run = Run::Running;
    const QString verb = resumed ? QStringLiteral("resumed") : QStringLiteral("started");
    if (tour->waiting) {
        note(*tour, QStringLiteral("%1 by %2; waits for the alarm on monitor %3")
                        .arg(verb, by.text(), QString::number(tour->settings.monitor)));
        changedRun(*tour);
        if (done)
            done(Outcome::done());
        return;
    }
    note(*tour, QStringLiteral("%1 by %2").arg(verb, by.text()));
    tour->due = m_clock.now() + dwellMs(*tour);
    show(*tour, std::move(done));
    changedRun(*tour);
}

void TourRunner::stop(int number, const Origin &by, devicelink::Done done) {
    Tour *tour = find(number);
    if (!tour) {
        if (done)
            done(Outcome::refused(QStringLiteral("there is no tour %1").arg(number)));
        return;
    }
    if (tour->run != Run::Stopped) {
        tour->run = Run::Stopped;
        tour->waiting = false;
        note(*tour, QStringLiteral("stopped by %1").arg(by.text()));
        changedRun(*tour);
    }
    if (done)
        done(Outcome::done());
}

void TourRunner::hold(int number, const Origin &by, devicelink::Done done) {
    Tour *tour = find(number);
    if (!tour || tour->run == Run::Stopped) {
        if (done)
            done(Outcome::refused(tour ? QStringLiteral("tour %1 is not running").arg(number)
                                       : QStringLiteral("there is no tour %1").arg(number)));
        return;
    }
    if (tour->run == Run::Running) {
        tour->run = Run::Held;
        note(*tour, QStringLiteral("held by %1 at step %2")
                        .arg(by.text(), QString::number(tour->step + 1)));
        changedRun(*tour);
    }
    if (done)
        done(Outcome::done());
}

void TourRunner::step(int number, int steps, const Origin &by, devicelink::Done done) {
    Tour *tour = find(number);
    if (!tour || tour->run == Run::Stopped) {
        if (done)
            done(Outcome::refused(tour ? QStringLiteral("tour %1 is not running").arg(number)
                                       : QStringLiteral("there is no tour %1").arg(number)));
        return;
    }
    const int count = int(tour->settings.steps.size());
    tour->step = ((tour->step + steps) % count + count) % count;
    if (tour->waiting) {
        note(*tour,
             QStringLiteral("moved by %1 to step %2; shown when the alarm on monitor %3 ends")
                 .arg(by.text(), QString::number(tour->step + 1),
                      QString::number(tour->settings.monitor)));
        changedRun(*tour);
        if (done)
            done(Outcome::done());
        return;
    }
    note(*tour,
         QStringLiteral("moved by %1 to step %2").arg(by.text(), QString::number(tour->step + 1)));
    tour->due = m_clock.now() + dwellMs(*tour);
    show(*tour, std::move(done));
    changedRun(*tour);
}

void TourRunner::restore(const RunStateFile::Tour &saved) {
    Tour *tour = find(saved.number);
    if (!tour || tour->run != Run::Stopped)
        return;
    stopOthersOn(*tour);
    tour->step = saved.step >= 1 && saved.step <= tour->settings.steps.size() ? saved.step - 1 : 0;
    tour->waiting = m_monitorWaits[tour->settings.monitor];
    if (saved.held) {
        tour->run = Run::Held;
        note(*tour,
             QStringLiteral("held at step %1, as when the program ended").arg(tour->step + 1));
    } else {
        tour->run = Run::Running;
        note(*tour, QStringLiteral("runs again from step %1, as when the program ended")
                        .arg(tour->step + 1));
        if (!tour->waiting) {
            tour->due = m_clock.now() + dwellMs(*tour);
            show(*tour);
        }
    }
    changedRun(*tour);
}

QList<RunStateFile::Tour> TourRunner::runState() const {
    QList<RunStateFile::Tour> out;
    for (const Tour &t : m_tours) {
        if (t.run != Run::Stopped)
            out.append({t.settings.number, t.run == Run::Held, t.step + 1});
    }
    return out;
}

bool TourRunner::suspend(int monitor) {
    m_monitorWaits[monitor] = true;
    bool running = false;
    for (Tour &t : m_tours) {
        if (t.settings.monitor != monitor || t.run == Run::Stopped)
            continue;
        t.waiting = true;
        running = running || t.run == Run::Running;
        emit changed(t.settings.number);
    }
    arm();
    return running;
}

bool TourRunner::release(int monitor) {
    m_monitorWaits[monitor] = false;
    bool shown = false;
    for (Tour &t : m_tours) {
        if (t.settings.monitor != monitor || !t.waiting)
            continue;
        t.waiting = false;
        if (t.run == Run::Running) {
            note(t, QStringLiteral("resumes at step %1 after the alarm").arg(t.step + 1));
            t.due = m_clock.now() + dwellMs(t);
            show(t);
            shown = true;
        }
        emit changed(t.settings.number);
    }
    arm();
    return shown;
}

void TourRunner::show(Tour &tour, devicelink::Done done) {
    const AutomationFile::Step step = tour.settings.steps[tour.step];
    const int number = tour.settings.number;
    const int monitor = tour.settings.monitor;
    const int index = tour.step;
    const int count = int(tour.settings.steps.size());
    const quint64 shown = ++tour.shown;
    QPointer<TourRunner> self(this);
    m_dispatcher.put(monitor, step.camera, step.preset, tourOrigin(number),
                     [self, number, monitor, index, count, shown, step,
                      done](const Outcome &route, const Outcome &preset) {
                         if (done)
                             done(route);
                         if (!self)
                             return;
                         Tour *tour = self->find(number);
                         if (!tour || tour->shown != shown)
                             return;
                         const QString which = QStringLiteral("step %1 of %2: camera %3")
                                                   .arg(index + 1)
                                                   .arg(count)
                                                   .arg(step.camera);
                         if (!route.ok()) {
                             // Said once until a step goes out again: a locked monitor would
                             // otherwise fill the event log at every dwell.
                             if (!std::exchange(tour->failing, true))
                                 self->note(*tour, QStringLiteral("%1 not put on monitor %2: %3")
                                                       .arg(which)
                                                       .arg(monitor)
                                                       .arg(route.reason));
                             return;
                         }
                         tour->failing = false;
                         QString what = QStringLiteral("%1 on monitor %2").arg(which).arg(monitor);
                         if (step.preset > 0)
                             what += preset.ok() ? QStringLiteral(", preset %1").arg(step.preset)
                                                 : QStringLiteral(", preset %1 not recalled: %2")
                                                       .arg(step.preset)
                                                       .arg(preset.reason);
                         self->note(*tour, what);
                     });
}

void TourRunner::Timer_Timer() {
    const qint64 now = m_clock.now();
    for (Tour &t : m_tours) {
        if (t.run != Run::Running || t.waiting)
            continue;
        // A clock put back by more than a dwell would stall the tour for that
        // long: the step is taken as due.
        if (t.due - now > dwellMs(t))
            t.due = now;
        if (now < t.due)
            continue;
        t.step = (t.step + 1) % int(t.settings.steps.size());
        // From when the step was due, so that late ticks do not add up; a
        // tour that fell behind by more than a step (a clock put forward, a
        // machine that slept) starts its dwell afresh.
        t.due += dwellMs(t);
        if (t.due <= now)
            t.due = now + dwellMs(t);
        show(t);
        emit changed(t.settings.number);
    }
    arm();
}

void TourRunner::arm() {
    std::optional<qint64> first;
    for (const Tour &t : std::as_const(m_tours)) {
        if (t.run == Run::Running && !t.waiting && (!first || t.due < *first))
            first = t.due;
    }
    if (!first) {
        m_timer.stop();
        return;
    }
    const qint64 wait = std::clamp<qint64>(*first - m_clock.now(), 0, qint64(24) * 3600 * 1000);
    m_timer.start(std::chrono::milliseconds(wait));
}

void TourRunner::onRouted(int monitor, int camera, const Origin &origin) {
    Q_UNUSED(camera);
    // The automation's own routes: a tour's (also one that has just been
    // stopped, whose answer comes late) and an alarm's, which makes the tour
    // wait instead.
    if (origin.kind == Origin::Kind::Tour || origin.kind == Origin::Kind::Alarm)
        return;
    for (Tour &t : m_tours) {
        if (t.settings.monitor != monitor || t.run != Run::Running)
            continue;
        if (t.settings.onManualRoute == AutomationFile::OnManualRoute::Stop) {
            t.run = Run::Stopped;
            t.waiting = false;
            note(
                t,
                QStringLiteral("stopped: monitor %1 routed by %2").arg(monitor).arg(origin.text()));
        } else {
            t.run = Run::Held;
            note(t, QStringLiteral("held at step %1: monitor %2 routed by %3")
                        .arg(t.step + 1)
                        .arg(monitor)
                        .arg(origin.text()));
        }
        changedRun(t);
    }
}

} // namespace automation

#include "automation/AlarmDesk.h"

#include "automation/Dispatcher.h"
#include "automation/TourRunner.h"

#include <QPointer>

namespace automation {

using devicelink::Origin;
using devicelink::Outcome;

namespace {
Origin alarmOrigin(int input) {
    return Origin(Origin::Kind::Alarm, QString::number(input));
}
QString number(int n) {
    return QString::number(n);
}
} // namespace

AlarmDesk::AlarmDesk(devicelink::Switcher &switcher, Dispatcher &dispatcher, TourRunner &tours,
                     QObject *parent)
    : QObject(parent)
    , m_switcher(switcher)
    , m_dispatcher(dispatcher)
    , m_tours(tours) {
    connect(&m_switcher, &devicelink::Switcher::routed, this, &AlarmDesk::onRouted);
    connect(&m_switcher, &devicelink::Switcher::monitorChanged, this, &AlarmDesk::onMonitorChanged);
}

void AlarmDesk::note(int input, const QString &what) {
    emit noted(alarmOrigin(input).text(), what);
}

void AlarmDesk::setBindings(const QList<AutomationFile::Alarm> &alarms) {
    QList<int> touched;
    for (int i = 1; i <= Automation::alarmInputs; ++i) {
        Input &in = m_inputs[i];
        std::optional<AutomationFile::Alarm> binding;
        for (const AutomationFile::Alarm &a : alarms) {
            if (a.input == i)
                binding = a;
        }
        if (binding == in.binding)
            continue;
        if (in.queuedOn && (!binding || binding->monitor != in.queuedOn)) {
            note(i, QStringLiteral("leaves monitor %1: its binding changed").arg(in.queuedOn));
            touched << in.queuedOn;
            leaveQueue(i);
            in.acknowledged = true;
        }
        in.binding = binding;
        emit changed(i);
    }
    for (const int monitor : std::as_const(touched))
        refresh(monitor);
}

QList<Automation::AlarmState> AlarmDesk::states() const {
    QList<Automation::AlarmState> out;
    for (int i = 1; i <= Automation::alarmInputs; ++i) {
        const Input &in = m_inputs[i];
        if (!in.binding && !in.active && in.acknowledged)
            continue;
        Automation::AlarmState s;
        s.input = i;
        s.bound = in.binding.has_value();
        s.monitor = in.binding ? in.binding->monitor : 0;
        s.camera = in.binding ? in.binding->camera : 0;
        s.active = in.active;
        s.acknowledged = in.acknowledged;
        s.shown = in.queuedOn && m_monitors[in.queuedOn].shown == i;
        out.append(s);
    }
    return out;
}

void AlarmDesk::set(int input, bool active, const Origin &by, devicelink::Done done) {
    if (input < 1 || input > Automation::alarmInputs) {
        if (done)
            done(Outcome::refused(QStringLiteral("there is no alarm input %1 (1 to %2)")
                                      .arg(number(input), number(Automation::alarmInputs))));
        return;
    }
    Input &in = m_inputs[input];
    if (in.active == active) {
        // A contact that bounces, a message sent twice: nothing new.
        if (done)
            done(in.binding || !active
                     ? Outcome::done()
                     : Outcome::refused(
                           QStringLiteral("alarm %1 is not bound to a monitor").arg(input)));
        return;
    }
    in.active = active;
    const QString verb = active ? QStringLiteral("raised") : QStringLiteral("cleared");
    if (!in.binding) {
        note(input, QStringLiteral("%1 by %2: no monitor is bound to it").arg(verb, by.text()));
        emit changed(input);
        if (done)
            done(active ? Outcome::refused(
                              QStringLiteral("alarm %1 is not bound to a monitor").arg(input))
                        : Outcome::done());
        return;
    }
    const int monitor = in.binding->monitor;
    Monitor &mon = m_monitors[monitor];
    if (active) {
        in.acknowledged = false;
        if (!in.queuedOn) {
            in.queuedOn = monitor;
            mon.queue.append(input);
        }
        int ahead = 0;
        for (const int other : std::as_const(mon.queue)) {
            if (other == input)
                break;
            if (!m_inputs[other].acknowledged) {
                ahead = other;
                break;
            }
        }
        note(input, ahead ? QStringLiteral("raised by %1: queued on monitor %2 behind alarm %3")
                                .arg(by.text(), number(monitor), number(ahead))
                          : QStringLiteral("raised by %1").arg(by.text()));
        emit changed(input);
        refresh(monitor, std::move(done));
        return;
    }
    note(input, QStringLiteral("cleared by %1").arg(by.text()));
    if (in.acknowledged)
        leaveQueue(input);
    emit changed(input);
    refresh(monitor);
    if (done)
        done(Outcome::done());
}

void AlarmDesk::acknowledge(int input, const Origin &by, devicelink::Done done) {
    if (input < 1 || input > Automation::alarmInputs || !m_inputs[input].queuedOn) {
        if (done)
            done(Outcome::refused(
                QStringLiteral("alarm %1 is not waiting to be acknowledged").arg(input)));
        return;
    }
    Input &in = m_inputs[input];
    if (!in.acknowledged) {
        in.acknowledged = true;
        const int monitor = in.queuedOn;
        note(input, QStringLiteral("acknowledged by %1").arg(by.text()));
        if (!in.active)
            leaveQueue(input);
        emit changed(input);
        refresh(monitor);
    }
    if (done)
        done(Outcome::done());
}

void AlarmDesk::leaveQueue(int input) {
    Input &in = m_inputs[input];
    if (in.queuedOn)
        m_monitors[in.queuedOn].queue.removeAll(input);
    in.queuedOn = 0;
}

void AlarmDesk::refresh(int monitor, devicelink::Done done) {
    Monitor &mon = m_monitors[monitor];
    if (mon.queue.isEmpty()) {
        if (mon.taken)
            giveBack(monitor);
        if (done)
            done(Outcome::done());
        return;
    }
    if (!mon.taken) {
        mon.taken = true;
        mon.before = m_switcher.monitor(monitor).camera;
        mon.displaced = false;
        mon.tourWaits = m_tours.suspend(monitor);
    }
    int want = 0;
    for (const int input : std::as_const(mon.queue)) {
        if (!m_inputs[input].acknowledged) {
            want = input;
            break;
        }
    }
    if (!want)
        want = mon.queue.contains(mon.wanted) ? mon.wanted : mon.queue.first();
    // Already out; or another source routed the monitor since, and is not
    // fought; or a lock refused it, and it is tried again when that lock goes.
    if (want == mon.wanted && (mon.shown == want || mon.displaced || !mon.blockedBy.isEmpty())) {
        if (done)
            done(Outcome::done());
        return;
    }
    show(monitor, want, std::move(done));
}

void AlarmDesk::show(int monitor, int input, devicelink::Done done) {
    Monitor &mon = m_monitors[monitor];
    const AutomationFile::Alarm binding = *m_inputs[input].binding;
    const int before = mon.shown;
    mon.wanted = input;
    mon.displaced = false;
    mon.blockedBy.clear();
    QPointer<AlarmDesk> self(this);
    m_dispatcher.put(
        monitor, binding.camera, binding.preset, alarmOrigin(input),
        [self, monitor, input, before, binding, done](const Outcome &route, const Outcome &preset) {
            if (self && self->m_monitors[monitor].wanted == input) {
                Monitor &mon = self->m_monitors[monitor];
                if (route.ok()) {
                    mon.shown = input;
                    QString what = QStringLiteral("camera %1 on monitor %2")
                                       .arg(number(binding.camera), number(monitor));
                    if (binding.preset > 0)
                        what += preset.ok() ? QStringLiteral(", preset %1").arg(binding.preset)
                                            : QStringLiteral(", preset %1 not recalled: %2")
                                                  .arg(number(binding.preset), preset.reason);
                    self->note(input, what);
                } else {
                    mon.shown = 0;
                    mon.blockedBy = route.holder.isEmpty() ? route.reason : route.holder;
                    self->note(input,
                               QStringLiteral("camera %1 not put on monitor %2: %3")
                                   .arg(number(binding.camera), number(monitor), route.reason));
                }
                if (before && before != input)
                    emit self->changed(before);
                emit self->changed(input);
            }
            if (done)
                done(route);
        });
}

void AlarmDesk::giveBack(int monitor) {
    Monitor &mon = m_monitors[monitor];
    const int last = mon.wanted;
    const bool displaced = mon.displaced;
    const int before = mon.before;
    mon = Monitor{};
    const bool tourShown = m_tours.release(monitor);
    if (!last)
        return;
    emit changed(last);
    if (tourShown) {
        note(last, QStringLiteral("returned: monitor %1 goes on with its tour").arg(monitor));
    } else if (displaced) {
        note(last,
             QStringLiteral("returned: monitor %1 stays as another source routed it").arg(monitor));
    } else if (before <= 0) {
        note(last, QStringLiteral("returned: what monitor %1 showed before is not known; it stays")
                       .arg(monitor));
    } else {
        QPointer<AlarmDesk> self(this);
        m_dispatcher.put(
            monitor, before, 0, alarmOrigin(last),
            [self, last, monitor, before](const Outcome &route, const Outcome &) {
                if (!self)
                    return;
                self->note(last, route.ok()
                                     ? QStringLiteral("returned: monitor %1 back to camera %2")
                                           .arg(number(monitor), number(before))
                                     : QStringLiteral("returned: monitor %1 not put "
                                                      "back to camera %2: %3")
                                           .arg(number(monitor), number(before), route.reason));
            });
    }
}

void AlarmDesk::onRouted(int monitor, int camera, const Origin &origin) {
    Q_UNUSED(camera);
    if (origin.kind == Origin::Kind::Alarm || monitor < 1 || monitor > AutomationFile::monitors)
        return;
    Monitor &mon = m_monitors[monitor];
    if (!mon.taken || mon.displaced || !mon.wanted)
        return;
    mon.displaced = true;
    const int shown = std::exchange(mon.shown, 0);
    note(mon.wanted,
         QStringLiteral("monitor %1 routed by %2 while the alarm was shown; it will not "
                        "be put back")
             .arg(number(monitor), origin.text()));
    if (shown)
        emit changed(shown);
}

void AlarmDesk::onMonitorChanged(int monitor) {
    if (monitor < 1 || monitor > AutomationFile::monitors)
        return;
    Monitor &mon = m_monitors[monitor];
    if (!mon.taken || mon.blockedBy.isEmpty() ||
        m_switcher.monitor(monitor).lockHolder == mon.blockedBy)
        return;
    // The lock that kept the alarm's camera out has gone: it is called up now.
    mon.blockedBy.clear();
    mon.wanted = 0;
    refresh(monitor);
}

} // namespace automation

#include "FakeSwitcher.h"

namespace fakes {

using devicelink::Origin;
using devicelink::Outcome;

Switcher::Switcher() {
    m_clock.start();
}

void Switcher::record(const QString &what, int a, int b, const Origin &origin) {
    calls.append({what, a, b, origin, m_clock.elapsed()});
    if (onCall)
        onCall(calls.last());
}

void Switcher::finish(devicelink::Done &done, const Outcome &outcome) {
    if (!done)
        return;
    if (holdAnswers) {
        held.append({std::move(done), outcome});
        return;
    }
    done(outcome);
}

void Switcher::releaseHeld() {
    const auto all = std::exchange(held, {});
    for (const auto &[done, outcome] : all)
        done(outcome);
}

int Switcher::count(const QString &what) const {
    return int(named(what).size());
}

QList<Switcher::Call> Switcher::named(const QString &what) const {
    QList<Call> out;
    for (const Call &c : calls) {
        if (c.what == what)
            out.append(c);
    }
    return out;
}

void Switcher::show(int monitor, int camera, bool stale) {
    m_monitors[monitor].camera = camera;
    m_monitors[monitor].stale = stale;
    emit monitorChanged(monitor);
}

void Switcher::selectMonitor(int monitor, const Origin &origin, devicelink::Done done) {
    record(QStringLiteral("selectMonitor"), monitor, 0, origin);
    m_monitor = monitor;
    finish(done, answer.value_or(Outcome::done()));
}

void Switcher::selectCamera(int camera, const Origin &origin, devicelink::Done done) {
    record(QStringLiteral("selectCamera"), camera, 0, origin);
    m_camera = camera;
    finish(done, answer.value_or(Outcome::done()));
}

void Switcher::route(int monitor, int camera, const Origin &origin, devicelink::Done done) {
    record(QStringLiteral("route"), monitor, camera, origin);
    const QString holder = m_monitors[monitor].lockHolder;
    if (!holder.isEmpty() && holder != origin.source()) {
        finish(done,
               Outcome::refused(
                   QStringLiteral("monitor %1 is locked by %2").arg(monitor).arg(holder), holder));
        return;
    }
    const Outcome outcome = answer.value_or(Outcome::done());
    if (outcome.ok()) {
        m_monitor = monitor;
        m_camera = camera;
        emit routed(monitor, camera, origin);
        show(monitor, camera);
    }
    finish(done, outcome);
}

void Switcher::startMove(devicelink::Move move, const Origin &origin, int camera,
                         devicelink::Done done) {
    record(QStringLiteral("startMove"), int(move), camera, origin);
    const Outcome outcome = answer.value_or(Outcome::done());
    if (outcome.ok() && camera > 0) {
        m_camera = camera;
        m_holders[camera] = origin.source();
        emit cameraHolderChanged(camera);
    }
    finish(done, outcome);
}

void Switcher::stopMove(devicelink::Move move, const Origin &origin) {
    record(QStringLiteral("stopMove"), int(move), 0, origin);
}

int Switcher::speed(devicelink::Axis axis) const {
    return m_speeds[int(axis)];
}

void Switcher::setSpeed(devicelink::Axis axis, int speed) {
    record(QStringLiteral("setSpeed"), int(axis), speed, {});
    m_speeds[int(axis)] = speed;
    emit speedChanged(axis, speed);
}

void Switcher::recallPreset(int preset, const Origin &origin, int camera, devicelink::Done done) {
    record(QStringLiteral("recallPreset"), preset, camera, origin);
    finish(done, answer.value_or(Outcome::done()));
}

void Switcher::storePreset(int preset, const Origin &origin, int camera, devicelink::Done done) {
    record(QStringLiteral("storePreset"), preset, camera, origin);
    finish(done, answer.value_or(Outcome::done()));
}

void Switcher::auxiliary(devicelink::Auxiliary function, const Origin &origin,
                         devicelink::Done done) {
    record(QStringLiteral("auxiliary"), int(function), 0, origin);
    finish(done, answer.value_or(Outcome::done()));
}

void Switcher::lockMonitor(int monitor, const Origin &origin, bool force, devicelink::Done done) {
    record(QStringLiteral("lock"), monitor, force, origin);
    QString &holder = m_monitors[monitor].lockHolder;
    if (!holder.isEmpty() && holder != origin.source() && !force) {
        finish(done,
               Outcome::refused(
                   QStringLiteral("monitor %1 is locked by %2").arg(monitor).arg(holder), holder));
        return;
    }
    holder = origin.source();
    emit monitorChanged(monitor);
    finish(done, Outcome::done());
}

void Switcher::unlockMonitor(int monitor, const Origin &origin, bool force, devicelink::Done done) {
    record(QStringLiteral("unlock"), monitor, force, origin);
    QString &holder = m_monitors[monitor].lockHolder;
    if (!holder.isEmpty() && holder != origin.source() && !force) {
        finish(done,
               Outcome::refused(
                   QStringLiteral("monitor %1 is locked by %2").arg(monitor).arg(holder), holder));
        return;
    }
    holder.clear();
    emit monitorChanged(monitor);
    finish(done, Outcome::done());
}

void Switcher::sourceGone(const Origin &origin) {
    record(QStringLiteral("sourceGone"), 0, 0, origin);
}

Switcher::MonitorState Switcher::monitor(int monitor) const {
    if (monitor < 1 || monitor > monitors)
        return {};
    return m_monitors[monitor];
}

QString Switcher::cameraHolder(int camera) const {
    if (camera < 1 || camera > cameras)
        return {};
    return m_holders[camera];
}

Automation::Automation() {
    tourStates.append({1, 2, TourState::Run::Stopped, 0, 3});
    AlarmState alarm;
    alarm.input = 7;
    alarm.bound = true;
    alarm.monitor = 1;
    alarm.camera = 12;
    alarmStates.append(alarm);
}

void Automation::note(const QString &what, const devicelink::Origin &by, devicelink::Done &done) {
    asked.append(what + QStringLiteral(" by ") + by.text());
    if (done)
        done(devicelink::Outcome::done());
}

void Automation::recallSalvo(const QString &name, const devicelink::Origin &by,
                             devicelink::Done done) {
    note(QStringLiteral("salvo ") + name, by, done);
}

void Automation::startTour(int tour, const devicelink::Origin &by, devicelink::Done done) {
    note(QStringLiteral("tour %1 start").arg(tour), by, done);
}

void Automation::stopTour(int tour, const devicelink::Origin &by, devicelink::Done done) {
    note(QStringLiteral("tour %1 stop").arg(tour), by, done);
}

void Automation::holdTour(int tour, const devicelink::Origin &by, devicelink::Done done) {
    note(QStringLiteral("tour %1 hold").arg(tour), by, done);
}

void Automation::stepTour(int tour, int by_steps, const devicelink::Origin &by,
                          devicelink::Done done) {
    note(QStringLiteral("tour %1 step %2").arg(tour).arg(by_steps), by, done);
}

void Automation::setAlarm(int input, bool active, const devicelink::Origin &by,
                          devicelink::Done done) {
    note(QStringLiteral("alarm %1 %2").arg(input).arg(active ? "on" : "off"), by, done);
}

void Automation::acknowledgeAlarm(int input, const devicelink::Origin &by, devicelink::Done done) {
    note(QStringLiteral("alarm %1 ack").arg(input), by, done);
}

} // namespace fakes

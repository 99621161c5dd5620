#include "RecordingSwitcher.h"

namespace fakes {

using devicelink::Origin;
using devicelink::Outcome;

QStringList RecordingSwitcher::log() const {
    QStringList out;
    for (const Call &c : calls)
        out << c.what + QLatin1String(" by ") + c.origin;
    return out;
}

QList<qint64> RecordingSwitcher::times(const QString &what) const {
    QList<qint64> out;
    for (const Call &c : calls) {
        if (c.what.startsWith(what))
            out << c.at;
    }
    return out;
}

void RecordingSwitcher::answer() {
    const QList<std::function<void()>> now = std::exchange(pending, {});
    for (const auto &f : now)
        f();
}

void RecordingSwitcher::record(const QString &what, const Origin &origin) {
    calls.append({m_clock.now(), what, origin.text(), priorities.of(origin)});
}

void RecordingSwitcher::finish(devicelink::Done done, const Outcome &outcome) {
    if (!done)
        return;
    if (answerLater)
        pending.append([done, outcome]() { done(outcome); });
    else
        done(outcome);
}

void RecordingSwitcher::routeBy(int monitor, int camera, const Origin &origin) {
    states[monitor].camera = camera;
    emit routed(monitor, camera, origin);
    emit monitorChanged(monitor);
}

void RecordingSwitcher::setLock(int monitor, const QString &holder) {
    states[monitor].lockHolder = holder;
    emit monitorChanged(monitor);
}

void RecordingSwitcher::selectMonitor(int monitor, const Origin &origin, devicelink::Done done) {
    record(QStringLiteral("monitor %1").arg(monitor), origin);
    m_monitor = monitor;
    finish(std::move(done), Outcome::done());
}

void RecordingSwitcher::selectCamera(int camera, const Origin &origin, devicelink::Done done) {
    record(QStringLiteral("camera %1").arg(camera), origin);
    m_camera = camera;
    finish(std::move(done), Outcome::done());
}

void RecordingSwitcher::route(int monitor, int camera, const Origin &origin,
                              devicelink::Done done) {
    record(QStringLiteral("route %1 %2").arg(monitor).arg(camera), origin);
    const Outcome outcome = routeOutcome.value(monitor, Outcome::done());
    if (outcome.ok()) {
        m_monitor = monitor;
        m_camera = camera;
        states[monitor].camera = camera;
        emit routed(monitor, camera, origin);
    }
    finish(std::move(done), outcome);
}

void RecordingSwitcher::startMove(devicelink::Move, const Origin &origin, int,
                                  devicelink::Done done) {
    record(QStringLiteral("move"), origin);
    finish(std::move(done), Outcome::done());
}

void RecordingSwitcher::recallPreset(int preset, const Origin &origin, int camera,
                                     devicelink::Done done) {
    record(camera ? QStringLiteral("preset %1 camera %2").arg(preset).arg(camera)
                  : QStringLiteral("preset %1").arg(preset),
           origin);
    if (camera && presetOutcome.ok())
        m_camera = camera;
    finish(std::move(done), presetOutcome);
}

void RecordingSwitcher::storePreset(int preset, const Origin &origin, int, devicelink::Done done) {
    record(QStringLiteral("store %1").arg(preset), origin);
    finish(std::move(done), Outcome::done());
}

void RecordingSwitcher::auxiliary(devicelink::Auxiliary, const Origin &origin,
                                  devicelink::Done done) {
    record(QStringLiteral("auxiliary"), origin);
    finish(std::move(done), Outcome::done());
}

void RecordingSwitcher::lockMonitor(int monitor, const Origin &origin, bool,
                                    devicelink::Done done) {
    record(QStringLiteral("lock %1").arg(monitor), origin);
    finish(std::move(done), Outcome::done());
}

void RecordingSwitcher::unlockMonitor(int monitor, const Origin &origin, bool,
                                      devicelink::Done done) {
    record(QStringLiteral("unlock %1").arg(monitor), origin);
    finish(std::move(done), Outcome::done());
}

} // namespace fakes

#include "BusFakes.h"

namespace fakes {

void Switcher::answer(const QString &what, const devicelink::Origin &origin,
                      devicelink::Done done) {
    calls.append({what, origin});
    if (!done)
        return;
    if (holdAnswers)
        held.append(std::move(done));
    else
        done(outcome);
}

void Switcher::release(const devicelink::Outcome &with) {
    const QList<devicelink::Done> answers = std::exchange(held, {});
    for (const devicelink::Done &done : answers)
        done(with);
}

void Switcher::show(int monitor, const MonitorState &state) {
    states[monitor] = state;
    emit monitorChanged(monitor);
}

void Switcher::route(int monitor, int camera, const devicelink::Origin &origin,
                     devicelink::Done done) {
    answer(QStringLiteral("route %1 %2").arg(monitor).arg(camera), origin, std::move(done));
}

void Switcher::recallPreset(int preset, const devicelink::Origin &origin, int camera,
                            devicelink::Done done) {
    answer(QStringLiteral("preset %1 on camera %2").arg(preset).arg(camera), origin,
           std::move(done));
}

devicelink::Switcher::MonitorState Switcher::monitor(int monitor) const {
    return monitor >= 1 && monitor <= monitors ? states[monitor] : MonitorState{};
}

void Automation::answer(const QString &what, const devicelink::Origin &by,
                        const devicelink::Done &done) {
    calls.append({what, by});
    if (done)
        done(outcome);
}

void Automation::recallSalvo(const QString &name, const devicelink::Origin &by,
                             devicelink::Done done) {
    answer(QStringLiteral("salvo ") + name, by, done);
}

void Automation::startTour(int tour, const devicelink::Origin &by, devicelink::Done done) {
    answer(QStringLiteral("tour %1 start").arg(tour), by, done);
}

void Automation::stopTour(int tour, const devicelink::Origin &by, devicelink::Done done) {
    answer(QStringLiteral("tour %1 stop").arg(tour), by, done);
}

void Automation::setAlarm(int input, bool active, const devicelink::Origin &by,
                          devicelink::Done done) {
    answer(QStringLiteral("alarm %1 %2").arg(input).arg(active ? "on" : "off"), by, done);
}

void Automation::acknowledgeAlarm(int input, const devicelink::Origin &by, devicelink::Done done) {
    answer(QStringLiteral("alarm %1 ack").arg(input), by, done);
}

} // namespace fakes

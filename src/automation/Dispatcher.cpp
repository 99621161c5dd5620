#include "automation/Dispatcher.h"

#include <QPointer>

namespace automation {

using devicelink::Outcome;

Dispatcher::Dispatcher(devicelink::Switcher &switcher, QObject *parent)
    : QObject(parent)
    , m_switcher(switcher) {}

void Dispatcher::put(int monitor, int camera, int preset, const devicelink::Origin &origin,
                     Finished finished) {
    if (preset <= 0) {
        // The switcher may answer after this object is gone: what it says
        // then goes nowhere.
        QPointer<Dispatcher> self(this);
        m_switcher.route(monitor, camera, origin, [self, finished](const Outcome &route) {
            if (self && finished)
                finished(route, Outcome::done());
        });
        return;
    }
    if (int(m_waiting.size()) >= maxWaiting) {
        if (finished)
            finished(
                Outcome::refused(QStringLiteral("too many camera calls with a preset waiting")),
                Outcome::done());
        return;
    }
    m_waiting.push_back({monitor, camera, preset, origin, std::move(finished)});
    if (!m_busy)
        next();
}

void Dispatcher::next() {
    if (m_waiting.empty()) {
        m_busy = false;
        return;
    }
    m_busy = true;
    const Call call = std::move(m_waiting.front());
    m_waiting.pop_front();
    QPointer<Dispatcher> self(this);
    m_switcher.route(call.monitor, call.camera, call.origin, [self, call](const Outcome &route) {
        if (!self)
            return;
        if (!route.ok()) {
            if (call.finished)
                call.finished(route, Outcome::done());
            self->next();
            return;
        }
        self->recallPreset(call, route);
    });
}

void Dispatcher::recallPreset(const Call &call, const Outcome &route) {
    // The route has just selected the camera. Naming it again would send its
    // code, which puts it on whichever monitor was selected last; only when
    // another source has selected a camera since is it named.
    const int camera = m_switcher.selectedCamera() == call.camera ? 0 : call.camera;
    QPointer<Dispatcher> self(this);
    m_switcher.recallPreset(call.preset, call.origin, camera,
                            [self, call, route](const Outcome &preset) {
                                if (!self)
                                    return;
                                if (call.finished)
                                    call.finished(route, preset);
                                self->next();
                            });
}

} // namespace automation

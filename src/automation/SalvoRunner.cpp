#include "automation/SalvoRunner.h"

#include "automation/Dispatcher.h"

#include <QPointer>

namespace automation {

using devicelink::Origin;
using devicelink::Outcome;

SalvoRunner::SalvoRunner(Dispatcher &dispatcher, QObject *parent)
    : QObject(parent)
    , m_dispatcher(dispatcher) {}

void SalvoRunner::recall(const AutomationFile::Salvo &salvo, const Origin &origin, const Origin &by,
                         devicelink::Done done) {
    if (int(m_recalls.size()) >= maxWaiting) {
        emit noted(origin.text(), QStringLiteral("not recalled by %1: %2 salvos wait already")
                                      .arg(by.text(), QString::number(maxWaiting)));
        if (done)
            done(Outcome::refused(QStringLiteral("too many salvos waiting")));
        return;
    }
    emit noted(origin.text(), QStringLiteral("recalled by %1: %2 routes")
                                  .arg(by.text(), QString::number(salvo.routes.size())));
    m_recalls.push_back({salvo, origin, std::move(done), 0, std::nullopt});
    if (!m_running)
        begin();
}

void SalvoRunner::begin() {
    m_running = !m_recalls.empty();
    if (m_running)
        step();
}

void SalvoRunner::step() {
    Recall &r = m_recalls.front();
    if (r.next >= r.salvo.routes.size()) {
        Recall finished = std::move(r);
        m_recalls.pop_front();
        if (finished.done)
            finished.done(finished.failure.value_or(Outcome::done()));
        begin();
        return;
    }
    const AutomationFile::Route route = r.salvo.routes[r.next++];
    // A copy: an answer given at once moves on to the next recall, and this
    // one is gone while the switcher may still read its origin.
    const Origin origin = r.origin;
    QPointer<SalvoRunner> self(this);
    m_dispatcher.put(route.monitor, route.camera, route.preset, origin,
                     [self, route](const Outcome &routed, const Outcome &preset) {
                         if (!self || self->m_recalls.empty())
                             return;
                         Recall &r = self->m_recalls.front();
                         const Outcome &failed = !routed.ok() ? routed : preset;
                         if (!failed.ok()) {
                             if (!r.failure)
                                 r.failure = failed;
                             emit self->noted(
                                 r.origin.text(),
                                 !routed.ok()
                                     ? QStringLiteral("camera %1 not put on monitor %2: %3")
                                           .arg(QString::number(route.camera),
                                                QString::number(route.monitor), routed.reason)
                                     : QStringLiteral("preset %1 of camera %2 not recalled: %3")
                                           .arg(QString::number(route.preset),
                                                QString::number(route.camera), preset.reason));
                         }
                         self->step();
                     });
}

} // namespace automation

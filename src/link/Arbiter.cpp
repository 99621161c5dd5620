#include "link/Arbiter.h"

#include "link/Clock.h"

namespace devicelink {

namespace {
bool sameSource(const Origin &a, const Origin &b) {
    return a.source() == b.source();
}

Outcome lockedBy(int monitor, const QString &holder) {
    return Outcome::refused(Outcome::Why::Locked, monitor,
                            QStringLiteral("monitor %1 is locked by %2").arg(monitor).arg(holder),
                            holder);
}
} // namespace

Arbiter::Arbiter(Clock &clock, QObject *parent)
    : QObject(parent)
    , m_clock(clock) {}

std::optional<Origin> Arbiter::lockHolder(int monitor) const {
    if (monitor < 1 || monitor > Switcher::monitors)
        return std::nullopt;
    return m_locks[monitor - 1];
}

Outcome Arbiter::lock(int monitor, const Origin &origin, bool force) {
    std::optional<Origin> &held = m_locks[monitor - 1];
    if (!held) {
        held = origin;
        emit decided(origin, QStringLiteral("monitor %1 locked").arg(monitor));
        emit lockChanged(monitor);
        return Outcome::done();
    }
    if (sameSource(*held, origin))
        return Outcome::done();
    const QString holder = held->source();
    if (!force || priorityOf(origin) <= priorityOf(*held))
        return lockedBy(monitor, holder);
    held = origin;
    emit decided(origin,
                 QStringLiteral("monitor %1 lock taken over from %2").arg(monitor).arg(holder));
    emit lockChanged(monitor);
    return Outcome::done();
}

Outcome Arbiter::unlock(int monitor, const Origin &origin, bool force) {
    std::optional<Origin> &held = m_locks[monitor - 1];
    if (!held)
        return Outcome::done();
    const QString holder = held->source();
    if (sameSource(*held, origin)) {
        held.reset();
        emit decided(origin, QStringLiteral("monitor %1 unlocked").arg(monitor));
    } else if (force && priorityOf(origin) > priorityOf(*held)) {
        held.reset();
        emit decided(
            origin,
            QStringLiteral("monitor %1 unlocked by force, held by %2").arg(monitor).arg(holder));
    } else {
        return lockedBy(monitor, holder);
    }
    emit lockChanged(monitor);
    return Outcome::done();
}

std::optional<Outcome> Arbiter::refusesRoute(int monitor, const Origin &origin) {
    const std::optional<Origin> held = lockHolder(monitor);
    if (!held || sameSource(*held, origin))
        return std::nullopt;
    const QString holder = held->source();
    if (priorityOf(origin) > priorityOf(*held)) {
        emit decided(origin, QStringLiteral("route to monitor %1 overrides the lock of %2")
                                 .arg(monitor)
                                 .arg(holder));
        return std::nullopt;
    }
    return lockedBy(monitor, holder);
}

const Arbiter::Control *Arbiter::control(int camera) const {
    const auto found = m_cameras.constFind(camera);
    if (found == m_cameras.cend())
        return nullptr;
    // Past its idle time a camera is anybody's again.
    if (m_clock.now() - found->lastMoveAt >= m_cameraIdleMs)
        return nullptr;
    return &*found;
}

Arbiter::CameraClaim Arbiter::claimCamera(int camera, const Origin &origin) {
    const Control *held = control(camera);
    CameraClaim claim;
    if (held && !sameSource(held->holder, origin)) {
        const QString name = camera > 0 ? QStringLiteral("camera %1").arg(camera)
                                        : QStringLiteral("the camera selected");
        if (priorityOf(origin) <= priorityOf(held->holder)) {
            claim.claim = Claim::Refused;
            claim.refusal = Outcome::refused(
                Outcome::Why::CameraHeld, camera,
                QStringLiteral("%1 is controlled by %2").arg(name, held->holder.source()),
                held->holder.source());
            return claim;
        }
        claim.claim = Claim::TakeOver;
        claim.holder = held->holder;
        emit decided(origin,
                     QStringLiteral("%1 taken over from %2").arg(name, held->holder.source()));
    }
    const bool changed = !held || !sameSource(held->holder, origin);
    m_cameras[camera] = {origin, m_clock.now()};
    if (changed)
        emit cameraHolderChanged(camera);
    return claim;
}

void Arbiter::touchCamera(int camera, const Origin &origin) {
    const auto found = m_cameras.find(camera);
    if (found != m_cameras.end() && sameSource(found->holder, origin))
        found->lastMoveAt = m_clock.now();
}

QString Arbiter::cameraHolder(int camera) const {
    const Control *held = control(camera);
    return held ? held->holder.source() : QString();
}

void Arbiter::release(const Origin &origin) {
    for (int m = 1; m <= Switcher::monitors; ++m) {
        std::optional<Origin> &held = m_locks[m - 1];
        if (held && sameSource(*held, origin)) {
            held.reset();
            emit decided(
                origin,
                QStringLiteral("monitor %1 unlocked: %2 is gone").arg(m).arg(origin.source()));
            emit lockChanged(m);
        }
    }
    for (auto it = m_cameras.begin(); it != m_cameras.end();) {
        if (sameSource(it->holder, origin)) {
            const int camera = it.key();
            it = m_cameras.erase(it);
            emit cameraHolderChanged(camera);
        } else {
            ++it;
        }
    }
}

} // namespace devicelink

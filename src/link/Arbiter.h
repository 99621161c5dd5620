#pragma once

#include "link/Origin.h"
#include "link/Priorities.h"
#include "link/Switcher.h"

#include <QHash>
#include <QObject>
#include <array>
#include <optional>

namespace devicelink {

class Clock;

// Decides between sources by priority: who holds each monitor's lock, and
// who drives each camera (and keeps it for an idle while after a move). It
// only decides and says so; the operations send the codes.
class Arbiter : public QObject {
    Q_OBJECT
public:
    static constexpr int defaultCameraIdleMs = 30000;

    explicit Arbiter(Clock &clock, QObject *parent = nullptr);

    void setPriorities(const Priorities &priorities) { m_priorities = priorities; }
    const Priorities &priorities() const { return m_priorities; }
    int priorityOf(const Origin &origin) const { return m_priorities.of(origin); }
    void setCameraIdleMs(int ms) { m_cameraIdleMs = ms; }

    // --- Monitor locks (monitors 1 to 4) --------------------------------------
    // Who holds the monitor's lock; nothing when it is free.
    std::optional<Origin> lockHolder(int monitor) const;
    Outcome lock(int monitor, const Origin &origin, bool force);
    Outcome unlock(int monitor, const Origin &origin, bool force);
    // Whether a source may put a camera on the monitor: its holder and any
    // source of higher priority may (the override is recorded).
    std::optional<Outcome> refusesRoute(int monitor, const Origin &origin);

    // --- Camera control (cameras 1 to 16; 0: the camera selected, unknown) ----
    enum class Claim : quint8 { Granted, TakeOver, Refused };
    struct CameraClaim {
        Claim claim = Claim::Granted;
        Origin holder;   // TakeOver: whose moves must stop first
        Outcome refusal; // Refused
    };
    // May the origin move the camera? It then holds it, until idle.
    CameraClaim claimCamera(int camera, const Origin &origin);
    // The holder moved it (a stop ends a move: the idle time counts from it).
    void touchCamera(int camera, const Origin &origin);
    QString cameraHolder(int camera) const;

    // A source is gone: its locks and its cameras are free.
    void release(const Origin &origin);

signals:
    void decided(const devicelink::Origin &origin, const QString &what);
    void lockChanged(int monitor);
    void cameraHolderChanged(int camera);

private:
    struct Control {
        Origin holder;
        qint64 lastMoveAt = 0;
    };
    const Control *control(int camera) const;

    Clock &m_clock;
    Priorities m_priorities;
    int m_cameraIdleMs = defaultCameraIdleMs;
    std::array<std::optional<Origin>, Switcher::monitors> m_locks;
    QHash<int, Control> m_cameras;
};

} // namespace devicelink

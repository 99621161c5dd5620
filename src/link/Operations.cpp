#include "link/Operations.h"

#include "link/Arbiter.h"
#include "link/Clock.h"
#include "link/CommandCode.h"
#include "link/RoutingModel.h"
#include "link/Session.h"
#include "link/StatusPolls.h"
#include "ui/Timer.h"

namespace devicelink {

namespace {

struct MoveCodes {
    Code press;
    Code release;
    int axis; // 0 pan, 1 tilt, 2 zoom, 3 focus, 4 iris
};

// Each axis uses three consecutive codes: start one way, stop, start the other.
constexpr MoveCodes moveCodes[] = {
    {Code::TiltUp, Code::TiltStop, 1},     {Code::PanLeft, Code::PanStop, 0},
    {Code::PanRight, Code::PanStop, 0},    {Code::TiltDown, Code::TiltStop, 1},
    {Code::ZoomIn, Code::ZoomStop, 2},     {Code::ZoomOut, Code::ZoomStop, 2},
    {Code::FocusNear, Code::FocusStop, 3}, {Code::FocusFar, Code::FocusStop, 3},
    {Code::IrisOpen, Code::IrisStop, 4},   {Code::IrisClose, Code::IrisStop, 4},
};
constexpr Code stopOfAxis[] = {Code::PanStop, Code::TiltStop, Code::ZoomStop, Code::FocusStop,
                               Code::IrisStop};

const MoveCodes &codesOf(Move move) {
    return moveCodes[static_cast<int>(move)];
}
bool isDirection(Move move) {
    return codesOf(move).axis <= 1;
}

// What a joystick code does to the axes: starts one (the move it is), stops
// one, or neither (a speed).
struct CodeEffect {
    std::optional<Move> starts;
    int stopsAxis = -1;
};
CodeEffect effectOf(Code code) {
    CodeEffect effect;
    for (int i = 0; i < int(std::size(moveCodes)); ++i) {
        if (moveCodes[i].press == code)
            effect.starts = static_cast<Move>(i);
        if (moveCodes[i].release == code)
            effect.stopsAxis = moveCodes[i].axis;
    }
    return effect;
}

bool sameSource(const Origin &a, const Origin &b) {
    return a.source() == b.source();
}

Outcome outOfRange(const char *what, int n, int highest) {
    return Outcome::refused(
        Outcome::Why::OutOfRange, n,
        QStringLiteral("no %1 %2: %1s are 1 to %3").arg(QLatin1String(what)).arg(n).arg(highest));
}

} // namespace

// Gathers what became of the codes of one operation and tells its caller
// once: done when every code left (some may wait for the site's name),
// else the first reason one did not, or why it was refused.
class Operations::Tally {
public:
    Tally(Operations &operations, Origin origin, Done done)
        : m_operations(operations)
        , m_origin(std::move(origin))
        , m_done(std::move(done)) {}

    void add(Session::Delivery delivery, const QString &why) {
        if (delivery == Session::Delivery::NotSent && m_outcome.ok())
            m_outcome = Outcome::notSent(why);
    }
    // For a frame that waits for the site's name.
    Done later(const std::shared_ptr<Tally> &self) {
        ++m_waiting;
        return [self](const Outcome &outcome) {
            --self->m_waiting;
            if (!outcome.ok() && self->m_outcome.ok())
                self->m_outcome = outcome;
            self->finishIfReady();
        };
    }
    void refuse(const Outcome &outcome) {
        m_outcome = outcome;
        close();
    }
    // Every code of the operation has been given.
    void close() {
        m_closed = true;
        finishIfReady();
    }
    bool failed() const { return !m_outcome.ok(); }

private:
    void finishIfReady() {
        if (!m_closed || m_waiting > 0 || m_finished)
            return;
        m_finished = true;
        if (!m_outcome.ok())
            emit m_operations.refused(m_origin, m_outcome);
        if (m_done)
            m_done(m_outcome);
    }

    Operations &m_operations;
    Origin m_origin;
    Done m_done;
    Outcome m_outcome;
    int m_waiting = 0;
    bool m_closed = false;
    bool m_finished = false;
};

Operations::Operations(Session &session, QObject *parent)
    : Switcher(parent)
    , m_session(session)
    , m_arbiter(new Arbiter(session.clock(), this))
    , m_Timer4(new ui::Timer(QStringLiteral("Timer4"), 800, false, this))
    , m_TimerPan(new ui::Timer(QStringLiteral("TimerPan"), 500, false, this))
    , m_TimerTilt(new ui::Timer(QStringLiteral("TimerTilt"), 500, false, this))
    , m_TimerSet(new ui::Timer(QStringLiteral("TimerSet"), 100, false, this))
    , m_TimerStore(new ui::Timer(QStringLiteral("TimerStore"), 200, false, this))
    , m_TimerWait(new ui::Timer(QStringLiteral("TimerWait"), 100, false, this)) {
    setObjectName(QStringLiteral("operations"));
    connect(m_Timer4, &ui::Timer::tick, this, &Operations::Timer4_Timer);
    connect(m_TimerPan, &ui::Timer::tick, this, &Operations::TimerPan_Timer);
    connect(m_TimerTilt, &ui::Timer::tick, this, &Operations::TimerTilt_Timer);
    connect(m_TimerSet, &ui::Timer::tick, this, &Operations::TimerSet_Timer);
    connect(m_TimerStore, &ui::Timer::tick, this, &Operations::TimerStore_Timer);
    connect(m_TimerWait, &ui::Timer::tick, this, &Operations::TimerWait_Timer);
    connect(&session.routing(), &RoutingModel::changed, this, &Switcher::monitorChanged);
    connect(m_arbiter, &Arbiter::lockChanged, this, &Switcher::monitorChanged);
    connect(m_arbiter, &Arbiter::cameraHolderChanged, this, &Switcher::cameraHolderChanged);
    connect(m_arbiter, &Arbiter::decided, this, &Switcher::decided);
}

Operations::~Operations() = default;

void Operations::setPriorities(const Priorities &priorities) {
    m_arbiter->setPriorities(priorities);
}

void Operations::setCameraIdleMs(int ms) {
    m_arbiter->setCameraIdleMs(ms);
}

// --- The gate: one source's sequence at a time ---------------------------------

std::optional<Origin> Operations::sequenceOwner() const {
    for (const std::optional<Hold> &hold : m_holds) {
        if (hold)
            return hold->origin;
    }
    if (m_TimerPan->isEnabled())
        return m_panSpeedOrigin;
    if (m_TimerTilt->isEnabled())
        return m_tiltSpeedOrigin;
    if (presetRunning() && m_presetOrigin)
        return m_presetOrigin;
    if (m_Timer4->isEnabled() && m_auxOrigin)
        return m_auxOrigin;
    return std::nullopt;
}

bool Operations::ownerMoves() const {
    for (const std::optional<Hold> &hold : m_holds) {
        if (hold)
            return true;
    }
    return false;
}

void Operations::gate(const Origin &origin, bool isMove, std::function<void()> op, Done done,
                      std::optional<Move> move) {
    std::optional<Origin> owner = sequenceOwner();
    // The source's own codes go as they always have, in the order given.
    if (!owner || sameSource(*owner, origin)) {
        op();
        return;
    }
    // A higher priority stops the other's camera first, and goes on.
    if (ownerMoves() && m_arbiter->priorityOf(origin) > m_arbiter->priorityOf(*owner)) {
        emit decided(origin, QStringLiteral("the camera moves of %1 stopped").arg(owner->source()));
        endMovesOf(owner->source(), origin);
        owner = sequenceOwner();
        if (!owner || sameSource(*owner, origin)) {
            op();
            return;
        }
    }
    if (isMove && ownerMoves()) {
        refuse(origin,
               Outcome::refused(Outcome::Why::CameraHeld, m_selectedCamera,
                                QStringLiteral("the camera is moved by %1").arg(owner->source()),
                                owner->source()),
               done);
        return;
    }
    if (m_waiting.size() >= maxWaiting) {
        refuse(origin, Outcome::refused(QStringLiteral("busy: too many operations wait")), done);
        return;
    }
    m_waiting.push_back(
        {origin, std::move(op), std::move(done), m_session.clock().now() + maxWaitMs, move});
    m_TimerWait->setEnabled(true);
}

void Operations::sequenceMayHaveEnded() {
    if (m_draining)
        return;
    m_draining = true;
    while (!m_waiting.empty()) {
        const std::optional<Origin> owner = sequenceOwner();
        if (owner && !sameSource(*owner, m_waiting.front().origin))
            break;
        Waiting next = std::move(m_waiting.front());
        m_waiting.pop_front();
        next.run();
    }
    m_draining = false;
    if (m_waiting.empty())
        m_TimerWait->setEnabled(false);
}

void Operations::TimerWait_Timer() {
    const qint64 now = m_session.clock().now();
    for (auto it = m_waiting.begin(); it != m_waiting.end();) {
        if (it->deadline > now) {
            ++it;
            continue;
        }
        const std::optional<Origin> owner = sequenceOwner();
        const QString by = owner ? owner->source() : QString();
        const Waiting expired = std::move(*it);
        it = m_waiting.erase(it);
        refuse(expired.origin,
               Outcome::refused(
                   QStringLiteral("busy: a sequence of %1 did not end in time").arg(by), by),
               expired.done);
    }
    if (m_waiting.empty())
        m_TimerWait->setEnabled(false);
}

void Operations::refuse(const Origin &origin, const Outcome &outcome, const Done &done) {
    emit refused(origin, outcome);
    if (done)
        done(outcome);
}

void Operations::sendTallied(Code code, const Origin &origin, const std::shared_ptr<Tally> &tally) {
    QString why;
    Done later;
    // Only a frame that waits for the site's name is told of later.
    if (!m_session.channel().isSerial())
        later = tally->later(tally);
    const Session::Delivery delivery = m_session.send(code, origin, &why, later);
    if (delivery != Session::Delivery::Waiting && later)
        later(delivery == Session::Delivery::Sent ? Outcome::done() : Outcome::notSent(why));
    else
        tally->add(delivery, why);
}

// --- Routing -------------------------------------------------------------------

void Operations::selectMonitor(int monitor, const Origin &origin, Done done) {
    if (monitor < 1 || monitor > monitors) {
        refuse(origin, outOfRange("monitor", monitor, monitors), done);
        return;
    }
    gate(
        origin, false,
        [this, monitor, origin, done] {
            auto tally = std::make_shared<Tally>(*this, origin, done);
            sendTallied(devicelink::monitor(monitor), origin, tally);
            m_session.polls().Timer3().setEnabled(true);
            m_selectedMonitor = monitor;
            tally->close();
        },
        done);
}

void Operations::selectCamera(int camera, const Origin &origin, Done done) {
    if (camera < 1 || camera > cameras) {
        refuse(origin, outOfRange("camera", camera, cameras), done);
        return;
    }
    gate(
        origin, false,
        [this, camera, origin, done] {
            auto tally = std::make_shared<Tally>(*this, origin, done);
            if (m_selectedMonitor > 0) {
                if (const std::optional<Outcome> no =
                        m_arbiter->refusesRoute(m_selectedMonitor, origin)) {
                    tally->refuse(*no);
                    return;
                }
            }
            sendTallied(number(camera), origin, tally);
            m_session.polls().Timer3().setEnabled(true);
            m_selectedCamera = camera;
            if (m_selectedMonitor > 0 && !tally->failed())
                emit routed(m_selectedMonitor, camera, origin);
            tally->close();
        },
        done);
}

void Operations::route(int monitor, int camera, const Origin &origin, Done done) {
    if (monitor < 1 || monitor > monitors || camera < 1 || camera > cameras) {
        refuse(origin,
               monitor < 1 || monitor > monitors ? outOfRange("monitor", monitor, monitors)
                                                 : outOfRange("camera", camera, cameras),
               done);
        return;
    }
    gate(
        origin, false,
        [this, monitor, camera, origin, done] {
            auto tally = std::make_shared<Tally>(*this, origin, done);
            if (const std::optional<Outcome> no = m_arbiter->refusesRoute(monitor, origin)) {
                tally->refuse(*no);
                return;
            }
            // As the keypad does it: the monitor, then the camera, each
            // arming the status request.
            ui::Timer &Timer3 = m_session.polls().Timer3();
            sendTallied(devicelink::monitor(monitor), origin, tally);
            Timer3.setEnabled(true);
            m_selectedMonitor = monitor;
            sendTallied(number(camera), origin, tally);
            Timer3.setEnabled(true);
            m_selectedCamera = camera;
            if (!tally->failed())
                emit routed(monitor, camera, origin);
            tally->close();
        },
        done);
}

bool Operations::chooseCamera(int camera, const Origin &origin,
                              const std::shared_ptr<Tally> &tally) {
    if (camera == 0 || camera == m_selectedCamera)
        return true;
    if (m_selectedMonitor > 0) {
        if (const std::optional<Outcome> no = m_arbiter->refusesRoute(m_selectedMonitor, origin)) {
            tally->refuse(*no);
            return false;
        }
    }
    sendTallied(number(camera), origin, tally);
    m_session.polls().Timer3().setEnabled(true);
    m_selectedCamera = camera;
    if (m_selectedMonitor > 0 && !tally->failed())
        emit routed(m_selectedMonitor, camera, origin);
    return true;
}

int Operations::cameraOf(int camera) const {
    return camera > 0 ? camera : m_selectedCamera;
}

// --- Camera moves ----------------------------------------------------------------

void Operations::startMove(Move move, const Origin &origin, int camera, Done done) {
    if (camera < 0 || camera > cameras) {
        refuse(origin, outOfRange("camera", camera, cameras), done);
        return;
    }
    gate(
        origin, true,
        [this, move, origin, camera, done] {
            auto tally = std::make_shared<Tally>(*this, origin, done);
            const Arbiter::CameraClaim claim = m_arbiter->claimCamera(cameraOf(camera), origin);
            if (claim.claim == Arbiter::Claim::Refused) {
                tally->refuse(claim.refusal);
                return;
            }
            if (claim.claim == Arbiter::Claim::TakeOver)
                endMovesOf(claim.holder.source(), origin);
            if (!chooseCamera(camera, origin, tally))
                return;
            const MoveCodes &codes = codesOf(move);
            std::optional<Hold> &hold = m_holds[codes.axis];
            if (hold && hold->move == move && sameSource(hold->origin, origin)) {
                tally->close(); // held already
                return;
            }
            if (isDirection(move))
                m_session.polls().Timer5().setEnabled(false);
            hold = Hold{origin, move};
            sendTallied(codes.press, origin, tally);
            if (isDirection(move)) {
                const bool pan = codes.axis == 0;
                (pan ? m_panSpeedOrigin : m_tiltSpeedOrigin) = origin;
                (pan ? m_TimerPan : m_TimerTilt)->setEnabled(true);
            }
            tally->close();
        },
        done, move);
}

void Operations::stopMove(Move move, const Origin &origin) {
    // A start that still waits is given up: nothing of it went out.
    for (auto it = m_waiting.begin(); it != m_waiting.end(); ++it) {
        if (it->move == move && sameSource(it->origin, origin)) {
            const Waiting dropped = std::move(*it);
            m_waiting.erase(it);
            refuse(dropped.origin, Outcome::refused(QStringLiteral("let go before it could start")),
                   dropped.done);
            return;
        }
    }
    const MoveCodes &codes = codesOf(move);
    std::optional<Hold> &hold = m_holds[codes.axis];
    if (!hold || !sameSource(hold->origin, origin))
        return;
    hold.reset();
    m_session.send(codes.release, origin);
    if (isDirection(move))
        m_session.polls().Timer5().setEnabled(true);
    m_arbiter->touchCamera(m_selectedCamera, origin);
    sequenceMayHaveEnded();
}

bool Operations::isMoving(Move move, const Origin &origin) const {
    const std::optional<Hold> &hold = m_holds[codesOf(move).axis];
    return hold && sameSource(hold->origin, origin);
}

void Operations::endHold(int axis, const Origin &by, bool announce) {
    std::optional<Hold> hold = std::exchange(m_holds[axis], std::nullopt);
    if (!hold)
        return;
    m_session.send(stopOfAxis[axis], by);
    if (axis <= 1)
        m_session.polls().Timer5().setEnabled(true);
    if (announce)
        emit moveEnded(hold->move, hold->origin);
}

void Operations::endMovesOf(const QString &source, const Origin &by) {
    for (int axis = 0; axis < axes; ++axis) {
        if (m_holds[axis] && m_holds[axis]->origin.source() == source)
            endHold(axis, by, true);
    }
    // Its speed, due after a direction, would go to another's camera.
    if (m_TimerPan->isEnabled() && m_panSpeedOrigin.source() == source)
        m_TimerPan->setEnabled(false);
    if (m_TimerTilt->isEnabled() && m_tiltSpeedOrigin.source() == source)
        m_TimerTilt->setEnabled(false);
}

void Operations::endAllMoves(const Origin &by) {
    for (int axis = 0; axis < axes; ++axis) {
        if (m_holds[axis])
            endHold(axis, m_holds[axis]->origin.isPanel() ? m_holds[axis]->origin : by, true);
    }
    sequenceMayHaveEnded();
}

void Operations::sendCameraCode(Code code, const Origin &origin) {
    const CodeEffect effect = effectOf(code);
    gate(origin, effect.starts.has_value(),
         [this, code, origin, effect] {
             if (effect.starts) {
                 const Arbiter::CameraClaim claim =
                     m_arbiter->claimCamera(m_selectedCamera, origin);
                 if (claim.claim == Arbiter::Claim::Refused) {
                     emit refused(origin, claim.refusal);
                     return;
                 }
                 if (claim.claim == Arbiter::Claim::TakeOver)
                     endMovesOf(claim.holder.source(), origin);
                 m_holds[codesOf(*effect.starts).axis] = Hold{origin, *effect.starts};
             }
             QString why;
             if (m_session.send(code, origin, &why) == Session::Delivery::NotSent)
                 emit refused(origin, Outcome::notSent(why));
             if (effect.stopsAxis >= 0) {
                 std::optional<Hold> &hold = m_holds[effect.stopsAxis];
                 if (hold && sameSource(hold->origin, origin)) {
                     hold.reset();
                     m_arbiter->touchCamera(m_selectedCamera, origin);
                 }
             }
             sequenceMayHaveEnded();
         },
         {});
}

int Operations::speed(Axis axis) const {
    return m_speeds[static_cast<int>(axis)];
}

void Operations::setSpeed(Axis axis, int speed) {
    speed = qBound(0, speed, fastestSpeed);
    int &held = m_speeds[static_cast<int>(axis)];
    if (held == speed)
        return;
    held = speed;
    emit speedChanged(axis, speed);
}

void Operations::TimerPan_Timer() {
    // The speed as set when it is due, not when the direction began.
    m_session.send(panSpeed(m_speeds[0]), m_panSpeedOrigin);
    m_TimerPan->setEnabled(false);
    sequenceMayHaveEnded();
}

void Operations::TimerTilt_Timer() {
    m_session.send(tiltSpeed(m_speeds[1]), m_tiltSpeedOrigin);
    m_TimerTilt->setEnabled(false);
    sequenceMayHaveEnded();
}

// --- Presets -----------------------------------------------------------------------

bool Operations::presetRunning() const {
    return m_TimerSet->isEnabled() || m_TimerStore->isEnabled();
}

void Operations::recallPreset(int preset, const Origin &origin, int camera, Done done) {
    startPresetSequence(preset, false, origin, camera, std::move(done));
}

void Operations::storePreset(int preset, const Origin &origin, int camera, Done done) {
    startPresetSequence(preset, true, origin, camera, std::move(done));
}

void Operations::startPresetSequence(int preset, bool store, const Origin &origin, int camera,
                                     Done done) {
    if (preset < 1 || preset > presets || camera < 0 || camera > cameras) {
        refuse(origin,
               preset < 1 || preset > presets ? outOfRange("preset", preset, presets)
                                              : outOfRange("camera", camera, cameras),
               done);
        return;
    }
    gate(
        origin, false,
        [this, preset, store, origin, camera, done] {
            // Sequences never overlap, as the disabled preset keys show.
            if (presetRunning()) {
                refuse(origin,
                       Outcome::refused(Outcome::Why::PresetRunning, 0,
                                        QStringLiteral("a preset sequence is running")),
                       done);
                return;
            }
            auto tally = std::make_shared<Tally>(*this, origin, done);
            if (!chooseCamera(camera, origin, tally))
                return;
            m_presetOrigin = origin;
            m_presetNumber = preset;
            m_presetTally = tally;
            (store ? m_TimerStore : m_TimerSet)->setEnabled(true);
            PresetKey = numberCode(preset);
            emit presetRunningChanged(true);
        },
        done);
}

void Operations::TimerSet_Timer() {
    const Origin origin = m_presetOrigin.value_or(Origin{});
    const std::shared_ptr<Tally> tally =
        m_presetTally ? m_presetTally : std::make_shared<Tally>(*this, origin, Done{});
    switch (PresetStep) {
    case 0:
        sendTallied(Code::PresetBegin, origin, tally);
        PresetStep = 1;
        break;
    case 1:
        sendTallied(number(m_presetNumber > 0 ? m_presetNumber : 1), origin, tally);
        PresetStep = 2;
        break;
    case 2:
        sendTallied(Code::PresetEnd, origin, tally);
        PresetStep = 0;
        m_TimerSet->setEnabled(false);
        endPresetSequence(false);
        break;
    default:
        break;
    }
}

void Operations::TimerStore_Timer() {
    // The store sequence; the preset's own number goes in the middle.
    static const std::optional<Code> codes[] = {Code::PresetStoreBegin, Code::PresetBegin,
                                                std::nullopt, Code::PresetStoreNumber,
                                                Code::PresetEnd};
    if (PresetStep < 0 || PresetStep > 4)
        return;
    const Origin origin = m_presetOrigin.value_or(Origin{});
    const std::shared_ptr<Tally> tally =
        m_presetTally ? m_presetTally : std::make_shared<Tally>(*this, origin, Done{});
    sendTallied(codes[PresetStep].value_or(number(m_presetNumber > 0 ? m_presetNumber : 1)), origin,
                tally);
    if (PresetStep < 4) {
        ++PresetStep;
        return;
    }
    PresetStep = 0;
    m_TimerStore->setEnabled(false);
    endPresetSequence(true);
}

void Operations::endPresetSequence(bool store) {
    const std::shared_ptr<Tally> tally = std::exchange(m_presetTally, nullptr);
    m_presetOrigin.reset();
    if (store)
        emit presetStored();
    emit presetRunningChanged(false);
    if (tally)
        tally->close();
    sequenceMayHaveEnded();
}

// --- Auxiliary functions --------------------------------------------------------------

void Operations::auxiliary(Auxiliary function, const Origin &origin, Done done) {
    gate(
        origin, false,
        [this, function, origin, done] {
            auto tally = std::make_shared<Tally>(*this, origin, done);
            switch (function) {
            case Auxiliary::Sequence:
                sendTallied(Code::Sequence, origin, tally);
                break;
            case Auxiliary::AutoPan:
                sendTallied(Code::AutoPan, origin, tally);
                break;
            case Auxiliary::Tour:
                // The tour's begin followed at once by the A/P code.
                sendTallied(Code::PresetBegin, origin, tally);
                sendTallied(Code::AutoPan, origin, tally);
                break;
            case Auxiliary::Wiper:
            case Auxiliary::Lamps:
            case Auxiliary::Aux: {
                const Code code = function == Auxiliary::Wiper   ? Code::Wiper
                                  : function == Auxiliary::Lamps ? Code::Lamps
                                                                 : Code::Aux;
                sendTallied(code, origin, tally);
                // Its release follows 800 ms later; done is told then.
                m_auxOrigin = origin;
                m_auxTallies.append(tally);
                m_Timer4->setEnabled(true);
                return;
            }
            }
            tally->close();
        },
        done);
}

void Operations::Timer4_Timer() {
    m_Timer4->setEnabled(false);
    // The status request is timed from this tick, not from the end of the
    // send below (no send runs the event loop, so it cannot come first).
    m_session.polls().Timer3().setEnabled(true);
    const Origin origin = m_auxOrigin.value_or(Origin{});
    const QList<std::shared_ptr<Tally>> tallies = std::exchange(m_auxTallies, {});
    QString why;
    const Session::Delivery delivery = m_session.send(Code::AuxRelease, origin, &why);
    for (const std::shared_ptr<Tally> &tally : tallies) {
        tally->add(delivery, why);
        tally->close();
    }
    m_auxOrigin.reset();
    sequenceMayHaveEnded();
}

// --- Locks and sources ---------------------------------------------------------------

void Operations::lockMonitor(int monitor, const Origin &origin, bool force, Done done) {
    if (monitor < 1 || monitor > monitors) {
        refuse(origin, outOfRange("monitor", monitor, monitors), done);
        return;
    }
    const Outcome outcome = m_arbiter->lock(monitor, origin, force);
    if (!outcome.ok())
        refuse(origin, outcome, done);
    else if (done)
        done(outcome);
}

void Operations::unlockMonitor(int monitor, const Origin &origin, bool force, Done done) {
    if (monitor < 1 || monitor > monitors) {
        refuse(origin, outOfRange("monitor", monitor, monitors), done);
        return;
    }
    const Outcome outcome = m_arbiter->unlock(monitor, origin, force);
    if (!outcome.ok())
        refuse(origin, outcome, done);
    else if (done)
        done(outcome);
}

void Operations::sourceGone(const Origin &origin) {
    const QString source = origin.source();
    for (auto it = m_waiting.begin(); it != m_waiting.end();) {
        if (it->origin.source() != source) {
            ++it;
            continue;
        }
        const Waiting dropped = std::move(*it);
        it = m_waiting.erase(it);
        if (dropped.done)
            dropped.done(Outcome::refused(QStringLiteral("%1 is gone").arg(origin.source())));
    }
    endMovesOf(source, origin);
    m_arbiter->release(origin);
    sequenceMayHaveEnded();
}

Switcher::MonitorState Operations::monitor(int monitor) const {
    MonitorState state;
    if (monitor < 1 || monitor > monitors)
        return state;
    const RoutingModel::Entry &entry = m_session.routing().entry(monitor);
    state.camera = entry.camera;
    state.stale = entry.stale;
    if (const std::optional<Origin> holder = m_arbiter->lockHolder(monitor))
        state.lockHolder = holder->source();
    return state;
}

QString Operations::cameraHolder(int camera) const {
    return m_arbiter->cameraHolder(camera);
}

void Operations::stopTimers() {
    for (ui::Timer *timer : {m_Timer4, m_TimerPan, m_TimerTilt, m_TimerSet, m_TimerStore})
        timer->setEnabled(false);
}

} // namespace devicelink

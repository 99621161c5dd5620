#pragma once

#include "link/Codes.h"
#include "link/Switcher.h"

#include <QList>
#include <array>
#include <deque>
#include <memory>
#include <optional>

namespace ui {
class Timer;
}

namespace devicelink {

class Arbiter;
class Session;
struct Priorities;

// The switcher's operations as every source asks for them, with the
// follow-up codes and timers the keypads have always had: the speed 500 ms
// after a direction, the preset recall and store sequences, the release
// 800 ms after Aux, Lamps and Wiper, the status request after a selection or
// a movement. A move, a preset sequence and an auxiliary follow-up are
// sequences of codes that act on the camera selected first: one source's
// sequence is never split by another's codes. Another source's operation
// waits for the sequence to end (refused when it would wait long), and a
// move of a higher priority takes the camera over, the first move's stop
// going out first.
class Operations : public Switcher {
    Q_OBJECT
public:
    // How long another source's operation may wait for a sequence, and how
    // many may wait.
    static constexpr int maxWaitMs = 2000;
    static constexpr int maxWaiting = 64;

    Operations(Session &session, QObject *parent = nullptr);
    ~Operations() override;

    Arbiter &arbiter() const { return *m_arbiter; }
    void setPriorities(const Priorities &priorities);
    void setCameraIdleMs(int ms);

    // The switcher's interface.
    void selectMonitor(int monitor, const Origin &origin, Done done = {}) override;
    void selectCamera(int camera, const Origin &origin, Done done = {}) override;
    void route(int monitor, int camera, const Origin &origin, Done done = {}) override;
    void startMove(Move move, const Origin &origin, int camera = 0, Done done = {}) override;
    void stopMove(Move move, const Origin &origin) override;
    int speed(Axis axis) const override;
    void setSpeed(Axis axis, int speed) override;
    void recallPreset(int preset, const Origin &origin, int camera = 0, Done done = {}) override;
    void storePreset(int preset, const Origin &origin, int camera = 0, Done done = {}) override;
    void auxiliary(Auxiliary function, const Origin &origin, Done done = {}) override;
    void lockMonitor(int monitor, const Origin &origin, bool force = false,
                     Done done = {}) override;
    void unlockMonitor(int monitor, const Origin &origin, bool force = false,
                       Done done = {}) override;
    void sourceGone(const Origin &origin) override;
    MonitorState monitor(int monitor) const override;
    QString cameraHolder(int camera) const override;
    int selectedCamera() const override { return m_selectedCamera; }
    int selectedMonitor() const override { return m_selectedMonitor; }

    // A camera code as the joystick sends it, poll by poll: a direction, a
    // stop, a speed or a lens code on its own. It moves the camera for its
    // source as a held button would, under the same rules.
    void sendCameraCode(Code code, const Origin &origin);
    // Every move still running ends with its stop code (the program ends).
    void endAllMoves(const Origin &by);
    // Whether a preset sequence runs (the preset keys wait meanwhile).
    bool presetRunning() const;
    // Whether the origin's source holds a move on the axis of this one.
    bool isMoving(Move move, const Origin &origin) const;

    // The timers, under the names the panel has always given them.
    ui::Timer &Timer4() const { return *m_Timer4; }
    ui::Timer &TimerPan() const { return *m_TimerPan; }
    ui::Timer &TimerTilt() const { return *m_TimerTilt; }
    ui::Timer &TimerSet() const { return *m_TimerSet; }
    ui::Timer &TimerStore() const { return *m_TimerStore; }
    void Timer4_Timer();
    void TimerPan_Timer();
    void TimerTilt_Timer();
    void TimerSet_Timer();
    void TimerStore_Timer();
    // Refuses what waited too long for another source's sequence.
    void TimerWait_Timer();
    // Every follow-up timer stopped (the program has ended).
    void stopTimers();

    // The next code's place in the running preset sequence; 0 when idle.
    qint16 PresetStep = 0;
    // The number code of the preset last chosen ("35" for preset 5).
    QString PresetKey;

signals:
    // A preset sequence began or ended.
    void presetRunningChanged(bool running);
    // A store sequence ended (the panel clears "Store Preset").
    void presetStored();
    // A source's move ended without its own stop (taken over, its source
    // gone, the program ending): a held key or button is no longer moving.
    void moveEnded(devicelink::Move move, const devicelink::Origin &origin);

private:
    static constexpr int axes = 5; // pan, tilt, zoom, focus, iris
    struct Hold {
        Origin origin;
        Move move = Move::Left;
    };
    struct Waiting {
        Origin origin;
        std::function<void()> run;
        Done done;
        qint64 deadline = 0;
        std::optional<Move> move; // a waiting start a release may cancel
    };
    class Tally;

    // Runs op now, or once another source's sequence has ended.
    void gate(const Origin &origin, bool isMove, std::function<void()> op, Done done,
              std::optional<Move> move = std::nullopt);
    // The source whose sequence runs now, if any.
    std::optional<Origin> sequenceOwner() const;
    bool ownerMoves() const;
    void sequenceMayHaveEnded();
    void refuse(const Origin &origin, const Outcome &outcome, const Done &done);
    // Puts the camera first (when asked for one), under the monitor's lock;
    // false when refused (done is told).
    bool chooseCamera(int camera, const Origin &origin, const std::shared_ptr<Tally> &tally);
    void sendTallied(Code code, const Origin &origin, const std::shared_ptr<Tally> &tally);
    // Ends every hold of a source with its stop code, sent with origin by.
    void endMovesOf(const QString &source, const Origin &by);
    void endHold(int axis, const Origin &by, bool announce);
    void startPresetSequence(int preset, bool store, const Origin &origin, int camera, Done done);
    void endPresetSequence(bool store);
    int cameraOf(int camera) const;

    Session &m_session;
    Arbiter *m_arbiter;
    ui::Timer *m_Timer4;
    ui::Timer *m_TimerPan;
    ui::Timer *m_TimerTilt;
    ui::Timer *m_TimerSet;
    ui::Timer *m_TimerStore;
    ui::Timer *m_TimerWait;

    std::array<std::optional<Hold>, axes> m_holds;
    Origin m_panSpeedOrigin;
    Origin m_tiltSpeedOrigin;
    std::array<int, 2> m_speeds{5, 5};
    int m_presetNumber = 0;
    std::optional<Origin> m_presetOrigin;
    std::shared_ptr<Tally> m_presetTally;
    std::optional<Origin> m_auxOrigin;
    QList<std::shared_ptr<Tally>> m_auxTallies;
    std::deque<Waiting> m_waiting;
    bool m_draining = false;
    int m_selectedCamera = 0;
    int m_selectedMonitor = 0;
};

} // namespace devicelink

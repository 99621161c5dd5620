#pragma once

#include "link/Origin.h"

#include <QObject>
#include <QString>
#include <functional>

namespace devicelink {

// What became of an operation a source asked for: every code of it left,
// one could not leave (a closed or lost port, a site that does not resolve),
// or it was refused before anything was sent (a lock, another source's
// camera, a busy sequence, a number out of range). Nothing refused or not
// sent is ever reported as done.
struct Outcome {
    enum class Kind : quint8 { Done, NotSent, Refused };
    // What refused it, for a window to say in its own language.
    enum class Why : quint8 {
        Other,         // reason says it
        OutOfRange,    // no such monitor, camera or preset
        Locked,        // subject: the monitor
        CameraHeld,    // subject: the camera (0: the one selected)
        Busy,          // another source's sequence did not end in time
        PresetRunning, // a preset sequence runs
    };

    Kind kind = Kind::Done;
    // Why it did not happen, in the event log's words: "the port is closed",
    // "monitor 2 is locked by videohub 10.0.0.7".
    QString reason;
    // Who holds what refused it (a lock, a camera), as its origin reads.
    QString holder;
    Why why = Why::Other;
    int subject = 0;

    bool ok() const { return kind == Kind::Done; }
    static Outcome done() { return {}; }
    static Outcome notSent(QString why) { return {Kind::NotSent, std::move(why), {}}; }
    static Outcome refused(QString why, QString by = {}) {
        return {Kind::Refused, std::move(why), std::move(by)};
    }
    static Outcome refused(Why why, int subject, QString reason, QString by = {}) {
        return {Kind::Refused, std::move(reason), std::move(by), why, subject};
    }
};

// Called once when the operation has ended, however it ended; it may be
// called before the operation returns.
using Done = std::function<void(const Outcome &)>;

// The hold-to-run camera moves, each with its start code and its axis' stop.
enum class Move : quint8 {
    Up,
    Left,
    Right,
    Down,
    ZoomIn,
    ZoomOut,
    FocusNear,
    FocusFar,
    IrisOpen,
    IrisClose
};

// The single-click auxiliary functions.
enum class Auxiliary : quint8 { Sequence, Wiper, AutoPan, Lamps, Aux, Tour };

enum class Axis : quint8 { Pan, Tilt };

// The switcher as every source sees it: the panel's keypads, the keyboard,
// the joystick window, Videohub clients, the browser panel, the message bus,
// tours and alarms all act through these operations and read the routing
// from here. Each operation carries its origin, whose priority the arbiter
// weighs against locks and against whoever drives a camera. The codes, their
// order and their timing are the keypad's, whoever asks.
class Switcher : public QObject {
    Q_OBJECT
public:
    static constexpr int monitors = 4;
    static constexpr int cameras = 16;
    static constexpr int presets = 16;
    static constexpr int fastestSpeed = 7;

    // What is known of a monitor.
    struct MonitorState {
        int camera = 0;     // 1 to 16; 0 while the switcher has not said
        bool stale = false; // said before a loss, a reopen or a change of channel
        QString lockHolder; // the origin holding its lock ("videohub 10.0.0.7"), empty: none
    };

    using QObject::QObject;

    // --- Routing -----------------------------------------------------------
    // The monitor key: selects the monitor the next camera goes to, then asks
    // for the status a second later.
    virtual void selectMonitor(int monitor, const Origin &origin, Done done = {}) = 0;
    // The camera key: puts the camera on the monitor selected last, then asks
    // for the status a second later. Refused while that monitor is locked by
    // a source of equal or higher priority.
    virtual void selectCamera(int camera, const Origin &origin, Done done = {}) = 0;
    // The monitor key then the camera key, back to back.
    virtual void route(int monitor, int camera, const Origin &origin, Done done = {}) = 0;

    // --- Camera moves (the camera selected last; camera > 0 selects it first)
    // Starts a hold-to-run move; a pan or tilt is followed 500 ms later by its
    // speed. The move runs until stopMove from the same origin, or until the
    // source is gone (sourceGone). Refused while another source of equal or
    // higher priority drives the camera; a higher one takes the camera over,
    // the other's stop going out first.
    virtual void startMove(Move move, const Origin &origin, int camera = 0, Done done = {}) = 0;
    // Ends the origin's move with its axis' stop code; nothing when the
    // origin holds no such move (it ended, or was taken over).
    virtual void stopMove(Move move, const Origin &origin) = 0;
    // The pan and tilt speeds, 0 to 7, sent 500 ms after a direction starts;
    // the panel's speed bars show them.
    virtual int speed(Axis axis) const = 0;
    virtual void setSpeed(Axis axis, int speed) = 0;

    // --- Presets and auxiliary functions -----------------------------------
    // The recall (5D, n, 5E, 100 ms apart) or the store (F7, 5D, n, F8, 5E,
    // 200 ms apart) of preset 1 to 16 on the camera selected last (camera > 0
    // selects it first). Refused while a preset sequence runs. done is called
    // after the last code.
    virtual void recallPreset(int preset, const Origin &origin, int camera = 0, Done done = {}) = 0;
    virtual void storePreset(int preset, const Origin &origin, int camera = 0, Done done = {}) = 0;
    // A/P, Aux, Lamps, Wiper, Tour or Seq; Aux, Lamps and Wiper are followed
    // 800 ms later by their release code (done is called then).
    virtual void auxiliary(Auxiliary function, const Origin &origin, Done done = {}) = 0;

    // --- Locks --------------------------------------------------------------
    // A locked monitor takes routes only from its holder and from sources of
    // higher priority. A lock held by another is taken over only with force
    // and a higher priority. Locks live as long as the program, or as the
    // source that holds them (sourceGone).
    virtual void lockMonitor(int monitor, const Origin &origin, bool force = false,
                             Done done = {}) = 0;
    virtual void unlockMonitor(int monitor, const Origin &origin, bool force = false,
                               Done done = {}) = 0;
    // The source of this origin is gone (a client disconnected, a browser
    // closed): its moves stop with their stop codes, its locks and its
    // camera control end, and what it left waiting is dropped.
    virtual void sourceGone(const Origin &origin) = 0;

    // --- What is known --------------------------------------------------------
    virtual MonitorState monitor(int monitor) const = 0;
    // Who drives the camera, or held it last within the idle time; empty: nobody.
    virtual QString cameraHolder(int camera) const = 0;
    // The camera and monitor selected last (0: none since start).
    virtual int selectedCamera() const = 0;
    virtual int selectedMonitor() const = 0;

signals:
    // A monitor's camera, staleness or lock changed.
    void monitorChanged(int monitor);
    // Who drives a camera changed.
    void cameraHolderChanged(int camera);
    // A pan or tilt speed changed.
    void speedChanged(devicelink::Axis axis, int speed);
    // A camera was put on a monitor (its codes left), by whom; the
    // switcher's reply confirms it later through monitorChanged.
    void routed(int monitor, int camera, const devicelink::Origin &origin);
    // An operation was refused or could not leave, with who asked and why.
    void refused(const devicelink::Origin &origin, const devicelink::Outcome &outcome);
    // The arbiter decided: a lock taken, given up, forced or overridden, a
    // camera taken over ("monitor 2 locked", "camera 3 taken over from web
    // ana"), for the event log.
    void decided(const devicelink::Origin &origin, const QString &what);
};

} // namespace devicelink

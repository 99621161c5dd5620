#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>
#include <array>

namespace sim {

// What one command byte did, as log lines in order (input that was not
// understood starts with "ignored: "), and whether the sender asked for a
// status reply.
struct Reaction {
    QStringList lines;
    bool wantsStatus = false;

    void ignored(const QString &why) { lines << QStringLiteral("ignored: ") + why; }
};

// The 16-input, 4-output switcher as its keyboard port sees it: a selected
// monitor, the camera routed to each monitor, and the movement, speed and
// preset commands aimed at the camera on the selected monitor. Pure logic,
// no I/O; the caller passes the time so that unfinished preset sequences can
// expire.
class Switcher {
public:
    static constexpr int cameras = 16;
    static constexpr int monitors = 4;
    // The first byte of every status reply.
    static constexpr char replyLead = 0x2E;
    // A preset sequence whose next byte is this late is abandoned: the panel
    // sends its steps 100 to 200 ms apart.
    static constexpr qint64 sequenceTimeoutMs = 1000;

    Switcher();

    Reaction command(quint8 code, qint64 nowMs);

    int selectedMonitor() const { return m_monitor; }
    int cameraOn(int monitor) const { return m_routing.at(monitor - 1); }
    int activeCamera() const { return cameraOn(m_monitor); }

    // Four bytes: lead, monitor bits (bit 6 = low bit, bit 5 = high bit of
    // monitor - 1), cameras 1-8 one-hot with 0x80 = camera 1, cameras 9-16
    // one-hot when the byte before is 0.
    QByteArray statusReply() const;
    QString statusLine() const;

    static QString hex(quint8 code);

private:
    enum class Step {
        Idle,
        RecallOpened, // 5D
        RecallNumber, // 5D n
        StoreStarted, // F7
        StoreOpened,  // F7 5D
        StoreNumber,  // F7 5D n
        StoreClosing, // F7 5D n F8
    };
    enum class Motion { Stopped, Minus, Plus };
    enum Axis { Pan, Tilt, Zoom, Focus, Iris, AxisCount };

    struct Camera {
        std::array<Motion, AxisCount> motion{};
        int panSpeed = 5;
        int tiltSpeed = 5;
    };

    bool continueSequence(quint8 code, Reaction &r);
    void resetSequence() {
        m_step = Step::Idle;
        m_sequence.clear();
    }
    void idleCommand(quint8 code, Reaction &r);
    void move(Axis axis, Motion motion, Reaction &r);
    QString cameraPrefix() const;

    int m_monitor = 1;
    std::array<int, monitors> m_routing{};
    std::array<Camera, cameras> m_cameras{};
    Step m_step = Step::Idle;
    QByteArray m_sequence; // the bytes of the unfinished preset sequence
    int m_preset = 0;
    qint64 m_lastSequenceByte = 0;
};

} // namespace sim

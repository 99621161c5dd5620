#include "Switcher.h"

namespace sim {

namespace {
constexpr quint8 statusRequest = 0x2E;
constexpr quint8 presetOpen = 0x5D;
constexpr quint8 presetClose = 0x5E;
constexpr quint8 storeStart = 0xF7;
constexpr quint8 storeEnd = 0xF8;
constexpr quint8 autoPan = 0xBC;
constexpr quint8 auxRelease = 0xB7;

// Cameras and presets share the number codes 0x31 (1) to 0x40 (16).
int numberOf(quint8 code) {
    return code >= 0x31 && code <= 0x40 ? code - 0x30 : 0;
}

bool isSpeed(quint8 code) {
    return code >= 0x90 && code <= 0x9F;
}

struct AxisWords {
    const char *name;
    const char *minus; // the direction of the axis's first code
    const char *plus;  // the direction of its third code
};
constexpr AxisWords axisWords[] = {
    {"pan", "left", "right"}, {"tilt", "up", "down"}, {"zoom", "+", "-"},
    {"focus", "+", "-"},      {"iris", "+", "-"},
};
// First code of each axis: start one way, stop, start the other way.
constexpr quint8 axisBase[] = {0x60, 0x64, 0x6C, 0x70, 0x74};
} // namespace

Switcher::Switcher() {
    // At power-on monitor n shows camera n.
    for (int m = 0; m < monitors; ++m)
        m_routing[m] = m + 1;
}

QString Switcher::hex(quint8 code) {
    return QLatin1String("0x") +
           QString::number(code, 16).toUpper().rightJustified(2, QLatin1Char('0'));
}

QString Switcher::cameraPrefix() const {
    return QStringLiteral("camera %1: ").arg(activeCamera());
}

QByteArray Switcher::statusReply() const {
    const int m = m_monitor - 1;
    const int c = activeCamera();
    QByteArray reply(4, '\0');
    reply[0] = replyLead;
    reply[1] = static_cast<char>(((m & 1) ? 0x40 : 0) | ((m & 2) ? 0x20 : 0));
    if (c <= 8)
        reply[2] = static_cast<char>(0x80 >> (c - 1));
    else
        reply[3] = static_cast<char>(0x80 >> (c - 9));
    return reply;
}

QString Switcher::statusLine() const {
    return QStringLiteral("status: monitor %1, camera %2").arg(m_monitor).arg(activeCamera());
}

Reaction Switcher::command(quint8 code, qint64 nowMs) {
    Reaction r;
    // The status request may fall between the steps of a preset sequence
    // (the panel polls on its own timer); it never disturbs one.
    if (code == statusRequest) {
        r.wantsStatus = true;
        return r;
    }
    if (m_step != Step::Idle) {
        const QString pending = QString::fromLatin1(m_sequence.toHex(' ').toUpper());
        if (nowMs - m_lastSequenceByte > sequenceTimeoutMs) {
            r.ignored(QStringLiteral("unfinished preset sequence %1 abandoned").arg(pending));
            resetSequence();
        } else if (isSpeed(code) || code == auxRelease) {
            // Timed follow-ups of earlier presses, not part of the sequence.
            idleCommand(code, r);
            return r;
        } else if (continueSequence(code, r)) {
            m_lastSequenceByte = nowMs;
            return r;
        } else {
            r.ignored(QStringLiteral("preset sequence %1 broken by %2").arg(pending, hex(code)));
            resetSequence();
        }
    }
    idleCommand(code, r);
    if (m_step != Step::Idle)
        m_lastSequenceByte = nowMs;
    return r;
}

bool Switcher::continueSequence(quint8 code, Reaction &r) {
    const int n = numberOf(code);
    Step next = Step::Idle;
    switch (m_step) {
    case Step::RecallOpened:
        if (code == autoPan) {
            r.lines << cameraPrefix() + QStringLiteral("tour");
            resetSequence();
            return true;
        }
        if (!n)
            return false;
        m_preset = n;
        next = Step::RecallNumber;
        break;
    case Step::RecallNumber:
        if (code != presetClose)
            return false;
        r.lines << cameraPrefix() + QStringLiteral("preset %1 recalled").arg(m_preset);
        resetSequence();
        return true;
    case Step::StoreStarted:
        if (code != presetOpen)
            return false;
        next = Step::StoreOpened;
        break;
    case Step::StoreOpened:
        if (!n)
            return false;
        m_preset = n;
        next = Step::StoreNumber;
        break;
    case Step::StoreNumber:
        if (code != storeEnd)
            return false;
        next = Step::StoreClosing;
        break;
    case Step::StoreClosing:
        if (code != presetClose)
            return false;
        r.lines << cameraPrefix() + QStringLiteral("preset %1 stored").arg(m_preset);
        resetSequence();
        return true;
    case Step::Idle:
        return false;
    }
    m_step = next;
    m_sequence.append(static_cast<char>(code));
    return true;
}

void Switcher::move(Axis axis, Motion motion, Reaction &r) {
    Camera &camera = m_cameras[activeCamera() - 1];
    // The joystick repeats its direction code every poll; a repeat that
    // changes nothing is not reported again.
    if (camera.motion[axis] == motion)
        return;
    camera.motion[axis] = motion;
    const AxisWords &w = axisWords[axis];
    QString line = cameraPrefix() + QLatin1String(w.name) + QLatin1Char(' ');
    if (motion == Motion::Stopped) {
        line += QLatin1String("stop");
    } else {
        line += QLatin1String(motion == Motion::Minus ? w.minus : w.plus);
        if (axis == Pan)
            line += QStringLiteral(", speed %1").arg(camera.panSpeed);
        else if (axis == Tilt)
            line += QStringLiteral(", speed %1").arg(camera.tiltSpeed);
    }
    r.lines << line;
}

void Switcher::idleCommand(quint8 code, Reaction &r) {
    if (const int c = numberOf(code)) {
        m_routing[m_monitor - 1] = c;
        r.lines << QStringLiteral("monitor %1 <- camera %2").arg(m_monitor).arg(c);
        return;
    }
    if (code >= 0x51 && code <= 0x54) {
        m_monitor = code - 0x50;
        r.lines
            << QStringLiteral("monitor %1 selected (camera %2)").arg(m_monitor).arg(activeCamera());
        return;
    }
    for (int axis = 0; axis < AxisCount; ++axis) {
        const int offset = code - axisBase[axis];
        if (offset >= 0 && offset <= 2) {
            const Motion motion =
                offset == 0 ? Motion::Minus : (offset == 1 ? Motion::Stopped : Motion::Plus);
            move(static_cast<Axis>(axis), motion, r);
            return;
        }
    }
    if (isSpeed(code)) {
        Camera &camera = m_cameras[activeCamera() - 1];
        const bool pan = code < 0x98;
        int &speed = pan ? camera.panSpeed : camera.tiltSpeed;
        const int value = code & 0x07;
        if (speed != value) {
            speed = value;
            r.lines << cameraPrefix() +
                           QStringLiteral("%1 speed %2").arg(pan ? "pan" : "tilt").arg(value);
        }
        return;
    }
    switch (code) {
    case presetOpen:
        m_step = Step::RecallOpened;
        m_sequence = QByteArray(1, static_cast<char>(code));
        return;
    case storeStart:
        m_step = Step::StoreStarted;
        m_sequence = QByteArray(1, static_cast<char>(code));
        return;
    case autoPan:
        r.lines << cameraPrefix() + QStringLiteral("A/P");
        return;
    case 0xBA:
        r.lines << cameraPrefix() + QStringLiteral("aux");
        return;
    case 0xB6:
        r.lines << cameraPrefix() + QStringLiteral("lamps");
        return;
    case 0xB4:
        r.lines << cameraPrefix() + QStringLiteral("wiper");
        return;
    case auxRelease:
        r.lines << cameraPrefix() + QStringLiteral("auxiliary function released");
        return;
    case 0x8C:
        r.lines << QStringLiteral("monitor %1: sequence").arg(m_monitor);
        return;
    case presetClose:
    case storeEnd:
        r.ignored(QStringLiteral("%1 outside a preset sequence").arg(hex(code)));
        return;
    default:
        r.ignored(QStringLiteral("unknown command %1").arg(hex(code)));
    }
}

} // namespace sim

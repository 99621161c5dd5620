#include "panel/KeyboardRouting.h"

#include "automation/Automation.h"
#include "link/Operations.h"
#include "ui/HoldButton.h"

#include <QAbstractSlider>
#include <QApplication>
#include <QKeyEvent>
#include <QPushButton>
#include <QShortcut>
#include <optional>

namespace panel {

namespace {

using Target = NumberEntry::Target;
using Kind = NumberEntry::Result::Kind;

std::optional<PtzPad::Button> holdButtonOf(int key) {
    switch (key) {
    case Qt::Key_Up:
        return PtzPad::Up;
    case Qt::Key_Down:
        return PtzPad::Down;
    case Qt::Key_Left:
        return PtzPad::Left;
    case Qt::Key_Right:
        return PtzPad::Right;
    case Qt::Key_Plus:
        return PtzPad::ZoomIn;
    case Qt::Key_Minus:
        return PtzPad::ZoomOut;
    default:
        return std::nullopt;
    }
}

// Pan, tilt or zoom: one hold at a time on each, as one button under the
// pointer would be.
int axisOf(PtzPad::Button button) {
    switch (button) {
    case PtzPad::Left:
    case PtzPad::Right:
        return 0;
    case PtzPad::Up:
    case PtzPad::Down:
        return 1;
    default:
        return 2;
    }
}

std::optional<Target> targetOf(int key) {
    switch (key) {
    case Qt::Key_M:
    case Qt::Key_Slash:
        return Target::Monitor;
    case Qt::Key_C:
    case Qt::Key_Asterisk:
        return Target::Camera;
    case Qt::Key_P:
        return Target::Preset;
    case Qt::Key_L:
        return Target::Lock;
    case Qt::Key_T:
        return Target::Tour;
    case Qt::Key_H:
        return Target::TourHold;
    case Qt::Key_X:
        return Target::TourStop;
    case Qt::Key_N:
        return Target::TourNext;
    case Qt::Key_B:
        return Target::TourBack;
    case Qt::Key_A:
        return Target::Acknowledge;
    default:
        return std::nullopt;
    }
}

const devicelink::Origin keyboard{devicelink::Origin::Kind::Keyboard};

bool isArrow(int key) {
    return key == Qt::Key_Up || key == Qt::Key_Down || key == Qt::Key_Left || key == Qt::Key_Right;
}

} // namespace

KeyboardRouting::KeyboardRouting(const Parts &parts, QObject *parent)
    : QObject(parent)
    , m_parts(parts) {
    m_clock.start();
    m_quiet.setSingleShot(true);
    m_quiet.setTimerType(Qt::PreciseTimer);
    m_quiet.setInterval(int(NumberEntry::timeoutMs));
    connect(&m_quiet, &QTimer::timeout, this, [this] {
        m_entry.clear();
        say({});
    });
    m_releaseTimer.setSingleShot(true);
    m_releaseTimer.setTimerType(Qt::PreciseTimer);
    connect(&m_releaseTimer, &QTimer::timeout, this, &KeyboardRouting::settleRelease);

    m_parts.panel.installEventFilter(this);
    const auto children = m_parts.panel.findChildren<QWidget *>();
    for (QWidget *child : children) {
        if (isPanelControl(child))
            child->installEventFilter(this);
    }
    connect(qApp, &QApplication::focusChanged, this,
            [this](QWidget *, QWidget *now) { focusChanged(now); });

    // Keys that type no character, so that they work in the terminal box too.
    QWidget *window = m_parts.panel.window();
    auto *f6 = new QShortcut(QKeySequence(Qt::Key_F6), window);
    f6->setObjectName(QStringLiteral("keyF6"));
    connect(f6, &QShortcut::activated, this, &KeyboardRouting::toggleFocus);
    auto *f1 = new QShortcut(QKeySequence(Qt::Key_F1), window);
    f1->setObjectName(QStringLiteral("keyF1"));
    connect(f1, &QShortcut::activated, this, &KeyboardRouting::keysRequested);

    m_parts.firstControl.setFocus(Qt::OtherFocusReason);
}

KeyboardRouting::~KeyboardRouting() {
    // Gone before the pads: a key still held lets go with its stop code.
    releaseAll();
    qApp->removeEventFilter(this);
}

bool KeyboardRouting::isPanelControl(const QWidget *widget) const {
    if (!widget || (widget != &m_parts.panel && !m_parts.panel.isAncestorOf(widget)))
        return false;
    for (const QWidget *box : m_parts.textBoxes) {
        if (box == widget || box->isAncestorOf(widget))
            return false;
    }
    return true;
}

void KeyboardRouting::focusPanel() {
    QWidget *to = m_lastPanelFocus ? m_lastPanelFocus.data() : &m_parts.firstControl;
    to->setFocus(Qt::ShortcutFocusReason);
}

void KeyboardRouting::toggleFocus() {
    QWidget *now = QApplication::focusWidget();
    if (now && (now == &m_parts.terminalBox || m_parts.terminalBox.isAncestorOf(now)))
        focusPanel();
    else
        m_parts.terminalBox.setFocus(Qt::ShortcutFocusReason);
}

void KeyboardRouting::focusChanged(QWidget *now) {
    if (isPanelControl(now)) {
        if (now != &m_parts.panel)
            m_lastPanelFocus = now;
        return;
    }
    // The keys no longer reach the panel: no hold may outlive that, and
    // half a number is forgotten.
    releaseAll();
    if (!m_entry.typed().isEmpty() || !m_entryText.isEmpty()) {
        m_entry.clear();
        say({});
    }
}

bool KeyboardRouting::eventFilter(QObject *watched, QEvent *event) {
    // The panel's controls are watched for their keys, and while a hold
    // lasts the whole application for its release. A press may so be seen
    // twice; a key that did something is taken the first time.
    switch (event->type()) {
    case QEvent::KeyPress:
        if (auto *widget = qobject_cast<QWidget *>(watched); isPanelControl(widget))
            return keyPress(widget, static_cast<QKeyEvent *>(event));
        return false;
    case QEvent::KeyRelease:
        return keyRelease(static_cast<QKeyEvent *>(event));
    case QEvent::WindowBlocked:
    case QEvent::WindowDeactivate:
    case QEvent::Hide:
        if (watched == m_parts.panel.window())
            releaseAll();
        return false;
    default:
        return false;
    }
}

bool KeyboardRouting::keyPress(QWidget *target, QKeyEvent *event) {
    // Keys with Ctrl or Alt belong to shortcuts and menus.
    const Qt::KeyboardModifiers mods =
        event->modifiers() & ~(Qt::KeypadModifier | Qt::ShiftModifier);
    if (mods != Qt::NoModifier)
        return false;
    const int key = event->key();
    const qint64 now = m_clock.elapsed();
    // A speed bar keeps its arrows, to set the speed.
    if (isArrow(key) && qobject_cast<QAbstractSlider *>(target))
        return false;
    if (const std::optional<PtzPad::Button> button = holdButtonOf(key)) {
        if (!event->isAutoRepeat() && !continuesHold(key, event))
            hold(key, *button);
        return true;
    }
    if (key >= Qt::Key_0 && key <= Qt::Key_9) {
        if (!event->isAutoRepeat())
            act(m_entry.digit(key - Qt::Key_0, now));
        return true;
    }
    std::optional<Target> target_ = targetOf(key);
    // Keypad Enter ends a number as C does; without one it is Enter.
    if (key == Qt::Key_Enter && !m_entry.typed().isEmpty())
        target_ = Target::Camera;
    if (target_) {
        if (!event->isAutoRepeat())
            act(m_entry.choose(*target_, now));
        return true;
    }
    switch (key) {
    case Qt::Key_Escape:
        if (m_entryText.isEmpty())
            return false;
        m_entry.clear();
        say({});
        return true;
    case Qt::Key_Backspace:
        if (m_entry.typed().isEmpty())
            return false;
        act(m_entry.erase(now));
        return true;
    case Qt::Key_Return:
    case Qt::Key_Enter: {
        // Enter presses the focused button, as Space does; a hold-to-run
        // button has no click.
        auto *button = qobject_cast<QPushButton *>(target);
        if (!button || qobject_cast<ui::HoldButton *>(button) || event->isAutoRepeat())
            return false;
        button->click();
        return true;
    }
    default:
        return false;
    }
}

bool KeyboardRouting::keyRelease(QKeyEvent *event) {
    for (const Held &held : std::as_const(m_held)) {
        if (held.key != event->key())
            continue;
        // An auto-repeating key sends release and press pairs; only the
        // last release is the key let go. Unmarked, a release is taken once
        // no press of the key has followed it within the gap.
        if (!event->isAutoRepeat()) {
            if (m_release.key != 0 && m_release.key != held.key)
                letGo(m_release.key);
            m_release = {held.key, event->timestamp(), m_clock.elapsed(), false};
            m_releaseTimer.start(repeatGapMs);
        }
        return true;
    }
    // The auto-repeat of a key whose hold was refused (its axis busy).
    return event->isAutoRepeat() && holdButtonOf(event->key()) &&
           isPanelControl(QApplication::focusWidget());
}

// A press of the key whose release waits: the same hold when it came within
// the gap, by the events' times where they have them; after a longer gap the
// key was let go and pressed again, and the hold ends before the new one. A
// press of another key takes the release as it came (Left let go for Right).
bool KeyboardRouting::continuesHold(int key, const QKeyEvent *press) {
    if (m_release.key == 0)
        return false;
    if (m_release.key != key) {
        letGo(m_release.key);
        return false;
    }
    const bool timed = m_release.at != 0 && press->timestamp() != 0;
    const bool within = !timed || press->timestamp() - m_release.at <= quint64(repeatGapMs);
    if (within) {
        m_release = {};
        m_releaseTimer.stop();
        return true;
    }
    letGo(key);
    return false;
}

void KeyboardRouting::settleRelease() {
    if (m_release.key == 0)
        return;
    // A loop busy past the gap may still hold the press that continues the
    // hold: it is given one more pass before the release is taken.
    if (!m_release.waited && m_clock.elapsed() - m_release.seenMs > 2 * repeatGapMs) {
        m_release.waited = true;
        m_releaseTimer.start(0);
        return;
    }
    letGo(m_release.key);
}

void KeyboardRouting::act(const NumberEntry::Result &result) {
    const int n = result.number;
    switch (result.kind) {
    case Kind::Nothing:
        return;
    case Kind::Typing:
        say(tr("Number %1: then M, C or P").arg(m_entry.typed()));
        return;
    case Kind::Cleared:
        say({});
        return;
    case Kind::NoNumber:
        // A alone: the alarm shown first is seen.
        if (result.target == Target::Acknowledge) {
            automationKey(Target::Acknowledge, 0);
            return;
        }
        say(tr("Type a number first, then M, C or P"));
        return;
    case Kind::OutOfRange:
        switch (result.target) {
        case Target::Monitor:
            say(tr("No monitor %1: monitors are 1 to 4").arg(n));
            return;
        case Target::Camera:
            say(tr("No camera %1: cameras are 1 to 16").arg(n));
            return;
        case Target::Preset:
            say(tr("No preset %1: presets are 1 to 16").arg(n));
            return;
        case Target::Lock:
            say(tr("No monitor %1 to lock: monitors are 1 to 4").arg(n));
            return;
        case Target::Acknowledge:
            say(tr("No alarm input %1: alarm inputs are 1 to 64").arg(n));
            return;
        default:
            say(tr("No tour %1").arg(n));
            return;
        }
        return;
    case Kind::Chosen:
        break;
    }
    switch (result.target) {
    case Target::Monitor:
        say(tr("Monitor %1").arg(n));
        m_parts.operations.selectMonitor(n, keyboard);
        return;
    case Target::Camera:
        say(tr("Camera %1").arg(n));
        m_parts.operations.selectCamera(n, keyboard);
        return;
    case Target::Preset:
        // Refused at once while a sequence runs, as the disabled keys are.
        if (m_parts.operations.presetRunning()) {
            say(tr("Preset %1 not recalled: a preset sequence is running").arg(n));
            return;
        }
        say(tr("Preset %1 recalled").arg(n));
        m_parts.operations.recallPreset(n, keyboard);
        return;
    case Target::Lock:
        toggleLock(n);
        return;
    default:
        automationKey(result.target, n);
        return;
    }
}

void KeyboardRouting::toggleLock(int monitor) {
    // The panel's own lock goes; anyone else's is taken over when the panel
    // weighs more (a refusal is said on the bar with the holder's name).
    devicelink::Operations &ops = m_parts.operations;
    const QString holder = ops.monitor(monitor).lockHolder;
    if (!holder.isEmpty() && holder == keyboard.source()) {
        say(tr("Monitor %1 unlocked").arg(monitor));
        ops.unlockMonitor(monitor, keyboard);
        return;
    }
    ops.lockMonitor(monitor, keyboard, !holder.isEmpty(),
                    [this, monitor](const devicelink::Outcome &outcome) {
                        if (outcome.ok())
                            say(tr("Monitor %1 locked").arg(monitor));
                    });
}

void KeyboardRouting::automationKey(NumberEntry::Target target, int n) {
    automation::Automation *automation = m_parts.automation;
    const bool alarm = target == Target::Acknowledge;
    bool known = false;
    if (automation && alarm) {
        for (const automation::Automation::AlarmState &a : automation->alarms()) {
            // Without a number: the first alarm shown and not yet seen.
            if (n == 0 && a.shown && !a.acknowledged)
                n = a.input;
            known = known || (a.input == n && a.bound);
        }
    } else if (automation) {
        for (const automation::Automation::TourState &t : automation->tours())
            known = known || t.tour == n;
    }
    if (!known) {
        say(alarm ? (n == 0 ? tr("No alarm to acknowledge")
                            : tr("Alarm input %1 is not bound in automation.ini").arg(n))
                  : tr("No tour %1 in automation.ini").arg(n));
        return;
    }
    const auto refused = [this](const devicelink::Outcome &outcome) {
        if (!outcome.ok())
            say(tr("Not done: %1").arg(outcome.reason));
    };
    switch (target) {
    case Target::Tour:
        say(tr("Tour %1 started").arg(n));
        automation->startTour(n, keyboard, refused);
        return;
    case Target::TourHold:
        say(tr("Tour %1 held").arg(n));
        automation->holdTour(n, keyboard, refused);
        return;
    case Target::TourStop:
        say(tr("Tour %1 stopped").arg(n));
        automation->stopTour(n, keyboard, refused);
        return;
    case Target::TourNext:
    case Target::TourBack:
        say(target == Target::TourNext ? tr("Tour %1: one step on").arg(n)
                                       : tr("Tour %1: one step back").arg(n));
        automation->stepTour(n, target == Target::TourNext ? 1 : -1, keyboard, refused);
        return;
    case Target::Acknowledge:
        say(tr("Alarm %1 acknowledged").arg(n));
        automation->acknowledgeAlarm(n, keyboard, refused);
        return;
    default:
        return;
    }
}

void KeyboardRouting::say(const QString &text) {
    // Whatever is said stays for 3 s after the last key.
    if (text.isEmpty())
        m_quiet.stop();
    else
        m_quiet.start();
    if (text == m_entryText)
        return;
    m_entryText = text;
    emit entryChanged(m_entryText);
}

void KeyboardRouting::hold(int key, PtzPad::Button button) {
    for (const Held &held : std::as_const(m_held)) {
        if (held.key == key || axisOf(held.button) == axisOf(button))
            return;
    }
    // Until the last hold ends, the key's release is caught wherever it is
    // delivered (a menu popped up, the focus moved).
    if (m_held.isEmpty())
        qApp->installEventFilter(this);
    m_held.append({key, button});
    m_parts.ptz.button(button)->setDown(true);
    m_parts.operations.startMove(PtzPad::move(button), keyboard);
}

void KeyboardRouting::letGo(int key) {
    if (m_release.key == key) {
        m_release = {};
        m_releaseTimer.stop();
    }
    for (qsizetype i = 0; i < m_held.size(); ++i) {
        if (m_held[i].key != key)
            continue;
        const PtzPad::Button button = m_held.takeAt(i).button;
        if (m_held.isEmpty())
            qApp->removeEventFilter(this);
        m_parts.ptz.button(button)->setDown(false);
        m_parts.operations.stopMove(PtzPad::move(button), keyboard);
        return;
    }
}

void KeyboardRouting::releaseAll() {
    while (!m_held.isEmpty())
        letGo(m_held.constFirst().key);
}

} // namespace panel

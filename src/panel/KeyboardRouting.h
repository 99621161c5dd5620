#pragma once

#include "panel/NumberEntry.h"
#include "panel/PtzPad.h"

#include <QElapsedTimer>
#include <QList>
#include <QObject>
#include <QPointer>
#include <QTimer>

class QKeyEvent;
class QWidget;

namespace devicelink {
class Operations;
struct Outcome;
} // namespace devicelink
namespace automation {
class Automation;
}

namespace panel {

// Routing from the keyboard while the focus is on the panel, as on a CCTV
// keyboard: a number then M, C or P asks the switcher's operations for what
// clicking that monitor, camera or preset button asks, a number then L locks
// or unlocks that monitor for the panel, a number then T, H, X, N or B starts,
// holds, stops or steps a tour, a number then A acknowledges an alarm (A
// alone, the one shown first); the arrows and keypad
// +/- hold-to-run as the pan, tilt and zoom buttons do (their buttons shown
// pressed meanwhile). Everything carries the keyboard's origin. F6 moves
// between the panel and the terminal box (whose keys stay the port's), F1
// asks for the list of keys.
//
// A hold ends with its stop code when its key is let go (its auto-repeat is
// not a release: a release followed within 30 ms by a press of the same key,
// which an X server's auto-repeat may send unmarked, continues the hold), or
// when the panel loses the keyboard: another window, a modal box, the
// terminal box. A camera never moves without a held key.
class KeyboardRouting : public QObject {
    Q_OBJECT
public:
    struct Parts {
        QWidget &panel;             // the parent of the panel's controls
        QWidget &terminalBox;       // F6's other end
        QList<QWidget *> textBoxes; // they keep their keys: terminal box, code box, IPAD
        QWidget &firstControl;      // where the focus starts
        devicelink::Operations &operations;
        PtzPad &ptz;                        // its buttons show the holds
        automation::Automation *automation; // tours and alarms; null: none
    };

    explicit KeyboardRouting(const Parts &parts, QObject *parent = nullptr);
    ~KeyboardRouting() override;

    // What the status bar shows of the typing: the number so far, what was
    // chosen, or why nothing was sent. Empty when there is nothing to say.
    const QString &entryText() const { return m_entryText; }

    // The focus to the panel's control last used (at first firstControl).
    void focusPanel();
    // Ends every hold with its stop code.
    void releaseAll();

signals:
    void entryChanged(const QString &text);
    void keysRequested();

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    struct Held {
        int key;
        PtzPad::Button button;
    };

    bool isPanelControl(const QWidget *widget) const;
    bool keyPress(QWidget *target, QKeyEvent *event);
    bool keyRelease(QKeyEvent *event);
    bool continuesHold(int key, const QKeyEvent *press);
    void settleRelease();
    void act(const NumberEntry::Result &result);
    void say(const QString &text);
    void toggleLock(int monitor);
    // A tour or alarm key: what it asks of the automation, and what it says.
    void automationKey(NumberEntry::Target target, int number);
    void hold(int key, PtzPad::Button button);
    void letGo(int key);
    void focusChanged(QWidget *now);
    void toggleFocus();

    Parts m_parts;
    NumberEntry m_entry;
    QElapsedTimer m_clock;
    QTimer m_quiet; // 3 s without a key: the bar clears
    QString m_entryText;
    QList<Held> m_held;
    // A release not yet taken for the key let go: a press of the same key
    // within repeatGapMs (by the events' own times) continues the hold.
    static constexpr int repeatGapMs = 30;
    struct Release {
        int key = 0;
        quint64 at = 0;    // the event's time, 0 when it has none
        qint64 seenMs = 0; // m_clock when it came
        bool waited = false;
    } m_release;
    QTimer m_releaseTimer;
    QPointer<QWidget> m_lastPanelFocus;
};

} // namespace panel

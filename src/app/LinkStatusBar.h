#pragma once

#include <QHash>
#include <QStatusBar>
#include <QTimer>

class QLabel;
class QPushButton;

namespace devicelink {
class LinkMonitor;
class Session;
struct Frame;
struct Origin;
struct Outcome;
} // namespace devicelink
namespace ui {
class ElidedLabel;
}

namespace app {

// The bar below the panel: the state of the channel in use first, never cut
// ("Open", "Lost since 12:03:41"), then the channel (its name kept whole, a
// long device path cut), the switcher's last answer below (its time kept
// whole), and "Ask status" (F5),
// which sends the status request now. It shows what the link monitor says, a
// few times a second at most, coloured green (answering), amber (no answer)
// or red (closed, lost, not resolving); the tooltips hold the whole texts. It
// never shows a box.
class LinkStatusBar : public QStatusBar {
    Q_OBJECT
public:
    static constexpr int refreshMs = 250;

    LinkStatusBar(devicelink::LinkMonitor &monitor, devicelink::Session &session,
                  QWidget *parent = nullptr);

    // Shows what the monitor says now.
    void refresh();
    QPushButton *askStatus() const { return m_askStatus; }
    QPushButton *openTraffic() const { return m_openTraffic; }
    QPushButton *openControlRoom() const { return m_openControlRoom; }
    // The two lines as shown in full: "Open | Serial Com1 (...) ... | routing from ...".
    QString shownText() const;

    // A note of another part beside the buttons (the Videohub server, the
    // event log), named for tests and tools; hidden while its text is empty.
    void setSideNote(const QString &name, const QString &text, const QString &tip = {},
                     bool fault = false);

    // The number being typed on the panel, what it chose, or why it sent
    // nothing; hidden when empty.
    void showKeyboardEntry(const QString &text);

    // How long a passing note stays: a command not sent, a refusal, a route
    // made by another source.
    static constexpr int noteMs = 6000;

protected:
    // A note given while the window was hidden covers the two lines once the
    // window shows, as one given later does.
    void showEvent(QShowEvent *event) override;
    // Another language: the bar's own texts, and what the monitor says, in it.
    void changeEvent(QEvent *event) override;

private:
    void retranslate();
    // Says a note once: the same note while it shows is not said again.
    void note(const QString &text);
    void noteNotSent(const devicelink::Frame &frame);
    void noteRefused(const devicelink::Origin &origin, const devicelink::Outcome &outcome);
    void noteRouted(int monitor, int camera, const devicelink::Origin &origin);

    devicelink::LinkMonitor &m_monitor;
    devicelink::Session &m_session;
    QLabel *m_state;
    QHash<QString, QLabel *> m_sideNotes;
    QWidget *m_notes; // the notes, one above the other
    ui::ElidedLabel *m_channel;
    ui::ElidedLabel *m_answer;
    QPushButton *m_askStatus;
    QPushButton *m_openTraffic;
    QPushButton *m_openControlRoom;
    QString m_stateTip; // what each part means, before what it says now
    QString m_answerTip;
    QTimer m_pending;
    int m_shownLevel = -1;
    QString m_keyboardText; // shown for the keyboard, until it is cleared
};

} // namespace app

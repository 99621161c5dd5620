#pragma once

#include "link/TerminalBuffer.h"

#include <QPlainTextEdit>
#include <functional>

namespace ui {
class FramePacer;
}

namespace app {

// The terminal box txtTerm: shows the text of its TerminalBuffer and turns
// each typed key into a character code for the key handler. When the handler
// leaves the code non-zero (local echo) the character is shown.
//
// The buffer follows every receive event at once; the screen follows it at
// the frames of a pacer (its own, or the window's). Text that arrives after a
// quiet spell shows at once; during a burst the box catches up at the next
// frame, so that a device that floods the line costs one screen update per
// frame, not one per read.
class TerminalBox : public QPlainTextEdit {
    Q_OBJECT
public:
    explicit TerminalBox(QWidget *parent = nullptr);

    // Follows the frames of the window's pacer instead of its own.
    void setPacer(ui::FramePacer &pacer);

    // Called with the code of each typed character; may set it to 0.
    void setKeyHandler(std::function<void(int &)> handler) { m_keyHandler = std::move(handler); }

    // The text as stored: one character per byte, CR LF as two.
    const QString &terminalText() const { return m_buffer.text(); }

    // Appends received text with the terminal's filtering; returns the
    // filtered text as shown.
    QString appendReceived(const QString &received);
    // The same, for text the session has filtered already.
    QString appendFiltered(const QString &filtered, bool eraseLast);
    void clearAll();
    void moveCaretToEnd();

    // Puts text still waiting for its frame on the screen now.
    void showPending();
    bool hasPending() const { return m_pending; }
    // The text on the screen, brought up to date first.
    QString toPlainText();

    // The character code of a key press: Enter 13, Backspace 8, control keys
    // their control codes, 0 for keys that type nothing.
    static int keyCode(const QKeyEvent &event);

protected:
    bool event(QEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;

private:
    void follow(const devicelink::TerminalBuffer::Change &change);
    void showAll();
    void showAppended(const QString &text);
    void markShown();

    devicelink::TerminalBuffer m_buffer;
    std::function<void(int &)> m_keyHandler;

    // What the screen shows is the buffer's text as it was at the last
    // update (m_shown). Since then the buffer kept m_shown[m_keptFrom,
    // m_keptTo) at its front; the rest of the buffer is new.
    QString m_shown;
    qsizetype m_keptFrom = 0;
    qsizetype m_keptTo = 0;
    bool m_rebuild = false;
    bool m_pending = false;
    ui::FramePacer *m_pacer;
    QMetaObject::Connection m_frame;
};

} // namespace app

#pragma once

#include "link/TerminalBuffer.h"

#include <QPlainTextEdit>
#include <functional>

namespace devicelink {

// The terminal box txtTerm: shows the text of its TerminalBuffer and turns
// each typed key into a character code for the key handler. When the handler
// leaves the code non-zero (local echo) the character is shown.
class TerminalBox : public QPlainTextEdit {
    Q_OBJECT
public:
    explicit TerminalBox(QWidget *parent = nullptr);

    // Called with the code of each typed character; may set it to 0.
    void setKeyHandler(std::function<void(int &)> handler) { m_keyHandler = std::move(handler); }

    const TerminalBuffer &buffer() const { return m_buffer; }
    // The text as stored: one character per byte, CR LF as two.
    const QString &terminalText() const { return m_buffer.text(); }

    // Appends received text with the terminal's filtering; returns the
    // filtered text as shown.
    QString appendReceived(const QString &received);
    void clearAll();
    void moveCaretToEnd();

    // The character code of a key press: Enter 13, Backspace 8, control keys
    // their control codes, 0 for keys that type nothing.
    static int keyCode(const QKeyEvent &event);

protected:
    void keyPressEvent(QKeyEvent *event) override;

private:
    void showAll();
    void showAppended(const QString &text);

    TerminalBuffer m_buffer;
    std::function<void(int &)> m_keyHandler;
};

} // namespace devicelink

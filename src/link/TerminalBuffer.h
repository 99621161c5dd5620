#pragma once

#include <QString>

namespace devicelink {

// The terminal box's text as the switcher line delivers it: every received
// byte is one character and a CR LF pair counts as two. It applies the
// terminal's filtering (backspace, line feeds) and keeps the text small by
// dropping the oldest 4096 characters once it holds more than 16000.
class TerminalBuffer {
public:
    static constexpr int trimAbove = 16000;
    static constexpr int trimCount = 4096;

    // What an append did to the text, so a view can follow cheaply.
    struct Change {
        bool rewritten = false;  // front trimmed or a shown character replaced
        QString appended;        // the filtered text, also what goes to a log
        int dropped = 0;         // characters trimmed from the front, before the rest
        bool erasedLast = false; // a leading backspace took the last character, after the trim
    };

    const QString &text() const { return m_text; }
    void clear() { m_text.clear(); }

    // Appends one receive event's text after filtering it.
    Change append(const QString &received);
    // Appends text filtered already (filter() below), and the erasure of the
    // last character shown that its leading backspace asked for.
    Change appendFiltered(const QString &filtered, bool eraseLast);
    // A key typed into the box with local echo on, at the end of the text.
    // Returns true when the text changed other than by appending.
    bool type(int keyCode);

    // The filtering alone: backspaces, line feeds removed, CR followed by LF.
    // Sets *eraseLast when a leading backspace erases the last shown character.
    static QString filter(const QString &received, bool *eraseLast);

private:
    QString m_text;
};

} // namespace devicelink

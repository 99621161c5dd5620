#pragma once

#include <QObject>
#include <QString>

namespace devicelink {
class Session;
struct Frame;
} // namespace devicelink

namespace app {

class TerminalBox;

// The terminal around the serial channel: the box txtTerm shows what the
// line brings, and the keys typed into it go out on the port, shown too
// when local echo is on.
class Terminal : public QObject {
    Q_OBJECT
public:
    Terminal(TerminalBox &txtTerm, devicelink::Session &session, QObject *parent = nullptr);

    // A key typed into the box: its character goes to an open port; without
    // echo the box does not show it (the code comes back 0).
    void txtTerm_KeyPress(int &keyCode);
    // Shows received text, filtered once by the session (backspaces, line
    // feeds) for the box and the log alike.
    void AppendToTerminal(TerminalBox &box, const QString &filtered, bool eraseLast);

private:
    void onSent(const devicelink::Frame &frame);

    TerminalBox &m_txtTerm;
    devicelink::Session &m_session;
};

} // namespace app

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
    // Shows received text with the terminal's filtering; text comes back as shown.
    void AppendToTerminal(TerminalBox &box, QString &text);

private:
    void onReceived(const devicelink::Frame &frame);
    void onSent(const devicelink::Frame &frame);

    TerminalBox &m_txtTerm;
    devicelink::Session &m_session;
};

} // namespace app

#include "app/Terminal.h"

#include "app/TerminalBox.h"
#include "link/Session.h"
#include "ui/SerialPort.h"

namespace app {

using devicelink::Frame;

Terminal::Terminal(TerminalBox &txtTerm, devicelink::Session &session, QObject *parent)
    : QObject(parent)
    , m_txtTerm(txtTerm)
    , m_session(session) {
    m_txtTerm.setKeyHandler([this](int &code) { txtTerm_KeyPress(code); });
    // The session filters what the line brings once, for the box and the log.
    connect(&session, &devicelink::Session::textReceived, this,
            [this](const QString &filtered, bool eraseLast) {
                AppendToTerminal(m_txtTerm, filtered, eraseLast);
            });
    connect(&session, &devicelink::Session::frameSent, this, &Terminal::onSent);
}

void Terminal::txtTerm_KeyPress(int &keyCode) {
    if (!m_session.serial().isOpen())
        return;
    if (keyCode >= 0 && keyCode <= 255)
        m_session.writeSerial(QByteArray(1, static_cast<char>(keyCode)),
                              {devicelink::Origin::Kind::Terminal});
    if (!m_session.serial().echoEnabled()) {
        m_txtTerm.moveCaretToEnd();
        keyCode = 0;
    }
}

void Terminal::AppendToTerminal(TerminalBox &box, const QString &filtered, bool eraseLast) {
    box.appendFiltered(filtered, eraseLast);
    box.moveCaretToEnd();
}

void Terminal::onSent(const Frame &frame) {
    // A command goes to the port as typed keys do, so without echo it moves
    // the caret to the end too.
    using Kind = devicelink::Origin::Kind;
    const Kind kind = frame.origin.kind;
    if (frame.medium == Frame::Medium::Serial && kind != Kind::Terminal && kind != Kind::Modem &&
        kind != Kind::Transmission && !m_session.serial().echoEnabled())
        m_txtTerm.moveCaretToEnd();
}

} // namespace app

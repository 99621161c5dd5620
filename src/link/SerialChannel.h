#pragma once

#include <QObject>
#include <QString>
#include <functional>

namespace ui {
class Dialogs;
class SerialPort;
} // namespace ui

namespace devicelink {

class LogFile;
class TerminalBox;
class Traffic;

// The serial channel: opening and closing the port, writing typed keys and
// command bytes, and handing received bytes to the terminal box and to the
// status decoder, one text per receive event. It owns the port's state
// (closed, open, or lost when the device went away) and the terminal's local
// echo; every open and close of the port goes through it.
class SerialChannel : public QObject {
    Q_OBJECT
public:
    enum class PortState { Closed, Open, Lost };
    using Decoder = std::function<void(const QString &)>;

    SerialChannel(ui::SerialPort &port, ui::Dialogs &dialogs, TerminalBox &txtTerm, LogFile &log,
                  Decoder decode, std::function<void()> closeLog, QObject *parent = nullptr);

    void mnuOpen_Click();
    void txtTerm_KeyPress(int &keyCode);
    void MSComm1_OnComm();
    void AppendToTerminal(TerminalBox &box, QString &text);

    PortState state() const { return m_state; }
    bool isOpen() const { return m_state == PortState::Open; }
    // Opens or closes the port; returns the port's error text, empty on success.
    QString openPort();
    QString closePort();
    // Why the last open failed; empty once the port opened.
    QString openError() const { return m_openError; }

    // What the line brings is shown to the traffic window through it.
    void setTraffic(Traffic *traffic) { m_traffic = traffic; }

    // Keys typed into the terminal box are shown there too.
    bool echoEnabled() const { return m_echoEnabled; }
    void setEchoEnabled(bool on) { m_echoEnabled = on; }

signals:
    void stateChanged(devicelink::SerialChannel::PortState state);

private:
    void onLinkLost(const QString &description);
    // Takes the state from the port after an open or a close.
    void updateState();
    void setState(PortState state);

    ui::SerialPort &m_port;
    ui::Dialogs &m_dialogs;
    TerminalBox &m_txtTerm;
    LogFile &m_log;
    Decoder m_decode;
    std::function<void()> m_closeLog;
    PortState m_state = PortState::Closed;
    QString m_openError;
    Traffic *m_traffic = nullptr;
    bool m_echoEnabled = false;
};

} // namespace devicelink

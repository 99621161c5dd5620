#pragma once

#include "link/ChannelChoice.h"
#include "link/Codes.h"
#include "link/CommandMeaning.h"
#include "link/CommandSink.h"
#include "link/Frame.h"
#include "link/LogFile.h"
#include "link/SerialChannel.h"
#include "link/StatusReply.h"
#include "link/Switcher.h"

#include <QList>
#include <QObject>
#include <memory>

class QHostAddress;

namespace ui {
class DatagramSocket;
class SerialPort;
} // namespace ui

namespace devicelink {

class Clock;
class NetworkChannel;
class Operations;
class PortReopener;
class RoutingModel;
class StatusPolls;

// The link to the switcher, below the windows: the serial and network
// channels and which one is in use, the one send path every command takes
// (with who sent it), the switcher's operations that every source asks for
// (operations()), the status polls, the decoding of replies into the
// routing model, and the terminal's log file. Everything that crosses the
// link is announced, whether or not anyone listens, with its meaning read
// once; the windows, the traffic window and the event log are its observers.
class Session : public QObject {
    Q_OBJECT
public:
    Session(ui::SerialPort &port, ui::DatagramSocket &socket, Clock &clock,
            QObject *parent = nullptr);
    ~Session() override;

    SerialChannel &serial() const { return *m_serial; }
    NetworkChannel &network() const { return *m_network; }
    Channel &active() const;
    const ChannelChoice &channel() const { return m_channel; }
    // The serial port or a site; what was shown of the routing goes stale.
    void setChannel(const ChannelChoice &choice);
    StatusPolls &polls() const { return *m_polls; }
    // Opens a lost or missing port again when its device comes back.
    PortReopener &reopener() const { return *m_reopener; }
    RoutingModel &routing() const { return *m_routing; }
    // What every source asks of the switcher: routes, moves, presets,
    // auxiliary functions and locks, each with its follow-up codes and timers.
    Operations &operations() const { return *m_operations; }
    LogFile &log() { return m_log; }
    Clock &clock() const { return m_clock; }

    // What became of a frame given to the channel in use.
    enum class Delivery : quint8 {
        Sent,    // it left
        Waiting, // it leaves once the site's name resolves (or is dropped then)
        NotSent, // it could not leave; the reason is announced with it
    };

    // The send path as typed by hand (the code box): the code's value goes
    // out framed for the channel in use. A code that names no value sends
    // nothing.
    void Invio(const QString &CommandCode, const Origin &origin);
    // A code of the one table, or a command byte, on the channel in use.
    // why, when given, says why it did not leave; later, when given, is told
    // what became of a frame that waits for the site's name.
    Delivery send(Code code, const Origin &origin, QString *why = nullptr, Done later = {});
    Delivery sendCommand(int value, const Origin &origin, QString *why = nullptr, Done later = {});
    // The status request on the channel in use; true when it left (or waits
    // for the site's name to resolve). One that cannot leave is announced
    // as not sent.
    bool statusRequest(const Origin &origin);
    // Raw bytes to the serial port (typed keys, the modem, a text file);
    // the port's error text, empty when they went out.
    QString writeSerial(const QByteArray &bytes, const Origin &origin);
    // On a remote site, the polls stop and the sign-off "0" goes to it.
    void signOff(const Origin &origin);
    // The lone "0" (acknowledgement, sign-off) to whatever host the socket
    // addresses now; nothing while that is the serial marker.
    void sendZero(const Origin &origin);
    // Points the socket at the address the channel shows (start-up).
    void addressSocket();

    void Timer3_Timer();
    void Timer5_Timer();
    void MSComm1_OnComm();
    void Winsock1_DataArrival(const QByteArray &datagram, const QHostAddress &sender,
                              quint16 senderPort);
    // Reads one reply text received on the named channel; returns what it named.
    StatusReply DecodeStatusReply(const QString &text, const QString &channel);

    // After logWriteFailed: write what waits again, or give it up (the log
    // is then closed by whoever asked).
    void retryLogWrite();
    void abandonLogWrite();

signals:
    void frameSent(const devicelink::Frame &frame);
    void frameReceived(const devicelink::Frame &frame);
    void frameIgnored(const devicelink::Frame &frame);
    // A command that did not leave (a closed or lost port, a site whose
    // name does not resolve); its note says why.
    void frameNotSent(const devicelink::Frame &frame);
    // Text received on the serial line as the terminal shows it: backspaces
    // and line feeds filtered once; eraseLast when a leading backspace takes
    // the last character already shown.
    void textReceived(const QString &filtered, bool eraseLast);
    // A change of the link: the port opened, closed, lost or back, another
    // channel, a site's name looked up; the frame's note says it.
    void stateNoted(const devicelink::Frame &frame);
    // A status request was asked for (it may not have left: a closed port).
    void statusRequested(bool sent);
    void replyDecoded(const devicelink::StatusReply &reply, const QString &channel);
    void channelChanged(const devicelink::ChannelChoice &choice);
    void portStateChanged(devicelink::SerialChannel::PortState state);
    void routingChanged(int monitor);
    // Text received for the terminal's log could not be written; it waits
    // for retryLogWrite or abandonLogWrite. Said once per failure.
    void logWriteFailed(const QString &error);

private:
    void announce(void (Session::*signal)(const Frame &), Frame::Direction direction,
                  const Channel &channel, const QByteArray &bytes, const Origin &origin,
                  const QString &meaning);
    void announce(void (Session::*signal)(const Frame &), Frame::Direction direction,
                  Frame::Medium medium, const QString &channel, const QByteArray &bytes,
                  const Origin &origin, const QString &meaning);
    void applyReply(const StatusReply &reply, const QString &channel);
    Delivery transmit(Channel &channel, const QByteArray &frame, const Origin &origin,
                      QString *why = nullptr, Done later = {});
    void announceNotSent(Frame::Medium medium, const QString &channel, const QByteArray &frame,
                         const Origin &origin, const QString &meaning, const QString &why);
    void onQueuedDone(const QByteArray &datagram, const QString &why, bool sent);
    void notePortState(SerialChannel::PortState state);
    void noteHostState();
    void noteState(const Channel &channel, const QString &note);
    void writeLog(const QString &text);

    Clock &m_clock;
    std::unique_ptr<SerialChannel> m_serial;
    std::unique_ptr<NetworkChannel> m_network;
    StatusPolls *m_polls;
    RoutingModel *m_routing;
    PortReopener *m_reopener;
    Operations *m_operations;
    CommandMeaning::Reader m_reader; // what the commands sent mean, in order
    // Frames waiting for the site's name, in the order they were given.
    struct Waiting {
        QByteArray bytes;
        Origin origin;
        QString channel;
        QString meaning;
        Done later;
    };
    QList<Waiting> m_waiting;
    SerialChannel::PortState m_notedPort = SerialChannel::PortState::Closed;
    QString m_notedError;
    ChannelChoice m_channel = ChannelChoice::serial();
    LogFile m_log;
    QString m_logWaiting; // text the log could not take yet, in order
};

// A command sink for one source: what it sends carries its origin.
class SessionSink : public CommandSink {
public:
    SessionSink(Session &session, Origin origin)
        : m_session(session)
        , m_origin(std::move(origin)) {}
    void Invio() override { m_session.Invio(CommandCode, m_origin); }

private:
    Session &m_session;
    Origin m_origin;
};

} // namespace devicelink

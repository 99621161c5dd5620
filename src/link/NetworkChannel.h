#pragma once

#include <QByteArray>
#include <QHostAddress>
#include <QObject>
#include <functional>

namespace ui {
class DatagramSocket;
}

namespace devicelink {

class CommandSink;
class RemoteAddress;
class Traffic;
class StatusPolls;

// The link to a remote site's gateway and the two status polls. Timer3 asks
// for the status 1 s after a selection, Timer5 4 s after a movement, on
// whichever channel IPAD selects; replies from the site are decoded and
// acknowledged with "0".
class NetworkChannel : public QObject {
    Q_OBJECT
public:
    using Decoder = std::function<void(const QString &)>;

    NetworkChannel(ui::DatagramSocket &socket, RemoteAddress &IPAD, CommandSink &sink,
                   StatusPolls &polls, Decoder decode, QObject *parent = nullptr);

    bool serialSelected() const;

    void Winsock1_DataArrival(const QByteArray &datagram, const QHostAddress &sender,
                              quint16 senderPort = 2000);
    // What goes over the channel is shown to the traffic window through it.
    void setTraffic(Traffic *traffic) { m_traffic = traffic; }
    void Timer3_Timer();
    void Timer5_Timer();
    // The acknowledgement and sign-off: the single byte "0".
    void sendZero();
    // Points the socket at the host in IPAD.
    void addressSite();
    // Sends a datagram to the host in IPAD.
    void sendToSite(const QByteArray &datagram);
    // Asks the switcher for its routing now, on the channel IPAD selects:
    // "2E" on the serial port, "1", 0x2E, CR to the site. The polls' own
    // request; it touches neither timer.
    void statusRequest();

signals:
    void statusRequested();

private:
    void send(const QByteArray &datagram);

    ui::DatagramSocket &m_socket;
    RemoteAddress &m_IPAD;
    CommandSink &m_sink;
    StatusPolls &m_polls;
    Decoder m_decode;
    Traffic *m_traffic = nullptr;
};

} // namespace devicelink

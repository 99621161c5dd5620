#pragma once

#include <QByteArray>
#include <QHostAddress>
#include <QObject>
#include <functional>

class QLineEdit;

namespace ui {
class DatagramSocket;
class Timer;
} // namespace ui

namespace devicelink {

class CommandSink;

// The link to a remote site's gateway and the two status polls. Timer3 asks
// for the status 1 s after a selection, Timer5 4 s after a movement, on
// whichever channel IPAD selects; replies from the site are decoded and
// acknowledged with "0".
class NetworkChannel : public QObject {
    Q_OBJECT
public:
    using Decoder = std::function<void(const QString &)>;

    static const QString serialMarker; // "0.0.0.0": IPAD's text for the serial channel

    NetworkChannel(ui::DatagramSocket &socket, QLineEdit &IPAD, CommandSink &sink,
                   ui::Timer &Timer3, ui::Timer &Timer5, Decoder decode, QObject *parent = nullptr);

    bool serialSelected() const;

    void Winsock1_DataArrival(const QByteArray &datagram, const QHostAddress &sender);
    void Timer3_Timer();
    void Timer5_Timer();
    // The acknowledgement and sign-off: the single byte "0".
    void sendZero();
    // Points the socket at the host in IPAD.
    void addressSite();
    // Sends a datagram to the host in IPAD.
    void sendToSite(const QByteArray &datagram);

private:
    void statusRequest();

    ui::DatagramSocket &m_socket;
    QLineEdit &m_IPAD;
    CommandSink &m_sink;
    ui::Timer &m_Timer3;
    ui::Timer &m_Timer5;
    Decoder m_decode;
};

} // namespace devicelink

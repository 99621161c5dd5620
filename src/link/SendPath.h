#pragma once

#include "link/CommandSink.h"

namespace devicelink {

class NetworkChannel;
class SerialChannel;

// Invio: turns CommandCode into its byte and sends it, as the byte and CR on
// the serial port, or as the datagram 0x00, byte, CR to the remote site.
// The channels are attached after they exist, as they send through it too.
class SendPath : public CommandSink {
public:
    void attach(SerialChannel &serial, NetworkChannel &network) {
        m_serial = &serial;
        m_network = &network;
    }

    void Invio() override;

private:
    SerialChannel *m_serial = nullptr;
    NetworkChannel *m_network = nullptr;
};

} // namespace devicelink

#include "link/SendPath.h"

#include "link/CommandCode.h"
#include "link/NetworkChannel.h"
#include "link/SerialChannel.h"

namespace devicelink {

void SendPath::Invio() {
    // A code that names no value (typed by hand into the code box) sends nothing.
    const std::optional<int> value = commandValue(CommandCode);
    if (!value || !m_serial || !m_network)
        return;
    if (m_network->serialSelected()) {
        int key = *value;
        m_serial->txtTerm_KeyPress(key);
        key = 13;
        m_serial->txtTerm_KeyPress(key);
        return;
    }
    if (*value > 255) {
        // No byte can carry it: the socket is addressed, nothing is sent.
        m_network->addressSite();
        return;
    }
    const char frame[] = {0x00, static_cast<char>(*value), 0x0D};
    m_network->sendToSite(QByteArray(frame, 3));
}

} // namespace devicelink

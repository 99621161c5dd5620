#pragma once

#include "link/Frame.h"

#include <QByteArray>
#include <QString>

namespace devicelink {

// A way to the switcher: the serial port or a remote site's gateway. Each
// frames commands its own way and says whether a frame left.
class Channel {
public:
    virtual ~Channel() = default;

    virtual Frame::Medium medium() const = 0;
    // "serial Com1", "10.1.2.3:2000": how frames name the channel.
    virtual const QString &name() const = 0;
    // The frame that carries a command byte; empty when none can.
    virtual QByteArray commandFrame(int value) const = 0;
    virtual QByteArray statusRequestFrame() const = 0;
    // Puts a frame on the channel; false when it did not leave.
    virtual bool transmit(const QByteArray &frame) = 0;
    // Why the last frame did not leave, in the event log's words ("the port
    // is closed").
    virtual QString whyNotSent() const = 0;
};

} // namespace devicelink

#pragma once

#include "link/Frame.h"

#include <QByteArray>
#include <QString>

namespace devicelink {

struct StatusReply;

// What a frame on either channel means to the switcher, in the words of the
// panel's own codes: "camera 5", "pan left", "status request", a status
// reply's "monitor 2, camera 5". Empty for bytes that are none of these.
namespace CommandMeaning {

// The command byte alone: 0x35 "camera 5", 0x60 "pan left", 0x2E "status request".
QString ofCode(int value);
// Bytes written to the serial line: a command byte and CR, or typed text.
QString ofSerialSent(const QByteArray &bytes);
// A datagram sent to a remote site: 0x00, byte, CR; "1", 0x2E, CR; "0".
QString ofDatagramSent(const QByteArray &datagram);
// Text received on the serial line, or a datagram's text after its lead
// byte: what the decoder makes of it, the monitor it lights and the camera
// when it names one ("monitor 2, camera 5", "monitor 1").
QString ofReply(const QByteArray &text);
QString ofReply(const StatusReply &reply);
// Any frame, as the traffic window and the event log show it; a frame that
// did not leave, or a change of state, is told by its note.
QString of(Frame::Direction direction, Frame::Medium medium, const QByteArray &bytes,
           const QString &note = {});
// "35 0D".
QString hex(const QByteArray &bytes);

// Reads the commands sent, in their order, as the switcher reads them: a
// number after a preset's begin is that preset, the A/P code right after a
// begin starts a tour, and a release names the function it releases. The
// session keeps one, so that the traffic window and the event log say the
// same thing of every frame.
class Reader {
public:
    // What a command byte means after those read before it; it is remembered.
    QString command(int value);
    // What the bytes that left on a channel mean; a frame that is no
    // command (typed text) means nothing and leaves what was read as it is.
    QString sent(Frame::Medium medium, const QByteArray &bytes);

private:
    int m_previous = -1;  // the command read last
    int m_auxiliary = -1; // the last function that waits for its release
};

} // namespace CommandMeaning

} // namespace devicelink

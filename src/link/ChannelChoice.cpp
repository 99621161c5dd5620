#include "link/ChannelChoice.h"

namespace devicelink {

const QString ChannelChoice::serialMarker = QStringLiteral("0.0.0.0");

ChannelChoice ChannelChoice::fromAddress(const QString &text) {
    return text == serialMarker ? serial() : site(text);
}

} // namespace devicelink

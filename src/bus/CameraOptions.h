#pragma once

#include <QStringList>

namespace bus {

// The cameras as a choice names them on the bus (a Home Assistant select, a
// command on a monitor's topic): each camera's title, unless the title is
// empty, reads as a number or is shared with another camera, in which case
// the camera's number is added ("Gate (3)"). Every name is unique and none is
// a plain number, so a command's payload means one camera whichever way it
// is written.
QStringList cameraOptions(const QStringList &titles);

} // namespace bus

#pragma once

#include <QString>

namespace ui {

// The folder that holds velmarcontroller.ini, RemoteIPVelmar.ini and
// settings.ini: C:\ini on Windows, $XDG_CONFIG_HOME/velmar-controller elsewhere.
QString storageFolder();

// Creates the folder when it is missing; false when it cannot be made.
bool ensureFolder(const QString &path);

} // namespace ui

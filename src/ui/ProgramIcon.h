#pragma once

#include <QIcon>

namespace ui {

// The program's icon (the switcher keypad under a camera), drawn at the
// usual sizes from the shipped scalable icon.
QIcon programIcon();

} // namespace ui

#pragma once

#include <QString>

class QObject;

namespace config {

// Sets the caption of a control, whatever kind it is: button, label, check
// box, frame, menu or menu item.
void setCaption(QObject *control, const QString &caption);

} // namespace config

#include "ui/ProgramIcon.h"

namespace ui {

QIcon programIcon() {
    QIcon icon;
    // Rendered from tools/install/velmar-controller.svg (rsvg-convert -w N -h N),
    // so that no SVG support is needed at run time.
    for (int size : {16, 32, 48, 64, 128, 256})
        icon.addFile(QStringLiteral(":/velmar/icons/velmar-controller-%1.png").arg(size),
                     QSize(size, size));
    return icon;
}

} // namespace ui

#include "ui/Twips.h"

#include <QWidget>
#include <cmath>

namespace ui {

int twipsToPixels(int twips, qreal logicalDpi) {
    return static_cast<int>(std::lround(twips * logicalDpi / 1440.0));
}

int pixelsToTwips(int pixels, qreal logicalDpi) {
    if (logicalDpi <= 0)
        return pixels * 15;
    return static_cast<int>(std::lround(pixels * 1440.0 / logicalDpi));
}

void placeInTwips(QWidget *widget, int left, int top, int width, int height) {
    const qreal dpi = widget->logicalDpiX();
    widget->setGeometry(twipsToPixels(left, dpi), twipsToPixels(top, dpi),
                        twipsToPixels(width, dpi), twipsToPixels(height, dpi));
}

} // namespace ui

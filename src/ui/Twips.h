#pragma once

#include <QRect>

class QWidget;

namespace ui {

// Layout figures are in twips (1/1440 inch); widgets are placed in pixels at
// the screen's logical DPI, so 15 twips are one pixel at 96 DPI.
int twipsToPixels(int twips, qreal logicalDpi);
int pixelsToTwips(int pixels, qreal logicalDpi);

// Places a widget at a twip rectangle of its parent.
void placeInTwips(QWidget *widget, int left, int top, int width, int height);

} // namespace ui

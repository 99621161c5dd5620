#include "panel/Controls.h"

#include "ui/ColourButton.h"

#include <QLabel>

namespace panel {

ui::ColourButton *makeButton(QWidget *parent, const QString &name, const QString &caption, int left,
                             int top, int width, int height) {
    return makeControl<ui::ColourButton>(parent, name, caption, left, top, width, height);
}

QLabel *makeLabel(QWidget *parent, const QString &name, const QString &caption, int left, int top,
                  int width, int height) {
    return makeControl<QLabel>(parent, name, caption, left, top, width, height);
}

} // namespace panel

#pragma once

#include "ui/Twips.h"

#include <QString>

class QLabel;
class QWidget;

namespace ui {
class ColourButton;
}

namespace panel {

// Makes a panel control named and captioned as designed, at a twip
// rectangle of the parent.
template <typename T>
T *makeControl(QWidget *parent, const QString &name, const QString &caption, int left, int top,
               int width, int height) {
    auto *control = new T(caption, parent);
    control->setObjectName(name);
    ui::placeInTwips(control, left, top, width, height);
    return control;
}

ui::ColourButton *makeButton(QWidget *parent, const QString &name, const QString &caption, int left,
                             int top, int width, int height);
QLabel *makeLabel(QWidget *parent, const QString &name, const QString &caption, int left, int top,
                  int width, int height);

} // namespace panel

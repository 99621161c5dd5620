#include "panel/Controls.h"

#include "ui/ColourButton.h"
#include "ui/PlainText.h"

#include <QLabel>

namespace panel {

ui::ColourButton *makeButton(QWidget *parent, const QString &name, const QString &caption, int left,
                             int top, int width, int height) {
    return makeControl<ui::ColourButton>(parent, name, caption, left, top, width, height);
}

QLabel *makeLabel(QWidget *parent, const QString &name, const QString &caption, int left, int top,
                  int width, int height) {
    // Captions come from language files and titles from files and clients:
    // shown as they are, never as markup.
    return ui::plainLabel(makeControl<QLabel>(parent, name, caption, left, top, width, height));
}

} // namespace panel

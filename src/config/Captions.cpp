#include "config/Captions.h"

#include <QAbstractButton>
#include <QAction>
#include <QGroupBox>
#include <QLabel>
#include <QMenu>

namespace config {

void setCaption(QObject *control, const QString &caption) {
    if (auto *action = qobject_cast<QAction *>(control))
        action->setText(caption);
    else if (auto *menu = qobject_cast<QMenu *>(control))
        menu->setTitle(caption);
    else if (auto *button = qobject_cast<QAbstractButton *>(control))
        button->setText(caption);
    else if (auto *label = qobject_cast<QLabel *>(control)) {
        // A language file's line is a caption, never markup.
        label->setTextFormat(Qt::PlainText);
        label->setText(caption);
    } else if (auto *frame = qobject_cast<QGroupBox *>(control))
        frame->setTitle(caption);
}

} // namespace config

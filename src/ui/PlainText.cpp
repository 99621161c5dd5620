#include "ui/PlainText.h"

#include <QLabel>
#include <QTextDocument>

namespace ui {

QString plainToolTip(const QString &text) {
    // A tooltip is rich text exactly when Qt would take it for some; the
    // rest is left as it is, so that plain tooltips stay what they were.
    if (!Qt::mightBeRichText(text))
        return text;
    return Qt::convertFromPlainText(text, Qt::WhiteSpacePre);
}

QLabel *plainLabel(QLabel *label) {
    label->setTextFormat(Qt::PlainText);
    return label;
}

} // namespace ui

#include "ui/ElidedLabel.h"

#include <QResizeEvent>

namespace ui {

ElidedLabel::ElidedLabel(Qt::TextElideMode mode, QWidget *parent)
    : QLabel(parent)
    , m_mode(mode) {
    setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Preferred);
    setTextFormat(Qt::PlainText);
}

void ElidedLabel::setFullText(const QString &text) {
    if (text == m_full)
        return;
    m_full = text;
    fit();
}

QSize ElidedLabel::minimumSizeHint() const {
    return {0, QLabel::minimumSizeHint().height()};
}

void ElidedLabel::resizeEvent(QResizeEvent *event) {
    QLabel::resizeEvent(event);
    fit();
}

void ElidedLabel::fit() {
    const QString shown = fontMetrics().elidedText(m_full, m_mode, contentsRect().width());
    if (shown != text())
        setText(shown);
}

} // namespace ui

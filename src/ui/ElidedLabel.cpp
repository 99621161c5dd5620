#include "ui/ElidedLabel.h"

#include <QResizeEvent>

namespace ui {

ElidedLabel::ElidedLabel(Qt::TextElideMode mode, QWidget *parent)
    : QLabel(parent)
    , m_mode(mode) {
    setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Preferred);
    setTextFormat(Qt::PlainText);
}

void ElidedLabel::setFullText(const QString &text, const QString &kept) {
    if (text == m_full && kept == m_kept)
        return;
    m_full = text;
    m_kept = kept;
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
    const QFontMetrics metrics = fontMetrics();
    const int width = contentsRect().width();
    QString shown = metrics.elidedText(m_full, m_mode, width);
    const qsizetype at = m_kept.isEmpty() ? -1 : m_full.indexOf(m_kept);
    if (shown != m_full && at >= 0) {
        // What is before the kept part is cut in its middle, what is after it
        // at its end; each gets room in proportion to its length.
        const QString before = m_full.left(at);
        const QString after = m_full.mid(at + m_kept.size());
        const int room = width - metrics.horizontalAdvance(m_kept);
        // Even the kept part too long: its beginning at least.
        if (room < 0)
            shown = metrics.elidedText(m_kept, Qt::ElideRight, width);
        else {
            const int whole = qMax(1, metrics.horizontalAdvance(before + after));
            const int beforeRoom = int(qint64(room) * metrics.horizontalAdvance(before) / whole);
            QString head = metrics.elidedText(before, Qt::ElideMiddle, beforeRoom);
            QString tail =
                metrics.elidedText(after, Qt::ElideMiddle, room - metrics.horizontalAdvance(head));
            // The head takes back what the tail did not need.
            head =
                metrics.elidedText(before, Qt::ElideMiddle, room - metrics.horizontalAdvance(tail));
            shown = head + m_kept + tail;
        }
    }
    if (shown != text())
        setText(shown);
}

} // namespace ui

#pragma once

#include <QLabel>

namespace ui {

// A label that shows as much of its text as fits, cut in the middle
// ("Serial Com1 (/dev/serial/by-id/usb-…-port0) 9600,n,8,1") or at the end.
// A part of the text can be kept whole (the channel's name, a time): what is
// around it is cut first. It never widens its window; fullText() is the
// whole text.
class ElidedLabel : public QLabel {
    Q_OBJECT
public:
    explicit ElidedLabel(Qt::TextElideMode mode = Qt::ElideMiddle, QWidget *parent = nullptr);

    // kept, when it is a part of text, stays whole while anything else fits.
    void setFullText(const QString &text, const QString &kept = {});
    QString fullText() const { return m_full; }

    QSize minimumSizeHint() const override;

protected:
    void resizeEvent(QResizeEvent *event) override;

private:
    void fit();

    Qt::TextElideMode m_mode;
    QString m_full;
    QString m_kept;
};

} // namespace ui

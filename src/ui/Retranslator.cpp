#include "ui/Retranslator.h"

#include <QEvent>
#include <QWidget>

namespace ui {

Retranslator::Retranslator(QWidget *owner, std::function<void()> texts)
    : QObject(owner)
    , m_texts(std::move(texts)) {
    owner->installEventFilter(this);
}

void Retranslator::keep(QWidget *owner, std::function<void()> texts) {
    texts();
    new Retranslator(owner, std::move(texts));
}

bool Retranslator::eventFilter(QObject *watched, QEvent *event) {
    if (event->type() == QEvent::LanguageChange)
        m_texts();
    return QObject::eventFilter(watched, event);
}

} // namespace ui

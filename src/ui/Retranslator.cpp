#include "ui/Retranslator.h"

#include <QEvent>
#include <QWidget>

namespace ui {

Retranslator::Retranslator(QWidget *watched, std::function<void()> texts, QObject *owner)
    : QObject(owner ? owner : watched)
    , m_texts(std::move(texts)) {
    watched->installEventFilter(this);
}

Retranslator *Retranslator::keep(QWidget *watched, std::function<void()> texts, QObject *owner) {
    texts();
    return new Retranslator(watched, std::move(texts), owner);
}

bool Retranslator::eventFilter(QObject *watched, QEvent *event) {
    if (event->type() == QEvent::LanguageChange)
        m_texts();
    return QObject::eventFilter(watched, event);
}

} // namespace ui

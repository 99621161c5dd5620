#include "ui/Wording.h"

#include <QCoreApplication>

namespace ui {

Wording::Wording(const char *context, const char *source)
    : m_shown(QCoreApplication::translate(context, source))
    , m_english(QString::fromUtf8(source)) {}

Wording Wording::verbatim(const QString &text) {
    Wording w;
    w.m_shown = w.m_english = text;
    return w;
}

Wording Wording::arg(const Wording &a) const {
    Wording w;
    w.m_shown = m_shown.arg(a.m_shown);
    w.m_english = m_english.arg(a.m_english);
    return w;
}

} // namespace ui

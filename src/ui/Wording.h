#pragma once

#include <QString>

namespace ui {

// A text said both to the operator, in the language in use, and to the event
// log, in English as every row of it is: the two are made together, so that
// a reason (a port lost, a name that does not resolve) reads the same in the
// log whatever the panel's language, and the log's searches find it.
class Wording {
public:
    Wording() = default;
    // The program's own text, translated in its context; the source marked
    // for the translators with QT_TRANSLATE_NOOP(context, source).
    Wording(const char *context, const char *source);
    // A text the same in every language: a path, the system's own words.
    static Wording verbatim(const QString &text);

    Wording arg(const Wording &a) const;
    Wording arg(const QString &a) const { return arg(verbatim(a)); }
    Wording arg(qint64 n) const { return arg(QString::number(n)); }

    const QString &shown() const { return m_shown; }
    const QString &english() const { return m_english; }
    bool isEmpty() const { return m_shown.isEmpty(); }

private:
    QString m_shown;
    QString m_english;
};

} // namespace ui

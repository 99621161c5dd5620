#include "ui/Latin1Validator.h"

namespace ui {

QValidator::State Latin1Validator::validate(QString &input, int &) const {
    for (const QChar c : std::as_const(input)) {
        if (c.unicode() > 0xFF)
            return Invalid;
    }
    return Acceptable;
}

} // namespace ui

#pragma once

#include <QValidator>

namespace ui {

// Takes only characters the program's files and wire can hold, one byte
// each (Latin-1): a character beyond it would be saved as "?" and lost.
class Latin1Validator : public QValidator {
    Q_OBJECT
public:
    using QValidator::QValidator;
    State validate(QString &input, int &pos) const override;
};

} // namespace ui

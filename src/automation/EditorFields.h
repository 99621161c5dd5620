#pragma once

#include <QAbstractSpinBox>
#include <QLabel>
#include <QListWidget>
#include <QScrollBar>
#include <QSpinBox>

namespace automation {

// The editor's number fields: a spin box named for tests and screen readers,
// with `special` shown for its lowest value when given ("none", "-").
inline QSpinBox *numberBox(QWidget *parent, const QString &objectName, int low, int high,
                           const QString &special = {}) {
    auto *box = new QSpinBox(parent);
    box->setObjectName(objectName);
    box->setRange(low, high);
    box->setSpecialValueText(special);
    box->setCorrectionMode(QAbstractSpinBox::CorrectToNearestValue);
    box->setAccelerated(true);
    return box;
}

// A label that names its field, for the access key and the screen reader.
inline QLabel *fieldLabel(QWidget *parent, QWidget *field) {
    auto *label = new QLabel(parent);
    label->setBuddy(field);
    return label;
}

// A list at least as wide as its widest row, so that no row is cut.
inline void fitWidth(QListWidget *list) {
    const int rows = list->count() ? list->sizeHintForColumn(0) : 0;
    list->setMinimumWidth(rows + 2 * list->frameWidth() +
                          list->verticalScrollBar()->sizeHint().width() +
                          list->fontMetrics().averageCharWidth() * 2);
}

// The lowest number from 1 up that is not among `taken`.
template <typename List, typename Number> int freeNumber(const List &list, Number number) {
    for (int n = 1;; ++n) {
        bool used = false;
        for (const auto &item : list)
            used = used || number(item) == n;
        if (!used)
            return n;
    }
}

} // namespace automation

#include "automation/ListPage.h"

#include "automation/EditorFields.h"
#include "ui/Dialogs.h"

#include <QEvent>
#include <QHBoxLayout>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QVBoxLayout>

namespace automation {

ListPage::ListPage(const QString &stem, ui::Dialogs &dialogs, QWidget *parent, int listStretch,
                   int formStretch)
    : QWidget(parent)
    , m_form(new QWidget(this))
    , m_dialogs(dialogs)
    , m_list(new QListWidget(this))
    , m_add(new QPushButton(this))
    , m_remove(new QPushButton(this)) {
    const QString title = stem.left(1).toUpper() + stem.mid(1);
    m_list->setObjectName(stem + QStringLiteral("List"));
    m_add->setObjectName(QStringLiteral("add") + title);
    m_remove->setObjectName(QStringLiteral("remove") + title);

    auto *buttons = new QHBoxLayout;
    buttons->addWidget(m_add);
    buttons->addWidget(m_remove);
    auto *left = new QVBoxLayout;
    left->addWidget(m_list);
    left->addLayout(buttons);
    auto *layout = new QHBoxLayout(this);
    layout->addLayout(left, listStretch);
    layout->addWidget(m_form, formStretch);

    connect(m_list, &QListWidget::currentRowChanged, this, &ListPage::choose);
    connect(m_add, &QPushButton::clicked, this, &ListPage::add);
    connect(m_remove, &QPushButton::clicked, this, &ListPage::remove);
}

void ListPage::changeEvent(QEvent *event) {
    QWidget::changeEvent(event);
    if (event->type() == QEvent::LanguageChange)
        retranslate();
}

void ListPage::retranslateList(const QString &listName, const QString &addText,
                               const QString &removeText) {
    m_list->setAccessibleName(listName);
    m_add->setText(addText);
    m_remove->setText(removeText);
    for (int row = 0; row < m_list->count(); ++row)
        relabel(row);
}

int ListPage::current() const {
    const int row = m_list->currentRow();
    return row >= 0 && row < count() ? row : -1;
}

void ListPage::refresh() {
    const int was = m_list->currentRow();
    m_filling = true;
    m_list->clear();
    for (int row = 0; row < count(); ++row) {
        m_list->addItem(QString());
        relabel(row);
    }
    m_filling = false;
    fitWidth(m_list);
    m_list->setCurrentRow(std::min(std::max(was, 0), count() - 1));
    choose(m_list->currentRow());
}

void ListPage::choose(int row) {
    const bool chosen = row >= 0 && row < count();
    m_form->setEnabled(chosen);
    m_remove->setEnabled(chosen);
    fill(chosen ? row : -1);
}

void ListPage::add() {
    const int before = count();
    QWidget *next = addEntry();
    if (count() == before)
        return;
    m_list->addItem(QString());
    relabel(count() - 1);
    fitWidth(m_list);
    m_list->setCurrentRow(count() - 1);
    if (next) {
        next->setFocus();
        // A new entry's text (its name) comes chosen whole, to be typed over.
        if (auto *text = qobject_cast<QLineEdit *>(next))
            text->selectAll();
    }
    emit edited();
}

void ListPage::remove() {
    const int row = current();
    if (row < 0 || !m_dialogs.confirm(removeQuestion(row)))
        return;
    removeEntry(row);
    refresh();
    emit edited();
}

} // namespace automation

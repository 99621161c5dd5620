#pragma once

#include "automation/ListPage.h"

class QCheckBox;
class QComboBox;
class QLabel;
class QPushButton;
class QSpinBox;
class QTimeEdit;

namespace automation {

class AutomationFile;

// The editor's schedules: a list of entries, and for the one chosen its
// number, its time of day, its days of the week, and what it does (recall a
// salvo, start or stop a tour) chosen among the salvos and tours there are.
class SchedulePage : public ListPage {
    Q_OBJECT
public:
    SchedulePage(AutomationFile &work, ui::Dialogs &dialogs, QWidget *parent = nullptr);

protected:
    void showEvent(QShowEvent *event) override;

private:
    int count() const override;
    void relabel(int row) override;
    void fill(int row) override;
    void retranslate() override;
    QWidget *addEntry() override;
    QString removeQuestion(int row) const override;
    void removeEntry(int row) override;
    void fillActions();
    void fieldsEdited();

    AutomationFile &m_work;
    QLabel *m_numberLabel;
    QSpinBox *m_number;
    QLabel *m_atLabel;
    QTimeEdit *m_at;
    QLabel *m_daysLabel;
    QCheckBox *m_days[7];
    QLabel *m_actionLabel;
    QComboBox *m_action;
};

} // namespace automation

#pragma once

#include <QWidget>

class QCheckBox;
class QComboBox;
class QLabel;
class QListWidget;
class QPushButton;
class QSpinBox;
class QTimeEdit;

namespace ui {
class Dialogs;
}

namespace automation {

class AutomationFile;

// The editor's schedules: a list of entries, and for the one chosen its
// number, its time of day, its days of the week, and what it does (recall a
// salvo, start or stop a tour) chosen among the salvos and tours there are.
class SchedulePage : public QWidget {
    Q_OBJECT
public:
    SchedulePage(AutomationFile &work, ui::Dialogs &dialogs, QWidget *parent = nullptr);

    void refresh();
    QListWidget *list() const { return m_list; }

signals:
    void edited();

protected:
    void changeEvent(QEvent *event) override;
    void showEvent(QShowEvent *event) override;

private:
    void retranslate();
    void fill(int row);
    void fillActions();
    void addSchedule();
    void removeSchedule();
    void fieldsEdited();
    void relabel(int row);
    int current() const;

    AutomationFile &m_work;
    ui::Dialogs &m_dialogs;
    QListWidget *m_list;
    QPushButton *m_add;
    QPushButton *m_remove;
    QWidget *m_form;
    QLabel *m_numberLabel;
    QSpinBox *m_number;
    QLabel *m_atLabel;
    QTimeEdit *m_at;
    QLabel *m_daysLabel;
    QCheckBox *m_days[7];
    QLabel *m_actionLabel;
    QComboBox *m_action;
    bool m_filling = false;
};

} // namespace automation

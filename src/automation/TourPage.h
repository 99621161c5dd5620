#pragma once

#include <QWidget>

class QComboBox;
class QLabel;
class QListWidget;
class QPushButton;
class QSpinBox;
class QTableWidget;

namespace ui {
class Dialogs;
}

namespace automation {

class AutomationFile;

// The editor's tours: a list of them, and for the one chosen its number, its
// monitor, what a route by another source does to it, and its steps (camera,
// preset, dwell), added, removed and moved up or down.
class TourPage : public QWidget {
    Q_OBJECT
public:
    TourPage(AutomationFile &work, ui::Dialogs &dialogs, QWidget *parent = nullptr);

    void refresh();
    QListWidget *list() const { return m_list; }
    QTableWidget *steps() const { return m_steps; }

signals:
    void edited();

protected:
    void changeEvent(QEvent *event) override;

private:
    void retranslate();
    void fill(int row);
    void fillSteps();
    void addTour();
    void removeTour();
    void fieldsEdited();
    void stepsEdited();
    void addStep();
    void removeStep();
    void moveStep(int by);
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
    QLabel *m_monitorLabel;
    QSpinBox *m_monitor;
    QLabel *m_manualLabel;
    QComboBox *m_manual;
    QLabel *m_stepsLabel;
    QTableWidget *m_steps;
    QPushButton *m_addStep;
    QPushButton *m_removeStep;
    QPushButton *m_up;
    QPushButton *m_down;
    bool m_filling = false;
};

} // namespace automation

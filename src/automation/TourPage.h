#pragma once

#include "automation/ListPage.h"

class QComboBox;
class QLabel;
class QPushButton;
class QSpinBox;
class QTableWidget;

namespace automation {

class AutomationFile;

// The editor's tours: a list of them, and for the one chosen its number, its
// monitor, what a route by another source does to it, and its steps (camera,
// preset, dwell), added, removed and moved up or down.
class TourPage : public ListPage {
    Q_OBJECT
public:
    TourPage(AutomationFile &work, ui::Dialogs &dialogs, QWidget *parent = nullptr);

    QTableWidget *steps() const { return m_steps; }

private:
    int count() const override;
    void relabel(int row) override;
    void fill(int row) override;
    void retranslate() override;
    QWidget *addEntry() override;
    QString removeQuestion(int row) const override;
    void removeEntry(int row) override;
    void fillSteps();
    void fieldsEdited();
    void stepsEdited();
    void addStep();
    void removeStep();
    void moveStep(int by);

    AutomationFile &m_work;
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
};

} // namespace automation

#pragma once

#include "automation/ListPage.h"

class QLabel;
class QSpinBox;

namespace automation {

class AutomationFile;

// The editor's alarm bindings: which alarm inputs are bound, and for the one
// chosen its input, the monitor it calls a camera to, the camera and its preset.
class AlarmPage : public ListPage {
    Q_OBJECT
public:
    AlarmPage(AutomationFile &work, ui::Dialogs &dialogs, QWidget *parent = nullptr);

private:
    int count() const override;
    void relabel(int row) override;
    void fill(int row) override;
    void retranslate() override;
    QWidget *addEntry() override;
    QString removeQuestion(int row) const override;
    void removeEntry(int row) override;
    void fieldsEdited();

    AutomationFile &m_work;
    QSpinBox *m_fields[4]; // input, monitor, camera, preset
    QLabel *m_labels[4];
};

} // namespace automation

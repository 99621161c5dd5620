#pragma once

#include <QWidget>

class QLabel;
class QListWidget;
class QPushButton;
class QSpinBox;

namespace ui {
class Dialogs;
}

namespace automation {

class AutomationFile;

// The editor's alarm bindings: which alarm inputs are bound, and for the one
// chosen its input, the monitor it calls a camera to, the camera and its preset.
class AlarmPage : public QWidget {
    Q_OBJECT
public:
    AlarmPage(AutomationFile &work, ui::Dialogs &dialogs, QWidget *parent = nullptr);

    void refresh();
    QListWidget *list() const { return m_list; }

signals:
    void edited();

protected:
    void changeEvent(QEvent *event) override;

private:
    void retranslate();
    void fill(int row);
    void addAlarm();
    void removeAlarm();
    void fieldsEdited();
    void relabel(int row);
    int current() const;

    AutomationFile &m_work;
    ui::Dialogs &m_dialogs;
    QListWidget *m_list;
    QPushButton *m_add;
    QPushButton *m_remove;
    QWidget *m_form;
    QSpinBox *m_fields[4]; // input, monitor, camera, preset
    QLabel *m_labels[4];
    bool m_filling = false;
};

} // namespace automation

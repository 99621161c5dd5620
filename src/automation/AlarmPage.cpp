#include "automation/AlarmPage.h"

#include "automation/AutomationFile.h"
#include "automation/EditorFields.h"

#include <QFormLayout>
#include <QListWidget>

namespace automation {

namespace {
enum Field { Input, Monitor, Camera, Preset };
}

AlarmPage::AlarmPage(AutomationFile &work, ui::Dialogs &dialogs, QWidget *parent)
    : ListPage(QStringLiteral("alarm"), dialogs, parent, 1, 1)
    , m_work(work) {
    m_fields[Input] =
        numberBox(m_form, QStringLiteral("alarmInput"), 1, AutomationFile::alarmInputs);
    m_fields[Monitor] =
        numberBox(m_form, QStringLiteral("alarmMonitor"), 1, AutomationFile::monitors);
    m_fields[Camera] = numberBox(m_form, QStringLiteral("alarmCamera"), 1, AutomationFile::cameras);
    m_fields[Preset] = numberBox(m_form, QStringLiteral("alarmPreset"), 0, AutomationFile::presets,
                                 QStringLiteral("-"));
    auto *form = new QFormLayout(m_form);
    for (int f = 0; f < 4; ++f) {
        m_labels[f] = fieldLabel(m_form, m_fields[f]);
        form->addRow(m_labels[f], m_fields[f]);
        connect(m_fields[f], &QSpinBox::valueChanged, this, &AlarmPage::fieldsEdited);
    }
    retranslate();
    refresh();
}

void AlarmPage::retranslate() {
    m_labels[Input]->setText(tr("Alarm &input:"));
    m_fields[Input]->setAccessibleName(tr("Alarm input"));
    m_labels[Monitor]->setText(tr("&Monitor:"));
    m_fields[Monitor]->setAccessibleName(tr("Monitor the alarm calls up"));
    m_labels[Camera]->setText(tr("C&amera:"));
    m_fields[Camera]->setAccessibleName(tr("Camera the alarm calls up"));
    m_labels[Preset]->setText(tr("&Preset:"));
    m_fields[Preset]->setAccessibleName(tr("Preset the alarm recalls"));
    m_fields[Preset]->setToolTip(tr("- none"));
    retranslateList(tr("Alarm inputs"), tr("&New binding"), tr("&Delete binding"));
}

int AlarmPage::count() const {
    return int(m_work.alarms.size());
}

void AlarmPage::relabel(int row) {
    if (QListWidgetItem *item = list()->item(row)) {
        const AutomationFile::Alarm &a = m_work.alarms[row];
        item->setText(tr("Alarm %1: camera %2 on monitor %3")
                          .arg(QString::number(a.input), QString::number(a.camera),
                               QString::number(a.monitor)));
    }
}

void AlarmPage::fill(int row) {
    if (row < 0)
        return;
    const AutomationFile::Alarm &a = m_work.alarms[row];
    m_filling = true;
    m_fields[Input]->setValue(a.input);
    m_fields[Monitor]->setValue(a.monitor);
    m_fields[Camera]->setValue(a.camera);
    m_fields[Preset]->setValue(a.preset);
    m_filling = false;
}

QWidget *AlarmPage::addEntry() {
    if (m_work.alarms.size() >= AutomationFile::alarmInputs)
        return nullptr;
    AutomationFile::Alarm alarm;
    alarm.input = freeNumber(m_work.alarms, [](const auto &a) { return a.input; });
    alarm.monitor = 1;
    alarm.camera = 1;
    m_work.alarms.append(alarm);
    return m_fields[Input];
}

QString AlarmPage::removeQuestion(int row) const {
    return tr("Delete the binding of alarm %1?").arg(m_work.alarms[row].input);
}

void AlarmPage::removeEntry(int row) {
    m_work.alarms.removeAt(row);
}

void AlarmPage::fieldsEdited() {
    const int row = current();
    if (m_filling || row < 0)
        return;
    m_work.alarms[row] = {m_fields[Input]->value(), m_fields[Monitor]->value(),
                          m_fields[Camera]->value(), m_fields[Preset]->value()};
    relabel(row);
    emit edited();
}

} // namespace automation

#include "automation/AlarmPage.h"

#include "automation/AutomationFile.h"
#include "automation/EditorFields.h"
#include "ui/Dialogs.h"

#include <QEvent>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QListWidget>
#include <QPushButton>
#include <QVBoxLayout>

namespace automation {

namespace {
enum Field { Input, Monitor, Camera, Preset };
}

AlarmPage::AlarmPage(AutomationFile &work, ui::Dialogs &dialogs, QWidget *parent)
    : QWidget(parent)
    , m_work(work)
    , m_dialogs(dialogs)
    , m_list(new QListWidget(this))
    , m_add(new QPushButton(this))
    , m_remove(new QPushButton(this))
    , m_form(new QWidget(this)) {
    m_list->setObjectName(QStringLiteral("alarmList"));
    m_add->setObjectName(QStringLiteral("addAlarm"));
    m_remove->setObjectName(QStringLiteral("removeAlarm"));
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

    auto *buttons = new QHBoxLayout;
    buttons->addWidget(m_add);
    buttons->addWidget(m_remove);
    auto *left = new QVBoxLayout;
    left->addWidget(m_list);
    left->addLayout(buttons);
    auto *layout = new QHBoxLayout(this);
    layout->addLayout(left, 1);
    layout->addWidget(m_form, 1);

    connect(m_list, &QListWidget::currentRowChanged, this, &AlarmPage::fill);
    connect(m_add, &QPushButton::clicked, this, &AlarmPage::addAlarm);
    connect(m_remove, &QPushButton::clicked, this, &AlarmPage::removeAlarm);
    retranslate();
    refresh();
}

void AlarmPage::retranslate() {
    m_list->setAccessibleName(tr("Alarm inputs"));
    m_add->setText(tr("&New binding"));
    m_remove->setText(tr("&Delete binding"));
    m_labels[Input]->setText(tr("Alarm &input:"));
    m_fields[Input]->setAccessibleName(tr("Alarm input"));
    m_labels[Monitor]->setText(tr("&Monitor:"));
    m_fields[Monitor]->setAccessibleName(tr("Monitor the alarm calls up"));
    m_labels[Camera]->setText(tr("C&amera:"));
    m_fields[Camera]->setAccessibleName(tr("Camera the alarm calls up"));
    m_labels[Preset]->setText(tr("&Preset:"));
    m_fields[Preset]->setAccessibleName(tr("Preset the alarm recalls"));
    m_fields[Preset]->setToolTip(tr("- none"));
    for (int row = 0; row < m_list->count(); ++row)
        relabel(row);
}

void AlarmPage::changeEvent(QEvent *event) {
    QWidget::changeEvent(event);
    if (event->type() == QEvent::LanguageChange)
        retranslate();
}

int AlarmPage::current() const {
    const int row = m_list->currentRow();
    return row >= 0 && row < m_work.alarms.size() ? row : -1;
}

void AlarmPage::refresh() {
    const int was = m_list->currentRow();
    m_filling = true;
    m_list->clear();
    for (int row = 0; row < m_work.alarms.size(); ++row) {
        m_list->addItem(QString());
        relabel(row);
    }
    m_filling = false;
    fitWidth(m_list);
    m_list->setCurrentRow(std::min(std::max(was, 0), int(m_work.alarms.size()) - 1));
    fill(m_list->currentRow());
}

void AlarmPage::relabel(int row) {
    if (QListWidgetItem *item = m_list->item(row)) {
        const AutomationFile::Alarm &a = m_work.alarms[row];
        item->setText(tr("Alarm %1: camera %2 on monitor %3")
                          .arg(QString::number(a.input), QString::number(a.camera),
                               QString::number(a.monitor)));
    }
}

void AlarmPage::fill(int row) {
    const bool chosen = row >= 0 && row < m_work.alarms.size();
    m_form->setEnabled(chosen);
    m_remove->setEnabled(chosen);
    if (!chosen)
        return;
    const AutomationFile::Alarm &a = m_work.alarms[row];
    m_filling = true;
    m_fields[Input]->setValue(a.input);
    m_fields[Monitor]->setValue(a.monitor);
    m_fields[Camera]->setValue(a.camera);
    m_fields[Preset]->setValue(a.preset);
    m_filling = false;
}

void AlarmPage::addAlarm() {
    if (m_work.alarms.size() >= AutomationFile::alarmInputs)
        return;
    AutomationFile::Alarm alarm;
    alarm.input = freeNumber(m_work.alarms, [](const auto &a) { return a.input; });
    alarm.monitor = 1;
    alarm.camera = 1;
    m_work.alarms.append(alarm);
    m_list->addItem(QString());
    relabel(int(m_work.alarms.size()) - 1);
    m_list->setCurrentRow(int(m_work.alarms.size()) - 1);
    m_fields[Input]->setFocus();
    emit edited();
}

void AlarmPage::removeAlarm() {
    const int row = current();
    if (row < 0 ||
        !m_dialogs.confirm(tr("Delete the binding of alarm %1?").arg(m_work.alarms[row].input)))
        return;
    m_work.alarms.removeAt(row);
    refresh();
    emit edited();
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

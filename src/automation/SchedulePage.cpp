#include "automation/SchedulePage.h"

#include "automation/AutomationFile.h"
#include "automation/EditorFields.h"

#include <QCheckBox>
#include <QComboBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QListWidget>
#include <QPushButton>
#include <QTimeEdit>

namespace automation {

namespace {
// An action in an item of the action list.
constexpr int kindRole = Qt::UserRole;
constexpr int salvoRole = Qt::UserRole + 1;
constexpr int tourRole = Qt::UserRole + 2;

void addChoice(QComboBox *box, const QString &text, const AutomationFile::Action &action) {
    box->addItem(text);
    const int i = box->count() - 1;
    box->setItemData(i, int(action.kind), kindRole);
    box->setItemData(i, action.salvo, salvoRole);
    box->setItemData(i, action.tour, tourRole);
}

AutomationFile::Action actionAt(const QComboBox *box, int i) {
    return {AutomationFile::Action::Kind(box->itemData(i, kindRole).toInt()),
            box->itemData(i, salvoRole).toString(), box->itemData(i, tourRole).toInt()};
}
} // namespace

SchedulePage::SchedulePage(AutomationFile &work, ui::Dialogs &dialogs, QWidget *parent)
    : ListPage(QStringLiteral("schedule"), dialogs, parent, 2, 3)
    , m_work(work) {
    m_number = numberBox(m_form, QStringLiteral("scheduleNumber"), 1, AutomationFile::maxNumber);
    m_numberLabel = fieldLabel(m_form, m_number);
    m_at = new QTimeEdit(m_form);
    m_at->setObjectName(QStringLiteral("scheduleAt"));
    m_at->setDisplayFormat(QStringLiteral("HH:mm"));
    m_atLabel = fieldLabel(m_form, m_at);
    auto *days = new QHBoxLayout;
    for (int d = 0; d < 7; ++d) {
        m_days[d] = new QCheckBox(m_form);
        m_days[d]->setObjectName(QStringLiteral("scheduleDay%1").arg(d + 1));
        days->addWidget(m_days[d]);
        connect(m_days[d], &QCheckBox::toggled, this, &SchedulePage::fieldsEdited);
    }
    days->addStretch();
    m_daysLabel = fieldLabel(m_form, m_days[0]);
    m_action = new QComboBox(m_form);
    m_action->setObjectName(QStringLiteral("scheduleAction"));
    m_actionLabel = fieldLabel(m_form, m_action);

    auto *grid = new QGridLayout(m_form);
    grid->addWidget(m_numberLabel, 0, 0);
    grid->addWidget(m_number, 0, 1);
    grid->addWidget(m_atLabel, 1, 0);
    grid->addWidget(m_at, 1, 1);
    grid->addWidget(m_daysLabel, 2, 0);
    grid->addLayout(days, 2, 1);
    grid->addWidget(m_actionLabel, 3, 0);
    grid->addWidget(m_action, 3, 1);
    grid->setRowStretch(4, 1);

    connect(m_number, &QSpinBox::valueChanged, this, &SchedulePage::fieldsEdited);
    connect(m_at, &QTimeEdit::timeChanged, this, &SchedulePage::fieldsEdited);
    connect(m_action, &QComboBox::currentIndexChanged, this, &SchedulePage::fieldsEdited);
    retranslate();
    refresh();
}

void SchedulePage::retranslate() {
    m_numberLabel->setText(tr("N&umber:"));
    m_number->setAccessibleName(tr("Number of the entry"));
    m_atLabel->setText(tr("&At:"));
    m_at->setAccessibleName(tr("Time of day"));
    m_daysLabel->setText(tr("Da&ys:"));
    const QString names[7] = {tr("Mon"), tr("Tue"), tr("Wed"), tr("Thu"),
                              tr("Fri"), tr("Sat"), tr("Sun")};
    const QString full[7] = {tr("Monday"), tr("Tuesday"),  tr("Wednesday"), tr("Thursday"),
                             tr("Friday"), tr("Saturday"), tr("Sunday")};
    for (int d = 0; d < 7; ++d) {
        m_days[d]->setText(names[d]);
        m_days[d]->setAccessibleName(full[d]);
    }
    m_actionLabel->setText(tr("Act&ion:"));
    m_action->setAccessibleName(tr("What the entry does"));
    retranslateList(tr("Schedule entries"), tr("&New entry"), tr("&Delete entry"));
    fillActions();
}

void SchedulePage::showEvent(QShowEvent *event) {
    // The salvos and tours may have changed on their pages since.
    QWidget::showEvent(event);
    refresh();
}

int SchedulePage::count() const {
    return int(m_work.schedules.size());
}

void SchedulePage::relabel(int row) {
    QListWidgetItem *item = list()->item(row);
    if (!item)
        return;
    const AutomationFile::Schedule &s = m_work.schedules[row];
    // Days in runs: "Mon-Fri", "Mon,Wed,Sat-Sun".
    QStringList days;
    const QString names[7] = {tr("Mon"), tr("Tue"), tr("Wed"), tr("Thu"),
                              tr("Fri"), tr("Sat"), tr("Sun")};
    for (int d = 0; d < 7; ++d) {
        if (!(s.days & (1u << d)))
            continue;
        int last = d;
        while (last + 1 < 7 && (s.days & (1u << (last + 1))))
            ++last;
        days << (last - d >= 2 ? names[d] + QLatin1Char('-') + names[last] : names[d]);
        if (last - d == 1)
            days << names[last];
        d = last;
    }
    const QString what = s.action.kind == AutomationFile::Action::Kind::Salvo
                             ? tr("salvo %1").arg(s.action.salvo)
                         : s.action.kind == AutomationFile::Action::Kind::TourStart
                             ? tr("start tour %1").arg(s.action.tour)
                             : tr("stop tour %1").arg(s.action.tour);
    item->setText(
        tr("%1 %2 (%3): %4")
            .arg(QString::number(s.number), s.at.toString(QStringLiteral("HH:mm")),
                 s.days == AutomationFile::everyDay ? tr("every day") : days.join(QLatin1Char(',')),
                 what));
}

void SchedulePage::fillActions() {
    const int row = current();
    const bool filling = std::exchange(m_filling, true);
    m_action->clear();
    for (const AutomationFile::Salvo &s : std::as_const(m_work.salvos))
        addChoice(m_action, tr("Recall salvo %1").arg(s.name),
                  {AutomationFile::Action::Kind::Salvo, s.name, 0});
    for (const AutomationFile::Tour &t : std::as_const(m_work.tours)) {
        addChoice(m_action, tr("Start tour %1").arg(t.number),
                  {AutomationFile::Action::Kind::TourStart, {}, t.number});
        addChoice(m_action, tr("Stop tour %1").arg(t.number),
                  {AutomationFile::Action::Kind::TourStop, {}, t.number});
    }
    if (row >= 0) {
        const AutomationFile::Action &a = m_work.schedules[row].action;
        int index = -1;
        for (int i = 0; i < m_action->count() && index < 0; ++i) {
            if (actionAt(m_action, i) == a)
                index = i;
        }
        if (index < 0) {
            // What it names is no longer there: shown as it is, so that the
            // save can say so instead of the entry changing by itself.
            addChoice(m_action, tr("%1 (not there)").arg(AutomationFile::actionText(a)), a);
            index = m_action->count() - 1;
        }
        m_action->setCurrentIndex(index);
    }
    m_filling = filling;
}

void SchedulePage::fill(int row) {
    m_filling = true;
    if (row >= 0) {
        const AutomationFile::Schedule &s = m_work.schedules[row];
        m_number->setValue(s.number);
        m_at->setTime(s.at);
        for (int d = 0; d < 7; ++d)
            m_days[d]->setChecked(s.days & (1u << d));
    }
    fillActions();
    m_filling = false;
}

QWidget *SchedulePage::addEntry() {
    AutomationFile::Schedule entry;
    entry.number = freeNumber(m_work.schedules, [](const auto &s) { return s.number; });
    entry.at = QTime(0, 0);
    if (!m_work.salvos.isEmpty())
        entry.action = {AutomationFile::Action::Kind::Salvo, m_work.salvos.first().name, 0};
    else if (!m_work.tours.isEmpty())
        entry.action = {AutomationFile::Action::Kind::TourStart, {}, m_work.tours.first().number};
    m_work.schedules.append(entry);
    return m_at;
}

QString SchedulePage::removeQuestion(int row) const {
    return tr("Delete schedule entry %1?").arg(m_work.schedules[row].number);
}

void SchedulePage::removeEntry(int row) {
    m_work.schedules.removeAt(row);
}

void SchedulePage::fieldsEdited() {
    const int row = current();
    if (m_filling || row < 0)
        return;
    AutomationFile::Schedule &s = m_work.schedules[row];
    s.number = m_number->value();
    s.at = QTime(m_at->time().hour(), m_at->time().minute());
    s.days = 0;
    for (int d = 0; d < 7; ++d) {
        if (m_days[d]->isChecked())
            s.days |= quint8(1u << d);
    }
    if (m_action->currentIndex() >= 0)
        s.action = actionAt(m_action, m_action->currentIndex());
    relabel(row);
    fitWidth(list());
    emit edited();
}

} // namespace automation

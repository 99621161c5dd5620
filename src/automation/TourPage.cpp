#include "automation/TourPage.h"

#include "automation/AutomationFile.h"
#include "automation/EditorFields.h"

#include <QComboBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QListWidget>
#include <QPushButton>
#include <QTableWidget>

namespace automation {

namespace {
enum Column { CameraColumn, PresetColumn, DwellColumn };
}

TourPage::TourPage(AutomationFile &work, ui::Dialogs &dialogs, QWidget *parent)
    : ListPage(QStringLiteral("tour"), dialogs, parent, 2, 3)
    , m_work(work) {
    m_number = numberBox(m_form, QStringLiteral("tourNumber"), 1, AutomationFile::maxNumber);
    m_numberLabel = fieldLabel(m_form, m_number);
    m_monitor = numberBox(m_form, QStringLiteral("tourMonitor"), 1, AutomationFile::monitors);
    m_monitorLabel = fieldLabel(m_form, m_monitor);
    m_manual = new QComboBox(m_form);
    m_manual->setObjectName(QStringLiteral("tourOnManualRoute"));
    m_manual->addItems({QString(), QString()});
    m_manualLabel = fieldLabel(m_form, m_manual);
    m_steps = new QTableWidget(0, 3, m_form);
    m_steps->setObjectName(QStringLiteral("tourSteps"));
    m_steps->setSelectionBehavior(QAbstractItemView::SelectRows);
    m_steps->setSelectionMode(QAbstractItemView::SingleSelection);
    m_steps->horizontalHeader()->setSectionResizeMode(QHeaderView::Stretch);
    m_steps->setTabKeyNavigation(false);
    m_stepsLabel = fieldLabel(m_form, m_steps);
    m_addStep = new QPushButton(m_form);
    m_addStep->setObjectName(QStringLiteral("addStep"));
    m_removeStep = new QPushButton(m_form);
    m_removeStep->setObjectName(QStringLiteral("removeStep"));
    m_up = new QPushButton(m_form);
    m_up->setObjectName(QStringLiteral("stepUp"));
    m_down = new QPushButton(m_form);
    m_down->setObjectName(QStringLiteral("stepDown"));

    auto *grid = new QGridLayout(m_form);
    grid->addWidget(m_numberLabel, 0, 0);
    grid->addWidget(m_number, 0, 1);
    grid->addWidget(m_monitorLabel, 1, 0);
    grid->addWidget(m_monitor, 1, 1);
    grid->addWidget(m_manualLabel, 2, 0);
    grid->addWidget(m_manual, 2, 1);
    grid->addWidget(m_stepsLabel, 3, 0, 1, 2);
    grid->addWidget(m_steps, 4, 0, 1, 2);
    auto *stepButtons = new QHBoxLayout;
    for (QPushButton *b : {m_addStep, m_removeStep, m_up, m_down})
        stepButtons->addWidget(b);
    grid->addLayout(stepButtons, 5, 0, 1, 2);

    connect(m_number, &QSpinBox::valueChanged, this, &TourPage::fieldsEdited);
    connect(m_monitor, &QSpinBox::valueChanged, this, &TourPage::fieldsEdited);
    connect(m_manual, &QComboBox::currentIndexChanged, this, &TourPage::fieldsEdited);
    connect(m_addStep, &QPushButton::clicked, this, &TourPage::addStep);
    connect(m_removeStep, &QPushButton::clicked, this, &TourPage::removeStep);
    connect(m_up, &QPushButton::clicked, this, [this]() { moveStep(-1); });
    connect(m_down, &QPushButton::clicked, this, [this]() { moveStep(1); });
    retranslate();
    refresh();
}

void TourPage::retranslate() {
    m_numberLabel->setText(tr("N&umber:"));
    m_number->setAccessibleName(tr("Number of the tour"));
    m_monitorLabel->setText(tr("&Monitor:"));
    m_monitor->setAccessibleName(tr("Monitor of the tour"));
    m_manualLabel->setText(tr("When another source r&outes the monitor:"));
    m_manual->setAccessibleName(tr("When another source routes the monitor"));
    m_manual->setItemText(0, tr("hold the tour"));
    m_manual->setItemText(1, tr("stop the tour"));
    m_stepsLabel->setText(tr("St&eps:"));
    m_steps->setAccessibleName(tr("Steps of the tour"));
    m_steps->setHorizontalHeaderLabels({tr("Camera"), tr("Preset"), tr("Dwell")});
    m_addStep->setText(tr("&Add step"));
    m_removeStep->setText(tr("Remove ste&p"));
    m_up->setText(tr("Up"));
    m_up->setAccessibleName(tr("Move the step up"));
    m_down->setText(tr("Down"));
    m_down->setAccessibleName(tr("Move the step down"));
    retranslateList(tr("Tours"), tr("&New tour"), tr("&Delete tour"));
    fillSteps();
}

int TourPage::count() const {
    return int(m_work.tours.size());
}

void TourPage::relabel(int row) {
    if (QListWidgetItem *item = list()->item(row)) {
        const AutomationFile::Tour &t = m_work.tours[row];
        item->setText(tr("Tour %1: monitor %2, %3 steps")
                          .arg(QString::number(t.number), QString::number(t.monitor),
                               QString::number(t.steps.size())));
    }
}

void TourPage::fill(int row) {
    m_filling = true;
    if (row >= 0) {
        const AutomationFile::Tour &t = m_work.tours[row];
        m_number->setValue(t.number);
        m_monitor->setValue(t.monitor);
        m_manual->setCurrentIndex(t.onManualRoute == AutomationFile::OnManualRoute::Stop ? 1 : 0);
    }
    m_filling = false;
    fillSteps();
}

void TourPage::fillSteps() {
    const int row = current();
    const QList<AutomationFile::Step> steps =
        row < 0 ? QList<AutomationFile::Step>() : m_work.tours[row].steps;
    const int selected = m_steps->currentRow();
    m_filling = true;
    m_steps->setRowCount(int(steps.size()));
    for (int i = 0; i < steps.size(); ++i) {
        QSpinBox *boxes[3] = {
            numberBox(m_steps, QStringLiteral("stepCamera%1").arg(i + 1), 1,
                      AutomationFile::cameras),
            numberBox(m_steps, QStringLiteral("stepPreset%1").arg(i + 1), 0,
                      AutomationFile::presets, QStringLiteral("-")),
            numberBox(m_steps, QStringLiteral("stepDwell%1").arg(i + 1), 1,
                      AutomationFile::maxDwellSeconds),
        };
        boxes[CameraColumn]->setValue(steps[i].camera);
        boxes[CameraColumn]->setAccessibleName(tr("Camera of step %1").arg(i + 1));
        boxes[PresetColumn]->setValue(steps[i].preset);
        boxes[PresetColumn]->setAccessibleName(tr("Preset of step %1").arg(i + 1));
        boxes[DwellColumn]->setValue(steps[i].dwell);
        boxes[DwellColumn]->setSuffix(tr(" s"));
        boxes[DwellColumn]->setAccessibleName(tr("Dwell of step %1 in seconds").arg(i + 1));
        m_steps->setVerticalHeaderItem(i, new QTableWidgetItem(QString::number(i + 1)));
        for (int c = 0; c < 3; ++c) {
            m_steps->setCellWidget(i, c, boxes[c]);
            connect(boxes[c], &QSpinBox::valueChanged, this, &TourPage::stepsEdited);
        }
    }
    // Tab goes from the list of steps through each step's fields, then on
    // to the step buttons.
    QWidget *previous = m_steps;
    for (int i = 0; i < steps.size(); ++i) {
        for (int c = 0; c < 3; ++c) {
            QWidget::setTabOrder(previous, m_steps->cellWidget(i, c));
            previous = m_steps->cellWidget(i, c);
        }
    }
    QWidget::setTabOrder(previous, m_addStep);
    if (!steps.isEmpty())
        m_steps->setCurrentCell(std::clamp(selected, 0, int(steps.size()) - 1), 0);
    m_filling = false;
    const bool any = !steps.isEmpty();
    m_removeStep->setEnabled(any);
    m_up->setEnabled(any);
    m_down->setEnabled(any);
}

QWidget *TourPage::addEntry() {
    AutomationFile::Tour tour;
    tour.number = freeNumber(m_work.tours, [](const auto &t) { return t.number; });
    tour.monitor = 1;
    tour.steps = {{1, 0, 10}};
    m_work.tours.append(tour);
    return m_monitor;
}

QString TourPage::removeQuestion(int row) const {
    return tr("Delete tour %1?").arg(m_work.tours[row].number);
}

void TourPage::removeEntry(int row) {
    m_work.tours.removeAt(row);
}

void TourPage::fieldsEdited() {
    const int row = current();
    if (m_filling || row < 0)
        return;
    AutomationFile::Tour &t = m_work.tours[row];
    // The schedules that start and stop it follow its new number.
    if (t.number != m_number->value()) {
        for (AutomationFile::Schedule &s : m_work.schedules) {
            if (s.action.kind != AutomationFile::Action::Kind::Salvo && s.action.tour == t.number)
                s.action.tour = m_number->value();
        }
    }
    t.number = m_number->value();
    t.monitor = m_monitor->value();
    t.onManualRoute = m_manual->currentIndex() == 1 ? AutomationFile::OnManualRoute::Stop
                                                    : AutomationFile::OnManualRoute::Hold;
    relabel(row);
    emit edited();
}

void TourPage::stepsEdited() {
    const int row = current();
    if (m_filling || row < 0)
        return;
    QList<AutomationFile::Step> steps;
    for (int i = 0; i < m_steps->rowCount(); ++i) {
        const auto value = [this, i](int column) {
            return static_cast<QSpinBox *>(m_steps->cellWidget(i, column))->value();
        };
        steps.append({value(CameraColumn), value(PresetColumn), value(DwellColumn)});
    }
    m_work.tours[row].steps = steps;
    relabel(row);
    emit edited();
}

void TourPage::addStep() {
    const int row = current();
    if (row < 0 || m_work.tours[row].steps.size() >= AutomationFile::maxSteps)
        return;
    QList<AutomationFile::Step> &steps = m_work.tours[row].steps;
    // A copy of the step chosen, after it: a tour is mostly one dwell.
    const int at = m_steps->currentRow() < 0 ? int(steps.size()) : m_steps->currentRow() + 1;
    steps.insert(at, steps.isEmpty() ? AutomationFile::Step{1, 0, 10} : steps[at - 1]);
    fillSteps();
    m_steps->setCurrentCell(at, CameraColumn);
    m_steps->cellWidget(at, CameraColumn)->setFocus();
    relabel(row);
    emit edited();
}

void TourPage::removeStep() {
    const int row = current();
    const int step = m_steps->currentRow();
    if (row < 0 || step < 0 || step >= m_work.tours[row].steps.size())
        return;
    m_work.tours[row].steps.removeAt(step);
    fillSteps();
    relabel(row);
    emit edited();
}

void TourPage::moveStep(int by) {
    const int row = current();
    const int step = m_steps->currentRow();
    if (row < 0 || step < 0)
        return;
    QList<AutomationFile::Step> &steps = m_work.tours[row].steps;
    const int to = step + by;
    if (to < 0 || to >= steps.size())
        return;
    steps.swapItemsAt(step, to);
    fillSteps();
    m_steps->setCurrentCell(to, CameraColumn);
    emit edited();
}

} // namespace automation

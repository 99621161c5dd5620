#include "app/frmControlRoom.h"

#include "automation/Automation.h"
#include "config/CameraModel.h"
#include "link/Operations.h"
#include "ui/SettingsStore.h"

#include <QCloseEvent>
#include <QDialogButtonBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QShortcut>
#include <QTableWidget>
#include <QVBoxLayout>

namespace app {

namespace {
const QString windows = QStringLiteral("Windows");
const devicelink::Origin panel{devicelink::Origin::Kind::Panel};

enum MonitorColumn { Monitor, Camera, Lock, Tour, Alarm, MonitorColumns };
enum TourAction { Start, Hold, Next, Back, Stop, TourActions };
enum CameraColumn { Number, Title, Holder, CameraColumns };

QTableWidget *makeTable(QWidget *parent, const char *name, int rows, int columns) {
    auto *table = new QTableWidget(rows, columns, parent);
    table->setObjectName(QLatin1String(name));
    table->setEditTriggers(QAbstractItemView::NoEditTriggers);
    table->setSelectionBehavior(QAbstractItemView::SelectRows);
    table->setSelectionMode(QAbstractItemView::SingleSelection);
    table->verticalHeader()->setVisible(false);
    // Every column as wide as its texts; the one with titles takes the rest.
    table->horizontalHeader()->setSectionResizeMode(QHeaderView::ResizeToContents);
    table->horizontalHeader()->setSectionResizeMode(1, QHeaderView::Stretch);
    table->setWordWrap(false);
    for (int row = 0; row < rows; ++row) {
        for (int column = 0; column < columns; ++column)
            table->setItem(row, column, new QTableWidgetItem);
    }
    return table;
}

// A cell's text, whole in its tooltip should the column be narrow. Texts
// from outside (titles, a client's name) are shown as they are, never read
// as markup.
void setCell(QTableWidget *table, int row, int column, const QString &text) {
    QTableWidgetItem *item = table->item(row, column);
    item->setText(text);
    item->setToolTip(text);
}
} // namespace

frmControlRoom::frmControlRoom(devicelink::Operations &operations,
                               automation::Automation *automation, config::CameraModel &cameras,
                               ui::SettingsStore &settings, QWidget *parent)
    : QWidget(parent, Qt::Window)
    , m_operations(operations)
    , m_automation(automation)
    , m_titles(cameras)
    , m_settings(settings)
    , m_monitors(makeTable(this, "monitorList", devicelink::Switcher::monitors, MonitorColumns))
    , m_cameras(makeTable(this, "cameraList", devicelink::Switcher::cameras, CameraColumns)) {
    setObjectName(QStringLiteral("frmControlRoom"));
    auto *buttons = new QDialogButtonBox(this);
    m_lock = buttons->addButton(QString(), QDialogButtonBox::ActionRole);
    m_lock->setObjectName(QStringLiteral("Lock"));
    m_unlock = buttons->addButton(QString(), QDialogButtonBox::ActionRole);
    m_unlock->setObjectName(QStringLiteral("Unlock"));
    m_close = buttons->addButton(QDialogButtonBox::Close);
    m_close->setObjectName(QStringLiteral("close"));
    connect(m_lock, &QPushButton::clicked, this, &frmControlRoom::Lock_Click);
    connect(m_unlock, &QPushButton::clicked, this, &frmControlRoom::Unlock_Click);
    connect(buttons, &QDialogButtonBox::rejected, this, &QWidget::close);
    auto *escape = new QShortcut(QKeySequence(Qt::Key_Escape), this);
    connect(escape, &QShortcut::activated, this, &QWidget::close);

    // The tours' and alarms' row, under the monitors.
    auto *automationRow = new QDialogButtonBox(this);
    const char *tourNames[] = {"StartTour", "HoldTour", "NextStep", "PreviousStep", "StopTour"};
    for (int action = 0; action < TourActions; ++action) {
        QPushButton *button = automationRow->addButton(QString(), QDialogButtonBox::ActionRole);
        button->setObjectName(QLatin1String(tourNames[action]));
        connect(button, &QPushButton::clicked, this, [this, action] { Tour_Click(action); });
        m_tourButtons.append(button);
    }
    m_acknowledge = automationRow->addButton(QString(), QDialogButtonBox::ActionRole);
    m_acknowledge->setObjectName(QStringLiteral("Acknowledge"));
    connect(m_acknowledge, &QPushButton::clicked, this, &frmControlRoom::Acknowledge_Click);
    m_editor = automationRow->addButton(QString(), QDialogButtonBox::ActionRole);
    m_editor->setObjectName(QStringLiteral("Automation"));
    connect(m_editor, &QPushButton::clicked, this, &frmControlRoom::editorWanted);

    auto *layout = new QVBoxLayout(this);
    layout->addWidget(m_monitors, 1);
    layout->addWidget(automationRow);
    layout->addWidget(m_cameras, 3);
    layout->addWidget(buttons);
    m_monitors->setCurrentCell(0, 0);

    connect(&operations, &devicelink::Switcher::monitorChanged, this, &frmControlRoom::showMonitor);
    connect(&operations, &devicelink::Switcher::cameraHolderChanged, this,
            &frmControlRoom::showCamera);
    connect(&cameras, &config::CameraModel::titleChanged, this, [this](int camera) {
        showCamera(camera);
        for (int m = 1; m <= devicelink::Switcher::monitors; ++m) {
            if (m_operations.monitor(m).camera == camera)
                showMonitor(m);
        }
    });
    if (m_automation) {
        connect(m_automation, &automation::Automation::tourChanged, this, [this](int tour) {
            for (const automation::Automation::TourState &t : m_automation->tours()) {
                if (t.tour == tour)
                    showMonitor(t.monitor);
            }
        });
        connect(m_automation, &automation::Automation::alarmChanged, this, [this](int input) {
            for (const automation::Automation::AlarmState &a : m_automation->alarms()) {
                if (a.input == input)
                    showMonitor(a.monitor);
            }
        });
    }
    m_refresh.setTimerType(Qt::PreciseTimer);
    m_refresh.setInterval(refreshMs);
    connect(&m_refresh, &QTimer::timeout, this, [this] {
        for (int c = 1; c <= devicelink::Switcher::cameras; ++c)
            showCamera(c);
    });

    retranslate();
    const QByteArray geometry = QByteArray::fromBase64(
        m_settings.value(windows, QStringLiteral("ControlRoomGeometry")).toLatin1());
    if (geometry.isEmpty() || !restoreGeometry(geometry)) {
        // Every row in view at first, each text whole.
        const int rows = devicelink::Switcher::cameras + devicelink::Switcher::monitors + 6;
        resize(qMax(sizeHint().width(), m_cameras->fontMetrics().averageCharWidth() * 80),
               m_cameras->verticalHeader()->defaultSectionSize() * rows);
    }
}

void frmControlRoom::retranslate() {
    setWindowTitle(tr("Control Room"));
    m_monitors->setHorizontalHeaderLabels(
        {tr("Monitor"), tr("Camera"), tr("Locked by"), tr("Tour"), tr("Alarm")});
    m_cameras->setHorizontalHeaderLabels({tr("Camera"), tr("Title"), tr("Driven by")});
    m_monitors->setAccessibleName(tr("Monitors, their cameras and locks"));
    m_cameras->setAccessibleName(tr("Cameras and who drives them"));
    m_lock->setText(tr("&Lock"));
    m_lock->setToolTip(tr("Locks the monitor chosen above for this panel (L after its number on "
                          "the panel)"));
    m_unlock->setText(tr("&Unlock"));
    m_unlock->setToolTip(tr("Unlocks the monitor chosen above"));
    m_close->setText(tr("&Close"));
    const QString tourTexts[] = {tr("&Start tour"), tr("&Hold"), tr("&Next step"),
                                 tr("&Previous step"), tr("S&top tour")};
    const QString tourTips[] = {
        tr("Starts the tour of the monitor chosen above, or resumes it (T after its number)"),
        tr("Holds the tour on its step (H after its number)"),
        tr("One step on (N after its number)"), tr("One step back (B after its number)"),
        tr("Stops the tour (X after its number)")};
    for (int action = 0; action < TourActions; ++action) {
        m_tourButtons[action]->setText(tourTexts[action]);
        m_tourButtons[action]->setToolTip(tourTips[action]);
    }
    m_acknowledge->setText(tr("Ac&knowledge"));
    m_acknowledge->setToolTip(tr("Acknowledges the alarm shown on the monitor chosen above (A "
                                 "after its input's number, or A alone)"));
    m_editor->setText(tr("&Automation..."));
    m_editor->setToolTip(tr("Salvos, tours, alarm inputs and schedules (automation.ini)"));
    showAll();
}

void frmControlRoom::showAll() {
    for (int m = 1; m <= devicelink::Switcher::monitors; ++m)
        showMonitor(m);
    for (int c = 1; c <= devicelink::Switcher::cameras; ++c)
        showCamera(c);
}

void frmControlRoom::showMonitor(int monitor) {
    if (monitor < 1 || monitor > devicelink::Switcher::monitors)
        return;
    const devicelink::Switcher::MonitorState state = m_operations.monitor(monitor);
    const int row = monitor - 1;
    setCell(m_monitors, row, Monitor, QString::number(monitor));
    QString camera;
    if (state.camera > 0) {
        camera = tr("%1 %2").arg(state.camera).arg(m_titles.title(state.camera));
        if (state.stale)
            camera = tr("%1 (not confirmed)").arg(camera);
    } else {
        camera = tr("not known");
    }
    setCell(m_monitors, row, Camera, camera);
    setCell(m_monitors, row, Lock, state.lockHolder.isEmpty() ? tr("free") : state.lockHolder);
    QString tour;
    QString alarm;
    if (m_automation) {
        using Run = automation::Automation::TourState::Run;
        for (const automation::Automation::TourState &t : m_automation->tours()) {
            if (t.monitor != monitor || t.run == Run::Stopped)
                continue;
            tour = t.run == Run::Held
                       ? tr("%1: held on step %2 of %3").arg(t.tour).arg(t.step).arg(t.steps)
                       : tr("%1: step %2 of %3").arg(t.tour).arg(t.step).arg(t.steps);
        }
        QStringList alarms;
        for (const automation::Automation::AlarmState &a : m_automation->alarms()) {
            if (a.monitor != monitor || (!a.active && a.acknowledged) || !a.bound)
                continue;
            if (!a.active && !a.shown && a.acknowledged)
                continue;
            QString said = a.shown ? tr("%1 shown").arg(a.input) : tr("%1 waiting").arg(a.input);
            if (a.acknowledged)
                said = tr("%1, seen").arg(said);
            else if (!a.active)
                said = tr("%1, cleared").arg(said);
            alarms << said;
        }
        alarm = alarms.join(QStringLiteral("; "));
    }
    setCell(m_monitors, row, Tour, tour);
    setCell(m_monitors, row, Alarm, alarm);
}

int frmControlRoom::chosenTour() const {
    const int monitor = chosenMonitor();
    if (!m_automation || monitor == 0)
        return 0;
    // The tour running or held there, else the first one for that monitor.
    int first = 0;
    for (const automation::Automation::TourState &t : m_automation->tours()) {
        if (t.monitor != monitor)
            continue;
        if (t.run != automation::Automation::TourState::Run::Stopped)
            return t.tour;
        if (first == 0)
            first = t.tour;
    }
    return first;
}

void frmControlRoom::Tour_Click(int action) {
    const int tour = chosenTour();
    if (tour == 0)
        return;
    switch (action) {
    case Start:
        m_automation->startTour(tour, panel);
        break;
    case Hold:
        m_automation->holdTour(tour, panel);
        break;
    case Next:
    case Back:
        m_automation->stepTour(tour, action == Next ? 1 : -1, panel);
        break;
    default:
        m_automation->stopTour(tour, panel);
        break;
    }
}

void frmControlRoom::Acknowledge_Click() {
    const int monitor = chosenMonitor();
    if (!m_automation || monitor == 0)
        return;
    for (const automation::Automation::AlarmState &a : m_automation->alarms()) {
        if (a.monitor == monitor && a.shown && !a.acknowledged) {
            m_automation->acknowledgeAlarm(a.input, panel);
            return;
        }
    }
}

void frmControlRoom::showCamera(int camera) {
    if (camera < 1 || camera > devicelink::Switcher::cameras)
        return;
    const int row = camera - 1;
    setCell(m_cameras, row, Number, QString::number(camera));
    setCell(m_cameras, row, Title, m_titles.title(camera));
    const QString holder = m_operations.cameraHolder(camera);
    setCell(m_cameras, row, Holder, holder.isEmpty() ? tr("nobody") : holder);
}

int frmControlRoom::chosenMonitor() const {
    const int row = m_monitors->currentRow();
    return row < 0 ? 0 : row + 1;
}

void frmControlRoom::Lock_Click() {
    // Another's lock is taken over when the panel weighs more; the status
    // bar says why when it does not.
    if (const int monitor = chosenMonitor(); monitor > 0)
        m_operations.lockMonitor(monitor, panel,
                                 !m_operations.monitor(monitor).lockHolder.isEmpty());
}

void frmControlRoom::Unlock_Click() {
    if (const int monitor = chosenMonitor(); monitor > 0) {
        const QString holder = m_operations.monitor(monitor).lockHolder;
        m_operations.unlockMonitor(monitor, panel, !holder.isEmpty() && holder != panel.source());
    }
}

void frmControlRoom::changeEvent(QEvent *event) {
    QWidget::changeEvent(event);
    if (event->type() == QEvent::LanguageChange)
        retranslate();
}

void frmControlRoom::showEvent(QShowEvent *event) {
    QWidget::showEvent(event);
    showAll();
    m_refresh.start();
}

void frmControlRoom::hideEvent(QHideEvent *event) {
    QWidget::hideEvent(event);
    m_refresh.stop();
}

void frmControlRoom::closeEvent(QCloseEvent *event) {
    m_settings.setValue(windows, QStringLiteral("ControlRoomGeometry"),
                        QString::fromLatin1(saveGeometry().toBase64()));
    QWidget::closeEvent(event);
}

} // namespace app

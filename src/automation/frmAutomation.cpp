#include "automation/frmAutomation.h"

#include "automation/AlarmPage.h"
#include "automation/Engine.h"
#include "automation/SalvoPage.h"
#include "automation/SchedulePage.h"
#include "automation/TourPage.h"
#include "ui/Dialogs.h"
#include "ui/SettingsStore.h"

#include <QCloseEvent>
#include <QDialogButtonBox>
#include <QFileInfo>
#include <QKeySequence>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QShortcut>
#include <QTabWidget>
#include <QVBoxLayout>

namespace automation {

namespace {
const QString windows = QStringLiteral("Windows");
}

frmAutomation::frmAutomation(Engine &engine, const devicelink::Switcher &switcher,
                             ui::Dialogs &dialogs, ui::SettingsStore &settings, QWidget *parent)
    : QWidget(parent, Qt::Window)
    , m_engine(engine)
    , m_dialogs(dialogs)
    , m_settings(settings)
    , m_work(engine.setup())
    , m_fileState(new QLabel(this))
    , m_problems(new QListWidget(this))
    , m_tabs(new QTabWidget(this))
    , m_status(new QLabel(this)) {
    setObjectName(QStringLiteral("frmAutomation"));
    m_fileState->setObjectName(QStringLiteral("fileState"));
    m_fileState->setWordWrap(true);
    m_problems->setObjectName(QStringLiteral("problems"));
    m_tabs->setObjectName(QStringLiteral("automationTabs"));
    m_status->setObjectName(QStringLiteral("status"));
    m_status->setWordWrap(true);

    m_salvos = new SalvoPage(m_work, switcher, dialogs, m_tabs);
    m_tours = new TourPage(m_work, dialogs, m_tabs);
    m_alarms = new AlarmPage(m_work, dialogs, m_tabs);
    m_schedules = new SchedulePage(m_work, dialogs, m_tabs);
    m_tabs->addTab(m_salvos, QString());
    m_tabs->addTab(m_tours, QString());
    m_tabs->addTab(m_alarms, QString());
    m_tabs->addTab(m_schedules, QString());
    connect(m_salvos, &SalvoPage::edited, this, &frmAutomation::edited);
    connect(m_salvos, &SalvoPage::said, this, [this](const QString &text) { say(text); });
    connect(m_tours, &TourPage::edited, this, &frmAutomation::edited);
    connect(m_alarms, &AlarmPage::edited, this, &frmAutomation::edited);
    connect(m_schedules, &SchedulePage::edited, this, &frmAutomation::edited);

    auto *buttons = new QDialogButtonBox(this);
    m_save = buttons->addButton(QDialogButtonBox::Save);
    m_save->setObjectName(QStringLiteral("save"));
    m_reload = buttons->addButton(QString(), QDialogButtonBox::ResetRole);
    m_reload->setObjectName(QStringLiteral("reload"));
    m_close = buttons->addButton(QDialogButtonBox::Close);
    m_close->setObjectName(QStringLiteral("close"));
    connect(m_save, &QPushButton::clicked, this, &frmAutomation::save);
    connect(m_reload, &QPushButton::clicked, this, &frmAutomation::reload);
    connect(m_close, &QPushButton::clicked, this, &QWidget::close);
    connect(new QShortcut(QKeySequence(Qt::Key_Escape), this), &QShortcut::activated, this,
            &QWidget::close);
    connect(new QShortcut(QKeySequence::Save, this), &QShortcut::activated, this,
            &frmAutomation::save);

    auto *layout = new QVBoxLayout(this);
    layout->addWidget(m_fileState);
    layout->addWidget(m_problems);
    layout->addWidget(m_tabs, 1);
    layout->addWidget(m_status);
    layout->addWidget(buttons);

    retranslate();
    showFileState();
    const QByteArray geometry = QByteArray::fromBase64(
        m_settings.value(windows, QStringLiteral("AutomationGeometry")).toLatin1());
    if (geometry.isEmpty() || !restoreGeometry(geometry))
        resize(sizeHint().expandedTo(
            QSize(fontMetrics().averageCharWidth() * 90, fontMetrics().height() * 28)));
    bool ok = false;
    const int tab = m_settings.value(windows, QStringLiteral("AutomationTab")).toInt(&ok);
    if (ok && tab >= 0 && tab < m_tabs->count())
        m_tabs->setCurrentIndex(tab);
    // The file read again elsewhere: shown here unless there are changes.
    connect(&m_engine, &Engine::setupChanged, this, [this]() {
        if (m_modified)
            return;
        m_work = m_engine.setup();
        m_salvos->refresh();
        m_tours->refresh();
        m_alarms->refresh();
        m_schedules->refresh();
        showFileState();
    });
}

frmAutomation::~frmAutomation() {
    m_settings.setValue(windows, QStringLiteral("AutomationGeometry"),
                        QString::fromLatin1(saveGeometry().toBase64()));
    m_settings.setValue(windows, QStringLiteral("AutomationTab"),
                        QString::number(m_tabs->currentIndex()));
}

void frmAutomation::retranslate() {
    const QString name = QFileInfo(m_engine.filePath()).fileName();
    setWindowTitle(tr("Automation - %1").arg(name) +
                   (m_modified ? QStringLiteral(" *") : QString()));
    m_tabs->setTabText(0, tr("Sal&vos"));
    m_tabs->setTabText(1, tr("&Tours"));
    m_tabs->setTabText(2, tr("A&larms"));
    m_tabs->setTabText(3, tr("Sc&hedules"));
    m_tabs->setAccessibleName(tr("Salvos, tours, alarms and schedules"));
    m_problems->setAccessibleName(tr("Lines of the file that were left out"));
    m_status->setAccessibleName(tr("What the last action did"));
    m_save->setText(tr("&Save"));
    m_save->setToolTip(tr("Writes %1 and applies it at once (Ctrl+S)").arg(name));
    m_reload->setText(tr("&Read the file again"));
    m_reload->setToolTip(tr("Reads %1 as it is now, after editing it by hand").arg(name));
    m_close->setText(tr("&Close"));
    showFileState();
}

void frmAutomation::changeEvent(QEvent *event) {
    QWidget::changeEvent(event);
    if (event->type() == QEvent::LanguageChange)
        retranslate();
}

void frmAutomation::showFileState() {
    const QString path = m_engine.filePath();
    QString state;
    switch (m_engine.fileState()) {
    case Engine::FileState::Missing:
        state = tr("%1 does not exist yet; Save makes it.").arg(path);
        break;
    case Engine::FileState::Unreadable:
        state = tr("%1 is there but cannot be read (%2); it is not replaced.")
                    .arg(path, m_engine.fileReason());
        break;
    case Engine::FileState::Readable:
        state = path;
        break;
    }
    const AutomationFile &read = m_engine.setup();
    const int left = m_saved ? 0 : int(read.problems.size()) + read.problemsNotKept;
    m_problems->clear();
    if (left > 0) {
        state += QLatin1Char(' ') + tr("Lines left out when it was read: %1").arg(left);
        for (const AutomationFile::Problem &p : read.problems)
            m_problems->addItem(tr("line %1: %2").arg(QString::number(p.line), p.what));
        if (read.problemsNotKept > 0)
            m_problems->addItem(tr("and %1 more").arg(read.problemsNotKept));
    }
    m_problems->setVisible(left > 0);
    // As tall as its rows, up to five.
    m_problems->setFixedHeight(m_problems->sizeHintForRow(0) *
                                   std::clamp(m_problems->count(), 1, 5) +
                               2 * m_problems->frameWidth());
    m_fileState->setText(state);
    m_save->setEnabled(m_engine.fileState() != Engine::FileState::Unreadable);
}

void frmAutomation::edited() {
    if (!m_modified) {
        m_modified = true;
        retranslate();
    }
}

void frmAutomation::say(const QString &text, bool fault) {
    m_status->setText(text);
    m_status->setStyleSheet(fault ? QStringLiteral("color: #b00000;") : QString());
}

bool frmAutomation::save() {
    const QString name = QFileInfo(m_engine.filePath()).fileName();
    const AutomationFile &read = m_engine.setup();
    const int left = int(read.problems.size()) + read.problemsNotKept;
    if (!m_saved && left > 0 &&
        !m_dialogs.confirm(tr("%1 lines of %2 were left out when it was read. Saving writes the "
                              "file without them. Save?")
                               .arg(QString::number(left), name)))
        return false;
    const QString fault = m_engine.save(m_work);
    if (!fault.isEmpty()) {
        say(tr("Not saved: %1").arg(fault), true);
        return false;
    }
    m_saved = true;
    m_modified = false;
    m_work = m_engine.setup();
    retranslate();
    say(tr("Saved to %1 and applied").arg(name));
    return true;
}

void frmAutomation::reload() {
    if (m_modified && !m_dialogs.confirm(tr("Drop the changes that are not saved?")))
        return;
    m_modified = false;
    m_saved = false;
    m_engine.reload();
    m_work = m_engine.setup();
    m_salvos->refresh();
    m_tours->refresh();
    m_alarms->refresh();
    m_schedules->refresh();
    retranslate();
    say(tr("Read again"));
}

void frmAutomation::closeEvent(QCloseEvent *event) {
    if (m_modified) {
        const QString name = QFileInfo(m_engine.filePath()).fileName();
        switch (m_dialogs.message(tr("Save the changes to %1?").arg(name),
                                  ui::Dialogs::Buttons::YesNoCancel, ui::Dialogs::Icon::Question)) {
        case ui::Dialogs::Answer::Yes:
            if (!save()) {
                event->ignore();
                return;
            }
            break;
        case ui::Dialogs::Answer::No:
            break;
        default:
            event->ignore();
            return;
        }
    }
    QWidget::closeEvent(event);
}

} // namespace automation

#include "events/HistoryView.h"

#include "events/EventQuery.h"
#include "events/HistoryModel.h"
#include "link/Clock.h"
#include "ui/Dialogs.h"
#include "ui/PlainText.h"

#include <QDateTimeEdit>
#include <QDir>
#include <QEvent>
#include <QFileInfo>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTableView>
#include <QVBoxLayout>

namespace events {

struct HistoryView::Found {
    std::vector<Record> records;
    QString error;
    bool more = false;
};

namespace {
template <typename W> W *named(W *widget, const char *name) {
    widget->setObjectName(QLatin1String(name));
    return widget;
}

void describe(QWidget *widget, const QString &description) {
    widget->setToolTip(description);
    widget->setAccessibleDescription(description);
}
} // namespace

HistoryView::HistoryView(const QString &logPath, ui::Dialogs &dialogs,
                         const devicelink::Clock &clock, QWidget *parent)
    : QWidget(parent)
    , m_path(logPath)
    , m_dialogs(dialogs)
    , m_clock(clock)
    , m_model(new HistoryModel(this))
    , m_latest(std::make_shared<std::atomic<qint64>>(0)) {
    setObjectName(QStringLiteral("history"));
    const QString format = QStringLiteral("yyyy-MM-dd HH:mm:ss");
    m_from = named(new QDateTimeEdit, "historyFrom");
    m_to = named(new QDateTimeEdit, "historyTo");
    for (QDateTimeEdit *edit : {m_from, m_to}) {
        edit->setDisplayFormat(format);
        edit->setCalendarPopup(true);
    }
    // The last hour, its end the moment of each search until one is chosen.
    const QDateTime now = QDateTime::fromMSecsSinceEpoch(m_clock.now());
    setRange(now.addSecs(-3600), now);
    m_toChosen = false;
    connect(m_to, &QDateTimeEdit::dateTimeChanged, this, [this] {
        if (!m_settingRange)
            m_toChosen = true;
    });
    m_filter = named(new QLineEdit, "historyFilter");
    m_filter->setClearButtonEnabled(true);
    m_find = named(new QPushButton, "historyFind");
    m_export = named(new QPushButton, "historyExport");
    m_status = named(ui::plainLabel(new QLabel), "historyStatus");

    m_table = new QTableView(this);
    m_table->setObjectName(QStringLiteral("historyTable"));
    m_table->setModel(m_model);
    m_table->setSelectionBehavior(QAbstractItemView::SelectRows);
    m_table->setWordWrap(false);
    m_table->setAlternatingRowColors(true);
    m_table->verticalHeader()->hide();
    // One height for every row: nothing is measured per row, however many.
    m_table->verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    m_table->verticalHeader()->setDefaultSectionSize(fontMetrics().height() + 4);
    m_table->horizontalHeader()->setStretchLastSection(true);
    const int digit = fontMetrics().horizontalAdvance(QLatin1Char('0'));
    m_table->setColumnWidth(HistoryModel::Time, 22 * digit);
    m_table->setColumnWidth(HistoryModel::Direction, 9 * digit);
    m_table->setColumnWidth(HistoryModel::Channel, 13 * digit);
    m_table->setColumnWidth(HistoryModel::Origin, 12 * digit);
    m_table->setColumnWidth(HistoryModel::Bytes, 14 * digit);

    m_fromLabel = new QLabel;
    m_fromLabel->setBuddy(m_from);
    m_toLabel = new QLabel;
    m_toLabel->setBuddy(m_to);
    m_filterLabel = new QLabel;
    m_filterLabel->setBuddy(m_filter);
    // Two rows, so that the traffic window's width takes it at any scale.
    auto *range = new QHBoxLayout;
    range->addWidget(m_fromLabel);
    range->addWidget(m_from);
    range->addSpacing(fontMetrics().horizontalAdvance(QLatin1Char('0')));
    range->addWidget(m_toLabel);
    range->addWidget(m_to);
    range->addStretch();
    auto *search = new QHBoxLayout;
    search->addWidget(m_filterLabel);
    search->addWidget(m_filter, 1);
    search->addWidget(m_find);
    search->addWidget(m_export);
    auto *layout = new QVBoxLayout(this);
    layout->addLayout(range);
    layout->addLayout(search);
    layout->addWidget(m_table);
    layout->addWidget(m_status);

    connect(m_find, &QPushButton::clicked, this, &HistoryView::find);
    connect(m_filter, &QLineEdit::returnPressed, this, &HistoryView::find);
    connect(m_export, &QPushButton::clicked, this, &HistoryView::Export_Click);

    m_thread.setObjectName(QStringLiteral("event history"));
    m_reader.moveToThread(&m_thread);
    m_thread.start();
    retranslate();
}

void HistoryView::retranslate() {
    describe(m_from, tr("The first time searched"));
    describe(m_to, tr("The last time searched"));
    describe(m_filter, tr("Shows only the rows whose meaning, origin or channel holds this text"));
    //: The event log's own words, which the filter finds: keep them as they are.
    m_filter->setPlaceholderText(tr("camera 5, monitor 2, keyboard, Com1..."));
    m_find->setText(tr("&Find"));
    describe(m_find, tr("Searches the event log for the rows of the range"));
    m_export->setText(tr("E&xport..."));
    describe(m_export, tr("Saves the rows found as CSV"));
    describe(m_status, tr("What the search found"));
    if (m_statusText)
        m_status->setText(m_statusText());
    m_table->setAccessibleName(tr("Events found"));
    m_fromLabel->setText(tr("F&rom"));
    m_toLabel->setText(tr("&To"));
    m_filterLabel->setText(tr("F&ilter"));
    // A label's own width is rounded down at some scales; a digit's room keeps
    // its last letter whole.
    const int digit = fontMetrics().horizontalAdvance(QLatin1Char('0'));
    for (QLabel *label : {m_fromLabel, m_toLabel, m_filterLabel}) {
        label->setMinimumWidth(0);
        label->setMinimumWidth(label->sizeHint().width() + digit);
    }
}

void HistoryView::changeEvent(QEvent *event) {
    QWidget::changeEvent(event);
    if (event->type() == QEvent::LanguageChange) {
        retranslate();
        m_model->retranslate();
    }
}

HistoryView::~HistoryView() {
    // The search under way stops at its next row.
    ++*m_latest;
    m_thread.quit();
    m_thread.wait();
}

void HistoryView::setRange(const QDateTime &from, const QDateTime &to) {
    m_settingRange = true;
    m_from->setDateTime(from);
    m_to->setDateTime(to);
    m_settingRange = false;
    m_toChosen = true;
}

QString HistoryView::statusText() const {
    return m_status->text();
}

void HistoryView::say(std::function<QString()> text) {
    m_statusText = std::move(text);
    m_status->setText(m_statusText ? m_statusText() : QString());
}

void HistoryView::setFilter(const QString &text) {
    m_filter->setText(text);
}

void HistoryView::showEvent(QShowEvent *event) {
    QWidget::showEvent(event);
    if (!std::exchange(m_shown, true))
        find();
}

void HistoryView::find() {
    const qint64 search = ++*m_latest;
    if (!m_toChosen) {
        m_settingRange = true;
        m_to->setDateTime(QDateTime::fromMSecsSinceEpoch(m_clock.now()));
        m_settingRange = false;
    }
    // The edits show whole seconds: the last one is searched whole.
    const EventQuery::Range range{m_from->dateTime().toMSecsSinceEpoch(),
                                  m_to->dateTime().toMSecsSinceEpoch() + 1000};
    if (range.from >= range.to) {
        say([] { return tr("The range ends before it begins."); });
        return;
    }
    say([] { return tr("Searching..."); });
    const std::shared_ptr<std::atomic<qint64>> latest = m_latest;
    const QString path = m_path;
    const QString filter = m_filter->text();
    QMetaObject::invokeMethod(
        &m_reader,
        [this, latest, search, path, range, filter] {
            auto found = std::make_shared<Found>();
            bool abandoned = false;
            found->error = EventQuery::read(path, range, filter, [&](const Record &record) {
                if (latest->load() != search) {
                    abandoned = true;
                    return false;
                }
                if (found->records.size() >= std::size_t(rowLimit)) {
                    found->more = true;
                    return false;
                }
                found->records.push_back(record);
                return true;
            });
            // The view waits for this thread before it goes, so it is still there.
            if (!abandoned)
                QMetaObject::invokeMethod(
                    this, [this, search, found] { showFound(search, *found); },
                    Qt::QueuedConnection);
        },
        Qt::QueuedConnection);
}

void HistoryView::showFound(qint64 search, const Found &found) {
    if (search != m_latest->load())
        return;
    if (!found.error.isEmpty()) {
        m_model->setRecords({});
        say([error = found.error] { return tr("The event log cannot be read: %1").arg(error); });
    } else {
        m_model->setRecords(found.records);
        const int rows = int(found.records.size());
        // The count says the range it was found in.
        const QString format = QStringLiteral("yyyy-MM-dd HH:mm:ss");
        const QString from = m_from->dateTime().toString(format);
        const QString to = m_to->dateTime().toString(format);
        say([rows, more = found.more, from, to] {
            return more ? tr("The first %1 events from %2 to %3 are shown; narrow the "
                             "range or the filter to see the rest.")
                              .arg(rows)
                              .arg(from, to)
                   : rows == 1 ? tr("1 event found from %1 to %2.").arg(from, to)
                               : tr("%1 events found from %2 to %3.").arg(rows).arg(from, to);
        });
    }
    emit this->found(m_model->rowCount());
}

void HistoryView::Export_Click() {
    const QString name =
        m_dialogs.saveFileName(tr("Export Events"), tr("CSV (*.csv);;All Files (*)"));
    if (!name.isEmpty())
        exportTo(name);
}

bool HistoryView::exportTo(const QString &fileName) {
    // A name without an extension is given the one of what it holds.
    QString name = fileName;
    if (QFileInfo(name).suffix().isEmpty())
        name += QStringLiteral(".csv");
    const QString error = EventQuery::saveCsv(name, m_model->records());
    if (!error.isEmpty()) {
        m_dialogs.warning(tr("The events could not be exported to %1: %2").arg(name, error));
        return false;
    }
    const int rows = int(m_model->records().size());
    say([rows, where = QDir::toNativeSeparators(QFileInfo(name).absoluteFilePath())] {
        return rows == 1 ? tr("1 event exported to %1.").arg(where)
                         : tr("%1 events exported to %2.").arg(rows).arg(where);
    });
    return true;
}

} // namespace events

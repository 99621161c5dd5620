#include "app/frmTraffic.h"

#include "link/FrameText.h"

#include "app/TrafficModel.h"
#include "link/Traffic.h"
#include "ui/Dialogs.h"
#include "ui/SettingsStore.h"

#include <QApplication>
#include <QCheckBox>
#include <QClipboard>
#include <QCloseEvent>
#include <QComboBox>
#include <QEvent>
#include <QFileInfo>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QItemSelectionModel>
#include <QPushButton>
#include <QSaveFile>
#include <QScreen>
#include <QScrollBar>
#include <QShortcut>
#include <QTabBar>
#include <QTabWidget>
#include <QTableView>
#include <QVBoxLayout>

#include <cerrno>

namespace app {

namespace {
const QString windows = QStringLiteral("Windows");

template <typename T> T *named(T *widget, const char *name) {
    widget->setObjectName(QLatin1String(name));
    return widget;
}
} // namespace

frmTraffic::frmTraffic(devicelink::Traffic &traffic, ui::Dialogs &dialogs,
                       ui::SettingsStore &settings, QWidget *parent)
    : QWidget(parent, Qt::Window)
    , m_traffic(traffic)
    , m_recorder(&traffic)
    , m_dialogs(dialogs)
    , m_settings(settings)
    , m_model(new TrafficModel(traffic, this))
    , m_filter(new TrafficFilter(*m_model, this)) {
    setObjectName(QStringLiteral("frmTraffic"));

    m_pause = named(new QCheckBox, "pause");
    m_clear = named(new QPushButton, "clear");
    m_channels = named(new QComboBox, "channelFilter");
    m_channels->addItems({QString(), QString(), QString()});
    m_directions = named(new QComboBox, "directionFilter");
    // The filters show their whole choice, however large the text.
    for (QComboBox *filter : {m_channels, m_directions})
        filter->setSizeAdjustPolicy(QComboBox::AdjustToContents);
    m_directions->addItems({QString(), QString(), QString()});
    m_copy = named(new QPushButton, "copy");
    m_save = named(new QPushButton, "save");

    m_view = new QTableView(this);
    m_view->setObjectName(QStringLiteral("frames"));
    m_view->setModel(m_filter);
    m_view->setSelectionBehavior(QAbstractItemView::SelectRows);
    m_view->setWordWrap(false);
    m_view->setAlternatingRowColors(true);
    m_view->verticalHeader()->hide();
    // One height for every row: nothing is measured per row, however many.
    m_view->verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    m_view->verticalHeader()->setDefaultSectionSize(fontMetrics().height() + 4);
    m_view->horizontalHeader()->setStretchLastSection(true);
    QFont mono = m_view->font();
    mono.setFamily(QStringLiteral("monospace"));
    mono.setStyleHint(QFont::Monospace);
    m_view->setFont(mono);
    const int digit = QFontMetrics(mono).horizontalAdvance(QLatin1Char('0'));
    // The direction column takes its header and its longest word in the
    // language in use when the window opens.
    int header = m_view->horizontalHeader()->fontMetrics().horizontalAdvance(
        m_model->headerData(TrafficModel::Direction, Qt::Horizontal, Qt::DisplayRole).toString());
    for (auto d :
         {devicelink::TrafficLog::Direction::Sent, devicelink::TrafficLog::Direction::Received,
          devicelink::TrafficLog::Direction::Ignored, devicelink::TrafficLog::Direction::NotSent,
          devicelink::TrafficLog::Direction::State})
        header = qMax(header, QFontMetrics(mono).horizontalAdvance(TrafficModel::directionText(d)));
    header += 2 * digit;
    m_view->setColumnWidth(TrafficModel::Time, 14 * digit);
    m_view->setColumnWidth(TrafficModel::Direction, qMax(12 * digit, header));
    m_view->setColumnWidth(TrafficModel::Channel, 18 * digit);
    m_view->setColumnWidth(TrafficModel::Bytes, 18 * digit);

    // The controls in one row while the screen has room for it (in logical
    // pixels), the filters on a row of their own when it has not (a large
    // scale factor): none is cut.
    const QSize room = screen() ? screen()->availableGeometry().size() : QSize(1280, 1024);
    const bool oneRow = room.width() >= 800;
    auto *bar = new QVBoxLayout;
    auto *first = new QHBoxLayout;
    auto *second = oneRow ? first : new QHBoxLayout;
    first->addWidget(m_pause);
    first->addWidget(m_clear);
    second->addWidget(m_channels);
    second->addWidget(m_directions);
    first->addStretch();
    first->addWidget(m_copy);
    first->addWidget(m_save);
    bar->addLayout(first);
    if (!oneRow) {
        second->addStretch();
        bar->addLayout(second);
    }
    auto *live = new QWidget;
    auto *liveLayout = new QVBoxLayout(live);
    liveLayout->setContentsMargins(0, 0, 0, 0);
    liveLayout->addLayout(bar);
    liveLayout->addWidget(m_view);
    m_tabs = new QTabWidget(this);
    m_tabs->setObjectName(QStringLiteral("trafficTabs"));
    m_tabs->addTab(live, QString());
    m_tabs->tabBar()->hide(); // until there is a history to show beside it
    auto *layout = new QVBoxLayout(this);
    layout->addWidget(m_tabs);
    // As large as the screen allows up to its usual size (at a large scale
    // factor the usual size would not fit).
    QSize size(720, 420);
    if (const QScreen *s = screen())
        size = size.boundedTo(s->availableGeometry().size() * 9 / 10);
    resize(size);

    connect(m_pause, &QCheckBox::toggled, this, [this](bool paused) {
        if (!paused)
            follow();
    });
    connect(m_clear, &QPushButton::clicked, this, [this] {
        m_traffic.clear();
        m_model->reset();
    });
    connect(m_channels, &QComboBox::currentIndexChanged, this,
            [this](int i) { m_filter->setChannels(static_cast<TrafficFilter::Channels>(i)); });
    connect(m_directions, &QComboBox::currentIndexChanged, this,
            [this](int i) { m_filter->setDirections(static_cast<TrafficFilter::Directions>(i)); });
    connect(m_copy, &QPushButton::clicked, this, &frmTraffic::copySelection);
    connect(new QShortcut(QKeySequence::Copy, this), &QShortcut::activated, this,
            &frmTraffic::copySelection);
    connect(m_save, &QPushButton::clicked, this, &frmTraffic::Save_Click);
    connect(new QShortcut(Qt::Key_F5, this), &QShortcut::activated, this, &frmTraffic::statusAsked);
    connect(new QShortcut(QKeySequence(QStringLiteral("Ctrl+T")), this), &QShortcut::activated,
            this, &frmTraffic::mainWanted);
    retranslate();
    restoreLayout();

    m_follow.setTimerType(Qt::PreciseTimer);
    m_follow.setInterval(followMs);
    connect(&m_follow, &QTimer::timeout, this, &frmTraffic::follow);
    m_follow.start();
    m_traffic.setRecording(true);
}

void frmTraffic::retranslate() {
    setWindowTitle(tr("Traffic"));
    m_pause->setText(tr("&Pause"));
    m_pause->setToolTip(tr("Holds the list still; frames are still kept"));
    m_clear->setText(tr("C&lear"));
    m_clear->setToolTip(tr("Empties the list"));
    m_channels->setToolTip(tr("Which channel is shown"));
    m_channels->setItemText(0, tr("Both channels"));
    m_channels->setItemText(1, tr("Serial"));
    m_channels->setItemText(2, tr("Network"));
    m_directions->setToolTip(tr("Which direction is shown"));
    m_directions->setItemText(0, tr("Both directions"));
    m_directions->setItemText(1, tr("Sent"));
    m_directions->setItemText(2, tr("Received"));
    m_copy->setText(tr("&Copy"));
    m_copy->setToolTip(tr("Copies the selected rows as text (Ctrl+C)"));
    m_save->setText(tr("&Save..."));
    m_save->setToolTip(tr("Saves the rows shown as text, or as CSV"));
    m_tabs->setTabText(0, tr("&Live"));
    if (m_tabs->count() > 1)
        m_tabs->setTabText(1, tr("&History"));
}

void frmTraffic::changeEvent(QEvent *event) {
    QWidget::changeEvent(event);
    if (event->type() == QEvent::LanguageChange) {
        retranslate();
        m_model->retranslate();
    }
}

frmTraffic::~frmTraffic() {
    // Closed, the window costs the link nothing but a check of a flag.
    if (m_recorder)
        m_recorder->setRecording(false);
}

void frmTraffic::follow() {
    if (m_pause->isChecked())
        return;
    QScrollBar *scroll = m_view->verticalScrollBar();
    const bool atEnd = scroll->value() == scroll->maximum();
    m_model->sync();
    if (atEnd)
        m_view->scrollToBottom();
}

QStringList frmTraffic::shownLines() const {
    QStringList out;
    for (int row = 0; row < m_filter->rowCount(); ++row)
        out << m_model->line(m_filter->mapToSource(m_filter->index(row, 0)).row());
    return out;
}

void frmTraffic::copySelection() {
    QList<int> rows;
    const QModelIndexList selected = m_view->selectionModel()->selectedRows();
    for (const QModelIndex &index : selected)
        rows << m_filter->mapToSource(index).row();
    std::sort(rows.begin(), rows.end());
    QStringList lines;
    for (int row : std::as_const(rows))
        lines << m_model->line(row);
    if (!lines.isEmpty())
        QApplication::clipboard()->setText(lines.join(QLatin1Char('\n')) + QLatin1Char('\n'));
}

void frmTraffic::Save_Click() {
    const QString name =
        m_dialogs.saveFileName(tr("Save Traffic"), tr("Text (*.txt);;CSV (*.csv);;All Files (*)"));
    if (name.isEmpty())
        return;
    if (QFileInfo::exists(name) &&
        !m_dialogs.confirm(tr("%1 already exists. Replace it?").arg(name)))
        return;
    saveTo(name);
}

bool frmTraffic::saveTo(const QString &fileName) {
    const bool csv = fileName.endsWith(QLatin1String(".csv"), Qt::CaseInsensitive);
    QByteArray bytes;
    if (csv)
        bytes += devicelink::FrameText::csvHeader().toUtf8() + "\r\n";
    for (int row = 0; row < m_filter->rowCount(); ++row) {
        const int source = m_filter->mapToSource(m_filter->index(row, 0)).row();
        bytes += (csv ? m_model->csv(source) : m_model->line(source)).toUtf8();
        bytes += csv ? "\r\n" : "\n";
    }
    // Written whole or not at all; the list stays as it is either way. The
    // half-written file is gone (and its room on the disk free) before the
    // operator is told why, in the system's own words.
    QString reason;
    {
        QSaveFile file(fileName);
        errno = 0;
        if (file.open(QIODevice::WriteOnly | QIODevice::Unbuffered) &&
            file.write(bytes) == bytes.size() && file.commit())
            return true;
        const int error = errno;
        reason = error != 0 ? qt_error_string(error) : file.errorString();
        file.cancelWriting();
    }
    m_dialogs.warning(tr("The traffic could not be saved to %1: %2").arg(fileName, reason));
    return false;
}

void frmTraffic::addHistory(QWidget *history) {
    history->setObjectName(QStringLiteral("history"));
    m_tabs->addTab(history, tr("&History"));
    m_tabs->tabBar()->show();
}

void frmTraffic::showEvent(QShowEvent *event) {
    QWidget::showEvent(event);
    // Opened again, it shows the newest rows first.
    m_model->sync();
    m_view->scrollToBottom();
}

void frmTraffic::closeEvent(QCloseEvent *event) {
    keepLayout();
    QWidget::closeEvent(event);
}

void frmTraffic::restoreLayout() {
    const QByteArray geometry = QByteArray::fromBase64(
        m_settings.value(windows, QStringLiteral("TrafficGeometry")).toLatin1());
    if (!geometry.isEmpty())
        restoreGeometry(geometry);
    const QStringList widths =
        m_settings.value(windows, QStringLiteral("TrafficColumns")).split(QLatin1Char(' '));
    for (int column = 0; column < widths.size() && column < TrafficModel::Meaning; ++column) {
        bool ok = false;
        const int width = widths[column].toInt(&ok);
        if (ok && width > 0)
            m_view->setColumnWidth(column, width);
    }
    bool ok = false;
    const int channels = m_settings.value(windows, QStringLiteral("TrafficChannels")).toInt(&ok);
    if (ok && channels >= 0 && channels < m_channels->count())
        m_channels->setCurrentIndex(channels);
    const int directions =
        m_settings.value(windows, QStringLiteral("TrafficDirections")).toInt(&ok);
    if (ok && directions >= 0 && directions < m_directions->count())
        m_directions->setCurrentIndex(directions);
}

void frmTraffic::keepLayout() {
    m_settings.setValue(windows, QStringLiteral("TrafficGeometry"),
                        QString::fromLatin1(saveGeometry().toBase64()));
    QStringList widths;
    for (int column = 0; column < TrafficModel::Meaning; ++column)
        widths << QString::number(m_view->columnWidth(column));
    m_settings.setValue(windows, QStringLiteral("TrafficColumns"), widths.join(QLatin1Char(' ')));
    m_settings.setValue(windows, QStringLiteral("TrafficChannels"),
                        QString::number(m_channels->currentIndex()));
    m_settings.setValue(windows, QStringLiteral("TrafficDirections"),
                        QString::number(m_directions->currentIndex()));
}

} // namespace app

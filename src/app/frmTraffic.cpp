#include "app/frmTraffic.h"

#include "app/TrafficModel.h"
#include "link/Traffic.h"
#include "ui/Dialogs.h"
#include "ui/SettingsStore.h"

#include <QApplication>
#include <QCheckBox>
#include <QClipboard>
#include <QCloseEvent>
#include <QComboBox>
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

template <typename T> T *named(T *widget, const char *name, const QString &tip) {
    widget->setObjectName(QLatin1String(name));
    widget->setToolTip(tip);
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
    setWindowTitle(QStringLiteral("Traffic"));

    m_pause = named(new QCheckBox(QStringLiteral("&Pause")), "pause",
                    QStringLiteral("Holds the list still; frames are still kept"));
    auto *clear = named(new QPushButton(QStringLiteral("C&lear")), "clear",
                        QStringLiteral("Empties the list"));
    m_channels = named(new QComboBox, "channelFilter", QStringLiteral("Which channel is shown"));
    m_channels->addItems(
        {QStringLiteral("Both channels"), QStringLiteral("Serial"), QStringLiteral("Network")});
    m_directions =
        named(new QComboBox, "directionFilter", QStringLiteral("Which direction is shown"));
    m_directions->addItems(
        {QStringLiteral("Both directions"), QStringLiteral("Sent"), QStringLiteral("Received")});
    auto *copy = named(new QPushButton(QStringLiteral("&Copy")), "copy",
                       QStringLiteral("Copies the selected rows as text (Ctrl+C)"));
    auto *save = named(new QPushButton(QStringLiteral("&Save...")), "save",
                       QStringLiteral("Saves the rows shown as text, or as CSV"));

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
    const int header =
        m_view->horizontalHeader()->fontMetrics().horizontalAdvance(QStringLiteral("Direction")) +
        2 * digit;
    m_view->setColumnWidth(TrafficModel::Time, 14 * digit);
    m_view->setColumnWidth(TrafficModel::Direction, qMax(12 * digit, header));
    m_view->setColumnWidth(TrafficModel::Channel, 18 * digit);
    m_view->setColumnWidth(TrafficModel::Bytes, 18 * digit);

    auto *bar = new QHBoxLayout;
    for (QWidget *w : std::initializer_list<QWidget *>{m_pause, clear, m_channels, m_directions})
        bar->addWidget(w);
    bar->addStretch();
    bar->addWidget(copy);
    bar->addWidget(save);
    auto *live = new QWidget;
    auto *liveLayout = new QVBoxLayout(live);
    liveLayout->setContentsMargins(0, 0, 0, 0);
    liveLayout->addLayout(bar);
    liveLayout->addWidget(m_view);
    m_tabs = new QTabWidget(this);
    m_tabs->setObjectName(QStringLiteral("trafficTabs"));
    m_tabs->addTab(live, tr("&Live"));
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
    connect(clear, &QPushButton::clicked, this, [this] {
        m_traffic.clear();
        m_model->reset();
    });
    connect(m_channels, &QComboBox::currentIndexChanged, this,
            [this](int i) { m_filter->setChannels(static_cast<TrafficFilter::Channels>(i)); });
    connect(m_directions, &QComboBox::currentIndexChanged, this,
            [this](int i) { m_filter->setDirections(static_cast<TrafficFilter::Directions>(i)); });
    connect(copy, &QPushButton::clicked, this, &frmTraffic::copySelection);
    connect(new QShortcut(QKeySequence::Copy, this), &QShortcut::activated, this,
            &frmTraffic::copySelection);
    connect(save, &QPushButton::clicked, this, &frmTraffic::Save_Click);
    connect(new QShortcut(Qt::Key_F5, this), &QShortcut::activated, this, &frmTraffic::statusAsked);
    connect(new QShortcut(QKeySequence(QStringLiteral("Ctrl+T")), this), &QShortcut::activated,
            this, &frmTraffic::mainWanted);
    restoreLayout();

    m_follow.setTimerType(Qt::PreciseTimer);
    m_follow.setInterval(followMs);
    connect(&m_follow, &QTimer::timeout, this, &frmTraffic::follow);
    m_follow.start();
    m_traffic.setRecording(true);
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
    const QString name = m_dialogs.saveFileName(
        QStringLiteral("Save Traffic"), QStringLiteral("Text (*.txt);;CSV (*.csv);;All Files (*)"));
    if (name.isEmpty())
        return;
    if (QFileInfo::exists(name) &&
        !m_dialogs.confirm(QStringLiteral("%1 already exists. Replace it?").arg(name)))
        return;
    saveTo(name);
}

bool frmTraffic::saveTo(const QString &fileName) {
    const bool csv = fileName.endsWith(QLatin1String(".csv"), Qt::CaseInsensitive);
    QByteArray bytes;
    if (csv)
        bytes += "time,direction,channel,bytes,meaning\r\n";
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
    m_dialogs.warning(
        QStringLiteral("The traffic could not be saved to %1: %2").arg(fileName, reason));
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

#include "app/frmTraffic.h"

#include "app/TrafficModel.h"
#include "link/Traffic.h"
#include "ui/Dialogs.h"

#include <QApplication>
#include <QCheckBox>
#include <QClipboard>
#include <QComboBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QItemSelectionModel>
#include <QPushButton>
#include <QSaveFile>
#include <QScrollBar>
#include <QShortcut>
#include <QTableView>
#include <QVBoxLayout>

namespace app {

namespace {
template <typename T> T *named(T *widget, const char *name, const QString &tip) {
    widget->setObjectName(QLatin1String(name));
    widget->setToolTip(tip);
    return widget;
}
} // namespace

frmTraffic::frmTraffic(devicelink::Traffic &traffic, ui::Dialogs &dialogs, QWidget *parent)
    : QWidget(parent, Qt::Window)
    , m_traffic(traffic)
    , m_recorder(&traffic)
    , m_dialogs(dialogs)
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
    m_view->setColumnWidth(TrafficModel::Time, 14 * digit);
    m_view->setColumnWidth(TrafficModel::Direction, 8 * digit);
    m_view->setColumnWidth(TrafficModel::Channel, 18 * digit);
    m_view->setColumnWidth(TrafficModel::Bytes, 24 * digit);

    auto *bar = new QHBoxLayout;
    for (QWidget *w : std::initializer_list<QWidget *>{m_pause, clear, m_channels, m_directions})
        bar->addWidget(w);
    bar->addStretch();
    bar->addWidget(copy);
    bar->addWidget(save);
    auto *layout = new QVBoxLayout(this);
    layout->addLayout(bar);
    layout->addWidget(m_view);
    resize(720, 420);

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
    if (!name.isEmpty())
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
    // Written whole or not at all; the list stays as it is either way.
    QSaveFile file(fileName);
    if (file.open(QIODevice::WriteOnly | QIODevice::Unbuffered) &&
        file.write(bytes) == bytes.size() && file.commit())
        return true;
    const QString reason = file.errorString();
    file.cancelWriting();
    m_dialogs.warning(
        QStringLiteral("The traffic could not be saved to %1: %2").arg(fileName, reason));
    return false;
}

} // namespace app

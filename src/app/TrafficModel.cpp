#include "app/TrafficModel.h"

#include "link/FrameText.h"
#include "link/Traffic.h"
#include "ui/PlainText.h"

#include <QDateTime>

namespace app {

namespace FrameText = devicelink::FrameText;
using devicelink::TrafficLog;

TrafficModel::TrafficModel(const devicelink::Traffic &traffic, QObject *parent)
    : QAbstractTableModel(parent)
    , m_traffic(traffic) {
    m_rows = traffic.log().size();
    m_seen = traffic.log().appended();
}

int TrafficModel::rowCount(const QModelIndex &parent) const {
    return parent.isValid() ? 0 : m_rows;
}

int TrafficModel::columnCount(const QModelIndex &parent) const {
    return parent.isValid() ? 0 : ColumnCount;
}

QString TrafficModel::text(int row, int column) const {
    const TrafficLog &log = m_traffic.log();
    const TrafficLog::Frame &f = log.at(row);
    switch (column) {
    case Time:
        return QDateTime::fromMSecsSinceEpoch(f.at).toString(QStringLiteral("HH:mm:ss.zzz"));
    case Direction:
        return directionText(f.direction);
    case Channel:
        return log.channel(f);
    case Bytes:
        return FrameText::hex(f.bytes, f.size);
    case Meaning:
        return log.meaning(f);
    }
    return {};
}

QVariant TrafficModel::data(const QModelIndex &index, int role) const {
    // The tooltip is the whole text of a cell too narrow for it.
    if ((role != Qt::DisplayRole && role != Qt::ToolTipRole) || !index.isValid() ||
        index.row() >= m_rows)
        return {};
    const QString shown = text(index.row(), index.column());
    return role == Qt::ToolTipRole ? ui::plainToolTip(shown) : shown;
}

QVariant TrafficModel::headerData(int section, Qt::Orientation orientation, int role) const {
    if (role != Qt::DisplayRole || orientation != Qt::Horizontal)
        return {};
    switch (section) {
    case Time:
        return tr("Time");
    case Direction:
        return tr("Direction");
    case Channel:
        return tr("Channel");
    case Bytes:
        return tr("Bytes");
    case Meaning:
        return tr("Meaning");
    }
    return {};
}

void TrafficModel::retranslate() {
    emit headerDataChanged(Qt::Horizontal, 0, ColumnCount - 1);
    if (m_rows > 0)
        emit dataChanged(index(0, Direction), index(m_rows - 1, Direction));
}

void TrafficModel::sync() {
    const TrafficLog &log = m_traffic.log();
    const qint64 fresh = log.appended() - m_seen;
    // The log drops its oldest frames when full: those rows go first.
    const int keptOld = static_cast<int>(qMax<qint64>(0, log.size() - fresh));
    if (m_rows > keptOld) {
        beginRemoveRows({}, 0, m_rows - keptOld - 1);
        m_rows = keptOld;
        endRemoveRows();
    }
    if (log.size() > m_rows) {
        beginInsertRows({}, m_rows, log.size() - 1);
        m_rows = log.size();
        endInsertRows();
    }
    m_seen = log.appended();
}

void TrafficModel::reset() {
    beginResetModel();
    m_rows = m_traffic.log().size();
    m_seen = m_traffic.log().appended();
    endResetModel();
}

QString TrafficModel::line(int row) const {
    QString out = text(row, Time) + QLatin1Char(' ') + text(row, Direction) + QLatin1Char(' ') +
                  text(row, Channel) + QLatin1Char(' ') + text(row, Bytes);
    const QString meaning = text(row, Meaning);
    if (!meaning.isEmpty())
        out += QStringLiteral("  ") + meaning;
    return out;
}

QString TrafficModel::csv(int row) const {
    // The event log's columns and words, so that an export of either reads
    // the same: the date and the origin in every row.
    static const char *const words[] = {"sent", "received", "ignored", "not sent", "state"};
    const TrafficLog &log = m_traffic.log();
    const TrafficLog::Frame &f = log.at(row);
    return FrameText::csv({FrameText::time(f.at),
                           QLatin1String(words[static_cast<int>(f.direction)]), log.channel(f),
                           log.origin(f), text(row, Bytes), text(row, Meaning)});
}

bool TrafficModel::isSerial(int row) const {
    const TrafficLog &log = m_traffic.log();
    return log.at(row).medium == TrafficLog::Medium::Serial;
}

bool TrafficModel::isSent(int row) const {
    const TrafficLog::Direction d = m_traffic.log().at(row).direction;
    return d == TrafficLog::Direction::Sent || d == TrafficLog::Direction::NotSent;
}

bool TrafficModel::isState(int row) const {
    return m_traffic.log().at(row).direction == TrafficLog::Direction::State;
}

QString TrafficModel::directionText(TrafficLog::Direction direction) {
    // The arrow, then the word in the language in use; CSV keeps the words of
    // the event log.
    switch (direction) {
    case TrafficLog::Direction::Sent:
        return QStringLiteral("\u2192 ") + tr("sent");
    case TrafficLog::Direction::Received:
        return QStringLiteral("\u2190 ") + tr("received");
    case TrafficLog::Direction::Ignored:
        return QStringLiteral("\u2190 ") + tr("ignored");
    case TrafficLog::Direction::NotSent:
        return QStringLiteral("\u2717 ") + tr("not sent");
    case TrafficLog::Direction::State:
        break;
    }
    return QStringLiteral("\u2022 ") + tr("state");
}

TrafficFilter::TrafficFilter(TrafficModel &model, QObject *parent)
    : QSortFilterProxyModel(parent)
    , m_model(model) {
    setSourceModel(&model);
}

void TrafficFilter::setChannels(Channels channels) {
    m_channels = channels;
    invalidateRowsFilter();
}

void TrafficFilter::setDirections(Directions directions) {
    m_directions = directions;
    invalidateRowsFilter();
}

bool TrafficFilter::filterAcceptsRow(int row, const QModelIndex &) const {
    if (m_channels != Channels::All && m_model.isSerial(row) != (m_channels == Channels::Serial))
        return false;
    if (m_directions != Directions::Both &&
        (m_model.isState(row) || m_model.isSent(row) != (m_directions == Directions::Sent)))
        return false;
    return true;
}

} // namespace app

#include "events/HistoryModel.h"

#include <QDateTime>

namespace events {

HistoryModel::HistoryModel(QObject *parent)
    : QAbstractTableModel(parent) {}

void HistoryModel::setRecords(std::vector<Record> records) {
    beginResetModel();
    m_records = std::move(records);
    endResetModel();
}

int HistoryModel::rowCount(const QModelIndex &parent) const {
    return parent.isValid() ? 0 : int(m_records.size());
}

int HistoryModel::columnCount(const QModelIndex &parent) const {
    return parent.isValid() ? 0 : ColumnCount;
}

QString HistoryModel::localTime(const QString &stored) {
    const QDateTime at = QDateTime::fromString(stored, Qt::ISODateWithMs);
    if (!at.isValid())
        return stored;
    return at.toLocalTime().toString(QStringLiteral("yyyy-MM-dd HH:mm:ss.zzz"));
}

QVariant HistoryModel::data(const QModelIndex &index, int role) const {
    if (!index.isValid() || index.row() >= rowCount())
        return {};
    const Record &r = m_records[std::size_t(index.row())];
    // The stored time, and which program wrote the row when two panels
    // share the log.
    if (role == Qt::ToolTipRole && index.column() == Time)
        return r.program.isEmpty() ? r.time : tr("%1, written by %2").arg(r.time, r.program);
    if (role != Qt::DisplayRole)
        return {};
    switch (index.column()) {
    case Time:
        return localTime(r.time);
    case Direction:
        return directionText(r.direction);
    case Channel:
        return r.channel;
    case Origin:
        return r.origin;
    case Bytes:
        return r.bytes;
    case Meaning:
        return r.meaning;
    }
    return {};
}

QString HistoryModel::directionText(const QString &stored) {
    // The log's own words, said in the language in use; the filter does not
    // search them.
    static const char *const words[] = {QT_TR_NOOP("sent"), QT_TR_NOOP("received"),
                                        QT_TR_NOOP("ignored"), QT_TR_NOOP("state")};
    for (const char *word : words) {
        if (stored == QLatin1String(word))
            return tr(word);
    }
    return stored;
}

void HistoryModel::retranslate() {
    emit headerDataChanged(Qt::Horizontal, 0, ColumnCount - 1);
    if (!m_records.empty())
        emit dataChanged(index(0, Direction), index(rowCount() - 1, Direction));
}

QVariant HistoryModel::headerData(int section, Qt::Orientation orientation, int role) const {
    if (role != Qt::DisplayRole || orientation != Qt::Horizontal)
        return {};
    switch (section) {
    case Time:
        return tr("Time");
    case Direction:
        return tr("Direction");
    case Channel:
        return tr("Channel");
    case Origin:
        return tr("Origin");
    case Bytes:
        return tr("Bytes");
    case Meaning:
        return tr("Meaning");
    }
    return {};
}

} // namespace events

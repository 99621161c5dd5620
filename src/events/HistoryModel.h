#pragma once

#include "events/Event.h"

#include <QAbstractTableModel>
#include <vector>

namespace events {

// The rows a history search found, as a table: the time in local time, the
// direction in the language in use, the rest as stored (the words the
// filter searches).
class HistoryModel : public QAbstractTableModel {
    Q_OBJECT
public:
    enum Column { Time, Direction, Channel, Origin, Bytes, Meaning, ColumnCount };

    explicit HistoryModel(QObject *parent = nullptr);

    void setRecords(std::vector<Record> records);
    const std::vector<Record> &records() const { return m_records; }

    int rowCount(const QModelIndex &parent = {}) const override;
    int columnCount(const QModelIndex &parent = {}) const override;
    QVariant data(const QModelIndex &index, int role) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override;

    // "2026-12-09 03:14:07.123" for the stored "2026-12-09T02:14:07.123Z" in UTC+1.
    static QString localTime(const QString &stored);
    // A stored direction ("sent") in the language in use.
    static QString directionText(const QString &stored);
    // Another language: the headers and the directions are read again.
    void retranslate();

private:
    std::vector<Record> m_records;
};

} // namespace events

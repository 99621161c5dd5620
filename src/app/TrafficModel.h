#pragma once

#include "link/TrafficLog.h"

#include <QAbstractTableModel>
#include <QSortFilterProxyModel>

namespace devicelink {
class Traffic;
}

namespace app {

// The traffic log as table rows: time, direction, channel, bytes, meaning.
// Rows follow the log when told to (sync), not at every frame. The headers
// and direction words are in the language in use; the meanings are the
// event log's words, so that what the live list shows is what the history
// finds.
class TrafficModel : public QAbstractTableModel {
    Q_OBJECT
public:
    enum Column { Time, Direction, Channel, Bytes, Meaning, ColumnCount };

    explicit TrafficModel(const devicelink::Traffic &traffic, QObject *parent = nullptr);

    int rowCount(const QModelIndex &parent = {}) const override;
    int columnCount(const QModelIndex &parent = {}) const override;
    QVariant data(const QModelIndex &index, int role) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override;

    // Takes in what the log gained (and lost at its old end) since last time.
    void sync();
    // The log was emptied.
    void reset();
    // Another language: the headers and the direction words are read again.
    void retranslate();

    // A row as text: "12:03:41.123 → serial 35 0D  camera 5".
    QString line(int row) const;
    // The same as one CSV record, fields quoted where they need it.
    QString csv(int row) const;
    QString text(int row, int column) const;
    bool isSerial(int row) const;
    bool isSent(int row) const; // sent, or could not be
    bool isState(int row) const;
    // "→ sent", "← received", "← ignored", "✗ not sent", "• state".
    static QString directionText(devicelink::TrafficLog::Direction direction);

private:
    const devicelink::Traffic &m_traffic;
    int m_rows = 0;
    qint64 m_seen = 0;
};

// The rows a channel and a direction filter let through.
class TrafficFilter : public QSortFilterProxyModel {
    Q_OBJECT
public:
    enum class Channels { All, Serial, Network };
    enum class Directions { Both, Sent, Received };

    explicit TrafficFilter(TrafficModel &model, QObject *parent = nullptr);
    void setChannels(Channels channels);
    void setDirections(Directions directions);

protected:
    bool filterAcceptsRow(int row, const QModelIndex &parent) const override;

private:
    TrafficModel &m_model;
    Channels m_channels = Channels::All;
    Directions m_directions = Directions::Both;
};

} // namespace app

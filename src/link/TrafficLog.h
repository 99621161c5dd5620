#pragma once

#include "link/Frame.h"
#include "link/FrameText.h"

#include <QByteArray>
#include <QHash>
#include <QString>
#include <QStringList>
#include <vector>

namespace devicelink {

// The last frames that went over both channels, oldest dropped first: a ring
// that grows to its size and then overwrites its oldest frame, so appending
// costs the same however long the link runs, and an unused log costs nothing.
class TrafficLog {
public:
    using Direction = devicelink::Frame::Direction;
    using Medium = devicelink::Frame::Medium;
    struct Frame {
        qint64 at = 0; // ms since the epoch
        Direction direction = Direction::Sent;
        Medium medium = Medium::Serial;
        quint16 channel = 0; // "serial Com1", "127.0.0.1:2000", kept once in a table
        quint16 note = 0;    // why it did not leave, what changed; 0: none
        quint16 origin = 0;  // who sent it; 0: nobody (what arrived)
        quint16 meaning = 0; // what it means, as the session read it
        QByteArray bytes;    // the first keptBytes of the frame
        qint32 size = 0;     // the whole frame's length
    };

    static constexpr int defaultCapacity = 100000;
    static constexpr int keptBytes = int(FrameText::keptBytes);

    explicit TrafficLog(int capacity = defaultCapacity);

    void append(qint64 at, Direction direction, Medium medium, const QString &channel,
                const QByteArray &bytes, const QString &note = {}, const QString &origin = {},
                const QString &meaning = {});
    void clear();

    int size() const { return m_size; }
    int capacity() const { return m_capacity; }
    // Frames counted from the oldest kept.
    const Frame &at(int i) const { return m_ring[(m_first + i) % m_ring.size()]; }
    QString channel(const Frame &f) const { return m_texts.value(f.channel); }
    QString note(const Frame &f) const { return m_texts.value(f.note); }
    QString origin(const Frame &f) const { return m_texts.value(f.origin); }
    QString meaning(const Frame &f) const { return m_texts.value(f.meaning); }
    // Frames appended since the log began, dropped ones included.
    qint64 appended() const { return m_appended; }

private:
    std::vector<Frame> m_ring;
    int m_capacity;
    int m_first = 0;
    int m_size = 0;
    qint64 m_appended = 0;
    quint16 indexOf(const QString &text);

    QStringList m_texts{QString()}; // the channels, notes, origins and meanings of the frames
    QHash<QString, quint16> m_textIndex;
};

} // namespace devicelink

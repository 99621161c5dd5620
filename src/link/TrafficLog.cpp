#include "link/TrafficLog.h"

#include <climits>

namespace devicelink {

TrafficLog::TrafficLog(int capacity)
    : m_capacity(qMax(1, capacity)) {}

quint16 TrafficLog::indexOf(const QString &text) {
    if (text.isEmpty())
        return 0;
    auto found = m_textIndex.constFind(text);
    if (found == m_textIndex.cend() && m_texts.size() >= 0xFFFF)
        return static_cast<quint16>(m_texts.size() - 1); // a flood of senders: the last one
    if (found == m_textIndex.cend()) {
        found = m_textIndex.insert(text, static_cast<quint16>(m_texts.size()));
        m_texts.append(text);
    }
    return *found;
}

void TrafficLog::append(qint64 at, Direction direction, Medium medium, const QString &channel,
                        const QByteArray &bytes, const QString &note, const QString &origin,
                        const QString &meaning) {
    Frame frame{at,
                direction,
                medium,
                indexOf(channel),
                indexOf(note),
                indexOf(origin),
                indexOf(meaning),
                QByteArray(bytes.constData(), qMin<qsizetype>(bytes.size(), keptBytes)),
                static_cast<qint32>(qMin<qsizetype>(bytes.size(), INT_MAX))};
    if (m_size < m_capacity) {
        // Still growing: the frames lie in order from the start. The room is
        // taken once; memory is used only as frames fill it.
        if (m_ring.capacity() == 0)
            m_ring.reserve(static_cast<size_t>(m_capacity));
        m_ring.push_back(std::move(frame));
        ++m_size;
    } else {
        m_ring[m_first] = std::move(frame);
        m_first = (m_first + 1) % m_capacity;
    }
    ++m_appended;
}

void TrafficLog::clear() {
    m_ring.clear();
    m_ring.shrink_to_fit();
    m_first = 0;
    m_size = 0;
}

} // namespace devicelink

#include "link/TrafficLog.h"

#include <climits>

namespace devicelink {

TrafficLog::TrafficLog(int capacity)
    : m_ring(static_cast<size_t>(qMax(1, capacity))) {}

void TrafficLog::append(qint64 at, Direction direction, const QString &channel,
                        const QByteArray &bytes) {
    auto found = m_channelIndex.constFind(channel);
    if (found == m_channelIndex.cend() && m_channels.size() >= 0xFFFF)
        found = m_channelIndex.constFind(m_channels.last()); // a flood of senders: the last one
    if (found == m_channelIndex.cend()) {
        found = m_channelIndex.insert(channel, static_cast<quint16>(m_channels.size()));
        m_channels.append(channel);
    }
    const int n = capacity();
    Frame &slot = m_ring[(m_first + m_size) % n];
    slot = Frame{at, direction, *found, bytes.left(keptBytes),
                 static_cast<qint32>(qMin<qsizetype>(bytes.size(), INT_MAX))};
    if (m_size < n)
        ++m_size;
    else
        m_first = (m_first + 1) % n;
    ++m_appended;
}

void TrafficLog::clear() {
    for (Frame &f : m_ring)
        f.bytes.clear();
    m_first = 0;
    m_size = 0;
}

} // namespace devicelink

#include "SerialFramer.h"

namespace sim {

namespace {
constexpr char cr = 0x0D;
}

void SerialFramer::junk(char byte) {
    if (m_sample.size() < sampleSize)
        m_sample.append(byte);
    ++m_junkCount;
}

void SerialFramer::flushJunk(QList<Item> &out) {
    if (m_junkCount == 0)
        return;
    QString text = QStringLiteral("%1 byte%2 out of frame: %3")
                       .arg(m_junkCount)
                       .arg(m_junkCount == 1 ? "" : "s")
                       .arg(QString::fromLatin1(m_sample.toHex(' ').toUpper()));
    if (m_junkCount > m_sample.size())
        text += QLatin1String(" ...");
    out.append(Item{false, 0, text});
    m_sample.clear();
    m_junkCount = 0;
}

QList<SerialFramer::Item> SerialFramer::feed(const QByteArray &bytes, qint64 nowMs) {
    QList<Item> out;
    if (m_hasPending && nowMs - m_pendingAt > crTimeoutMs) {
        junk(static_cast<char>(m_pending));
        m_hasPending = false;
    }
    for (const char byte : bytes) {
        if (!m_hasPending) {
            if (byte == cr) {
                junk(byte);
            } else {
                m_hasPending = true;
                m_pending = static_cast<quint8>(byte);
                m_pendingAt = nowMs;
            }
            continue;
        }
        if (byte == cr) {
            flushJunk(out);
            out.append(Item{true, m_pending, {}});
            m_hasPending = false;
        } else {
            junk(static_cast<char>(m_pending));
            m_pending = static_cast<quint8>(byte);
            m_pendingAt = nowMs;
        }
    }
    flushJunk(out);
    return out;
}

} // namespace sim

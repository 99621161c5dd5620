#pragma once

#include <QByteArray>
#include <QList>
#include <QString>

namespace sim {

// Splits the serial byte stream into commands: each command is one byte
// followed by CR. Bytes that do not fit (a byte whose CR never came, a stray
// CR) are gathered and reported together, so a flood of garbage yields a
// line per read, not a line per byte. Holds at most one byte between reads.
class SerialFramer {
public:
    struct Item {
        bool isCommand = false;
        quint8 code = 0;
        QString problem; // when not a command
    };

    // A byte still waiting for its CR after this long is garbage.
    static constexpr qint64 crTimeoutMs = 1000;
    // How many garbage bytes a problem report shows.
    static constexpr int sampleSize = 16;

    QList<Item> feed(const QByteArray &bytes, qint64 nowMs);
    bool hasPending() const { return m_hasPending; }

private:
    void junk(char byte);
    void flushJunk(QList<Item> &out);

    bool m_hasPending = false;
    quint8 m_pending = 0;
    qint64 m_pendingAt = 0;
    QByteArray m_sample;
    qint64 m_junkCount = 0;
};

} // namespace sim

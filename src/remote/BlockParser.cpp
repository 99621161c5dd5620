#include "remote/BlockParser.h"

#include <cstring>

namespace remote {

qsizetype BlockParser::feed(QByteArrayView bytes, Event *event) {
    *event = Event::None;
    const char *const data = bytes.data();
    const qsizetype size = bytes.size();
    qsizetype at = 0;
    while (at < size) {
        const auto *lf = static_cast<const char *>(std::memchr(data + at, '\n', size - at));
        const qsizetype end = lf ? lf - data : size;
        const qsizetype piece = end - at;
        if (piece > 0) {
            if (m_lineBytes == 0)
                m_lineStartsWithCr = data[at] == '\r';
            // Room for a full line and the CR that may end it.
            const bool fits = m_dropping || piece <= lineLimit + 1 - m_lineBytes;
            m_lineBytes += piece;
            if (!fits) {
                *event = refuse(Event::LineTooLong);
                return end;
            }
            if (!m_dropping)
                m_line.append(data + at, piece);
        }
        if (!lf)
            return end;
        at = end + 1;
        *event = endLine();
        if (*event != Event::None)
            return at;
    }
    return at;
}

BlockParser::Event BlockParser::endLine() {
    const bool blank = m_lineBytes == 0 || (m_lineBytes == 1 && m_lineStartsWithCr);
    m_lineBytes = 0;
    if (m_dropping) {
        m_dropping = !blank;
        return Event::None;
    }
    if (blank) {
        m_line = QByteArray();
        m_done = std::move(m_block);
        m_block = Block();
        m_inBlock = false;
        m_blockBytes = 0;
        return Event::Block;
    }
    if (m_line.endsWith('\r'))
        m_line.chop(1);
    if (m_line.size() > lineLimit)
        return refuse(Event::LineTooLong);
    m_blockBytes += m_line.size() + 1;
    if (m_blockBytes > blockLimit)
        return refuse(Event::BlockTooLarge);
    if (m_inBlock)
        m_block.lines.append(std::move(m_line));
    else
        m_block.header = std::move(m_line);
    m_inBlock = true;
    m_line = QByteArray();
    return Event::None;
}

BlockParser::Event BlockParser::refuse(Event why) {
    m_dropping = true;
    m_line = QByteArray();
    m_block = Block();
    m_inBlock = false;
    m_blockBytes = 0;
    return why;
}

qsizetype BlockParser::held() const {
    return m_blockBytes + m_line.size();
}

} // namespace remote

#pragma once

#include <QByteArray>
#include <QByteArrayList>
#include <QByteArrayView>

namespace remote {

// Cuts a Videohub client's byte stream into blocks as it arrives: lines end
// with LF (a CR before it is dropped), a blank line ends a block, and the
// first line of a block is its header. A line or block past the limits is
// refused at once and the rest of its block is counted and thrown away, so
// that what is held never exceeds one block plus one line.
class BlockParser {
public:
    static constexpr qsizetype lineLimit = 4096;   // bytes of a line, without its CR LF
    static constexpr qsizetype blockLimit = 65536; // bytes of a block's lines, line ends included

    struct Block {
        QByteArray header; // the first line as it came, empty for an empty block
        QByteArrayList lines;
    };

    enum class Event {
        None,         // every byte given was taken; nothing completed yet
        Block,        // a block ended: see block()
        LineTooLong,  // the rest of that block is dropped
        BlockTooLarge // the rest of that block is dropped
    };

    // Takes bytes up to the end of the next event (or all of them) and says
    // how many it took; the caller feeds the rest after handling the event.
    qsizetype feed(QByteArrayView bytes, Event *event);

    // The block that the last Event::Block completed.
    const Block &block() const { return m_done; }
    // Bytes held for a block or line not yet complete.
    qsizetype held() const;
    // A block has begun and not yet ended (also one being thrown away).
    bool midBlock() const { return m_inBlock || m_lineBytes > 0 || m_dropping; }

private:
    Event endLine();
    Event refuse(Event why);

    QByteArray m_line;
    qsizetype m_lineBytes = 0; // the current line's bytes so far, also when dropped
    bool m_lineStartsWithCr = false;
    Block m_block;
    bool m_inBlock = false;
    qsizetype m_blockBytes = 0;
    bool m_dropping = false;
    Block m_done;
};

} // namespace remote

// The Videohub server's reading of a client: the blocks the parser cuts from
// the stream, fed whole and in pieces of any size (the same events either
// way), against a reading of the whole stream split at its line feeds; the
// held bytes stay within one block and one line; every request read from a
// block is in range, and routes, labels and locks written back read the same.
//
// Input: byte 0 picks the piece sizes, byte 1 how often a short rest is
// repeated (so that small inputs reach the block limit), the rest is the
// client's bytes.
#include "FuzzCheck.h"
#include "remote/BlockParser.h"
#include "remote/Protocol.h"

#include <QByteArrayList>
#include <QList>

namespace {
using remote::BlockParser;
namespace protocol = remote::protocol;

constexpr int inputs = 16;
constexpr int outputs = 4;

struct Seen {
    BlockParser::Event event;
    QByteArray header;
    QByteArrayList lines;
    bool operator==(const Seen &) const = default;
};

// Feeds the stream whole (pieceSeed 0) or in pieces, handing each event on.
template <typename OnEvent>
void parse(const QByteArray &stream, size_t pieceSeed, OnEvent onEvent) {
    BlockParser parser;
    uint32_t state = 0x9E3779B9u ^ uint32_t(pieceSeed);
    qsizetype at = 0;
    while (at < stream.size()) {
        qsizetype piece = stream.size() - at;
        if (pieceSeed != 0) {
            state ^= state << 13;
            state ^= state >> 17;
            state ^= state << 5;
            piece = qMin<qsizetype>(piece, 1 + state % (pieceSeed * 8));
        }
        QByteArrayView rest(stream.constData() + at, piece);
        while (!rest.isEmpty()) {
            BlockParser::Event event;
            const qsizetype taken = parser.feed(rest, &event);
            FUZZ_CHECK(taken > 0 && taken <= rest.size());
            FUZZ_CHECK(event != BlockParser::Event::None || taken == rest.size());
            rest = rest.sliced(taken);
            FUZZ_CHECK(parser.held() <= BlockParser::blockLimit + BlockParser::lineLimit + 1);
            if (event != BlockParser::Event::None)
                onEvent(event, parser.block());
        }
        at += piece;
    }
}

QList<Seen> events(const QByteArray &stream, size_t pieceSeed) {
    QList<Seen> out;
    parse(stream, pieceSeed, [&](BlockParser::Event event, const BlockParser::Block &block) {
        if (event == BlockParser::Event::Block)
            out.append({event, block.header, block.lines});
        else
            out.append({event, {}, {}});
    });
    return out;
}

// The same stream read line by line after splitting it at every line feed.
QList<Seen> reference(const QByteArray &stream) {
    QList<Seen> out;
    QByteArrayList lines = stream.split('\n');
    const QByteArray partial = lines.takeLast();
    QByteArrayList block;
    qsizetype blockBytes = 0;
    bool dropping = false;
    const auto refuse = [&](BlockParser::Event why) {
        out.append({why, {}, {}});
        block.clear();
        blockBytes = 0;
        dropping = true;
    };
    for (QByteArray line : lines) {
        const bool blank = line.isEmpty() || line == "\r";
        if (dropping) {
            dropping = !blank;
            continue;
        }
        if (blank) {
            const QByteArray header = block.isEmpty() ? QByteArray() : block.takeFirst();
            out.append({BlockParser::Event::Block, header, block});
            block.clear();
            blockBytes = 0;
            continue;
        }
        if (line.endsWith('\r'))
            line.chop(1);
        if (line.size() > BlockParser::lineLimit) {
            refuse(BlockParser::Event::LineTooLong);
            continue;
        }
        blockBytes += line.size() + 1;
        if (blockBytes > BlockParser::blockLimit) {
            refuse(BlockParser::Event::BlockTooLarge);
            continue;
        }
        block.append(line);
    }
    if (!dropping && partial.size() > BlockParser::lineLimit + 1)
        out.append({BlockParser::Event::LineTooLong, {}, {}});
    return out;
}

void checkRequest(const BlockParser::Block &block) {
    using Kind = protocol::Request::Kind;
    const protocol::Request request = protocol::read(block, inputs, outputs);
    if (block.header.isEmpty())
        FUZZ_CHECK(request.kind == Kind::DumpAll);
    if (request.kind == Kind::Routes) {
        FUZZ_CHECK(request.routes.size() == block.lines.size());
        QByteArrayList lines;
        for (const protocol::Route &route : request.routes) {
            FUZZ_CHECK(route.output >= 0 && route.output < outputs);
            FUZZ_CHECK(route.input >= 0 && route.input < inputs);
            lines.append(protocol::routeLine(route.output, route.input));
        }
        const auto again = protocol::read({protocol::routingHeader, lines}, inputs, outputs);
        FUZZ_CHECK(again.kind == Kind::Routes && again.routes == request.routes);
    }
    if (request.kind == Kind::InputLabels) {
        FUZZ_CHECK(request.labels.size() == block.lines.size());
        QByteArrayList lines;
        for (const auto &[input, label] : request.labels) {
            FUZZ_CHECK(input >= 0 && input < inputs);
            for (const QChar c : label)
                FUZZ_CHECK(c.unicode() >= 0x20 && c.unicode() <= 0xFF && c.unicode() != 0x7F);
            lines.append(protocol::labelLine(input, label));
        }
        const auto again = protocol::read({protocol::inputLabelsHeader, lines}, inputs, outputs);
        FUZZ_CHECK(again.kind == Kind::InputLabels && again.labels == request.labels);
    }
    if (request.kind == Kind::Locks) {
        // Every lock line is one request for an output that exists, and
        // written back it reads the same.
        FUZZ_CHECK(request.locks.size() == block.lines.size());
        QByteArrayList lines;
        for (const protocol::LockRequest &lock : request.locks) {
            FUZZ_CHECK(lock.output >= 0 && lock.output < outputs);
            const char state = lock.action == protocol::LockAction::Lock     ? 'O'
                               : lock.action == protocol::LockAction::Unlock ? 'U'
                                                                             : 'F';
            lines.append(protocol::lockLine(lock.output, state));
        }
        const auto again = protocol::read({protocol::locksHeader, lines}, inputs, outputs);
        FUZZ_CHECK(again.kind == Kind::Locks && again.locks == request.locks);
    }
}
} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size) {
    const uint8_t seed = size > 0 ? data[0] : 0;
    const uint8_t again = size > 1 ? data[1] : 0;
    const QByteArray rest = size > 2 ? fuzz::bytes(data + 2, size - 2) : QByteArray();
    const QByteArray stream = rest.size() <= 4096 ? rest.repeated(1 + again % 32) : rest;

    // Up to the largest repeated input (enough to reach the block limit) the
    // events are compared; every block is checked on its own.
    if (stream.size() <= 2 * qsizetype(fuzz::compareLimit)) {
        const QList<Seen> whole = events(stream, 0);
        FUZZ_CHECK(events(stream, 1 + seed % 64) == whole);
        FUZZ_CHECK(reference(stream) == whole);
    }
    parse(stream, 0, [](BlockParser::Event event, const BlockParser::Block &block) {
        if (event != BlockParser::Event::Block)
            return;
        FUZZ_CHECK(!block.header.isEmpty() || block.lines.isEmpty());
        qsizetype bytes = block.header.isEmpty() ? 0 : block.header.size() + 1;
        FUZZ_CHECK(bytes <= BlockParser::lineLimit + 1 && !block.header.contains('\n'));
        for (const QByteArray &line : block.lines) {
            FUZZ_CHECK(!line.isEmpty() && !line.contains('\n'));
            FUZZ_CHECK(line.size() <= BlockParser::lineLimit);
            bytes += line.size() + 1;
        }
        FUZZ_CHECK(bytes <= BlockParser::blockLimit);
        checkRequest(block);
    });
    return 0;
}

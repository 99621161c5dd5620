// The terminal box's text filter, fed the way a line delivers it: receive
// events of any size, with keys typed into the box between them. Each event
// is checked against the terminal's filtering taken step by step (first
// backspace first, then line feeds out, then a line feed after every
// carriage return) and against the size rule: before an append, a box of
// more than 16000 characters loses its oldest 4096 until at most 16000 are left.
//
// Input: byte 0 picks the event sizes and whether keys are typed, byte 1 how
// often a short rest is fed again (so that small inputs reach the trim), the
// rest is the line's bytes.
#include "FuzzCheck.h"
#include "link/TerminalBuffer.h"

namespace {
using devicelink::TerminalBuffer;

constexpr QChar backspace(8);
constexpr QChar lineFeed(10);
constexpr QChar carriageReturn(13);

// The step-by-step filter is quadratic in backspaces: only short events are
// compared with it, and the whole text only while the input is small: after
// every change other than an append, and every so many appends.
constexpr qsizetype stepwiseLimit = 512;
constexpr qsizetype comparedLimit = 1 << 16;

QString stepwiseFilter(QString text, bool *eraseLast) {
    for (qsizetype i = text.indexOf(backspace); i >= 0; i = text.indexOf(backspace)) {
        if (i == 0) {
            *eraseLast = true;
            text.remove(0, 1);
        } else {
            text.remove(i - 1, 2);
        }
    }
    text.remove(lineFeed);
    for (qsizetype at = text.indexOf(carriageReturn); at >= 0;
         at = text.indexOf(carriageReturn, at + 2))
        text.insert(at + 1, lineFeed);
    return text;
}

// Whether a backspace of this event finds nothing before it in the event.
bool reachesBack(const QString &text) {
    qsizetype kept = 0;
    for (const QChar c : text) {
        if (c != backspace)
            ++kept;
        else if (kept > 0)
            --kept;
        else
            return true;
    }
    return false;
}

// What filtered text looks like whatever came in.
void checkShape(const QString &out) {
    FUZZ_CHECK(!out.contains(backspace));
    for (qsizetype i = 0; i < out.size(); ++i) {
        if (out[i] == carriageReturn)
            FUZZ_CHECK(i + 1 < out.size() && out[i + 1] == lineFeed);
        else if (out[i] == lineFeed)
            FUZZ_CHECK(i > 0 && out[i - 1] == carriageReturn);
    }
}

class Draw {
public:
    explicit Draw(uint8_t seed)
        : m_state(0x9E3779B9u ^ seed) {}
    uint32_t next(uint32_t bound) {
        m_state ^= m_state << 13;
        m_state ^= m_state >> 17;
        m_state ^= m_state << 5;
        return m_state % bound;
    }

private:
    uint32_t m_state;
};
} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size) {
    const uint8_t seed = size > 0 ? data[0] : 0;
    const uint8_t again = size > 1 ? data[1] : 0;
    const QString rest = size > 2 ? fuzz::latin1(data + 2, size - 2) : QString();
    const QString line = rest.size() <= 4096 ? rest.repeated(1 + again % 32) : rest;
    const bool small = line.size() <= comparedLimit;
    // Whole repetitions as one event each, or events of up to 16, 4096 or
    // 20000 characters (more than a trim drops).
    static constexpr uint32_t eventSizes[] = {0, 16, 4096, 20000};
    const uint32_t eventSize = eventSizes[seed & 3];
    const bool typing = seed & 4;
    Draw draw(seed);

    TerminalBuffer box;
    QString shown; // what the box must hold
    qsizetype at = 0;
    unsigned appends = 0;
    do {
        if (typing && at < line.size() && draw.next(8) == 0) {
            const int key = line[at++].unicode();
            const int keyCode = key == 0xFF ? 0x100 : key;
            const bool rewritten = box.type(keyCode);
            FUZZ_CHECK(rewritten == (keyCode == 8));
            if (keyCode == 8)
                shown.chop(shown.endsWith(QLatin1String("\r\n")) ? 2 : 1);
            else if (keyCode == 13)
                shown.append(QLatin1String("\r\n"));
            else if (keyCode > 0 && keyCode <= 255)
                shown.append(QChar(keyCode));
            FUZZ_CHECK(box.text().size() == shown.size());
            if (small && rewritten)
                FUZZ_CHECK(box.text() == shown);
            continue;
        }
        const qsizetype length =
            eventSize == 0 ? qMax<qsizetype>(rest.size(), 1) : 1 + draw.next(eventSize);
        const QString event = line.mid(at, length);
        at += length;

        int dropped = 0;
        while (shown.size() > TerminalBuffer::trimAbove) {
            shown.remove(0, TerminalBuffer::trimCount);
            dropped += TerminalBuffer::trimCount;
        }
        const TerminalBuffer::Change change = box.append(event);
        FUZZ_CHECK(change.dropped == dropped);

        const bool reaches = reachesBack(event);
        if (event.size() <= stepwiseLimit && small) {
            bool eraseLast = false;
            FUZZ_CHECK(change.appended == stepwiseFilter(event, &eraseLast));
            FUZZ_CHECK(eraseLast == reaches);
        } else {
            checkShape(change.appended);
            FUZZ_CHECK(change.appended.size() <= 2 * event.size());
        }
        const bool erased = reaches && !shown.isEmpty();
        FUZZ_CHECK(change.erasedLast == erased);
        FUZZ_CHECK(change.rewritten == (dropped > 0 || erased));
        if (erased)
            shown.chop(1);
        shown.append(change.appended);

        FUZZ_CHECK(box.text().size() == shown.size());
        FUZZ_CHECK(box.text().size() - change.appended.size() <= TerminalBuffer::trimAbove);
        if (small && (change.rewritten || ++appends % 64 == 0))
            FUZZ_CHECK(box.text() == shown);
    } while (at < line.size());
    FUZZ_CHECK(box.text() == shown);
    return 0;
}

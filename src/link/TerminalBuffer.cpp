#include "link/TerminalBuffer.h"

namespace devicelink {

namespace {
constexpr QChar backspace(8);
constexpr QChar lineFeed(10);
constexpr QChar carriageReturn(13);
} // namespace

QString TerminalBuffer::filter(const QString &received, bool *eraseLast) {
    // Both passes write into buffers sized up front: a chatty line hands
    // over kilobytes per receive event.
    //
    // A backspace removes the character before it; one with nothing before
    // it in this text erases the last character already shown instead.
    QString kept;
    const QString *text = &received;
    if (received.contains(backspace)) {
        kept.resize(received.size());
        QChar *to = kept.data();
        qsizetype n = 0;
        for (const QChar c : received) {
            if (c != backspace)
                to[n++] = c;
            else if (n > 0)
                --n;
            else
                *eraseLast = true;
        }
        kept.truncate(n);
        text = &kept;
    }
    // Line feeds are dropped and every carriage return gets its own back,
    // so CR, LF and CR LF all end a line the same way.
    QString out(text->size() + text->count(carriageReturn), Qt::Uninitialized);
    QChar *to = out.data();
    qsizetype n = 0;
    for (const QChar c : *text) {
        if (c == lineFeed)
            continue;
        to[n++] = c;
        if (c == carriageReturn)
            to[n++] = lineFeed;
    }
    out.truncate(n);
    return out;
}

TerminalBuffer::Change TerminalBuffer::append(const QString &received) {
    bool eraseLast = false;
    const QString filtered = filter(received, &eraseLast);
    return appendFiltered(filtered, eraseLast);
}

TerminalBuffer::Change TerminalBuffer::appendFiltered(const QString &filtered, bool eraseLast) {
    Change change;
    // One receive event can carry more than the 4096 characters a trim drops
    // (a port that held a lot when it was read); trimming once per event
    // would then let the box grow without end. Trim until it is small again.
    while (m_text.size() - change.dropped > trimAbove)
        change.dropped += trimCount;
    if (change.dropped > 0) {
        m_text.remove(0, change.dropped);
        change.rewritten = true;
    }
    change.appended = filtered;
    if (eraseLast && !m_text.isEmpty()) {
        m_text.chop(1);
        change.rewritten = true;
        change.erasedLast = true;
    }
    m_text.append(change.appended);
    return change;
}

bool TerminalBuffer::type(int keyCode) {
    if (keyCode == 8) {
        if (m_text.endsWith(QLatin1String("\r\n")))
            m_text.chop(2);
        else
            m_text.chop(1);
        return true;
    }
    if (keyCode == 13)
        m_text.append(QLatin1String("\r\n"));
    else if (keyCode > 0 && keyCode <= 255)
        m_text.append(QChar(keyCode));
    return false;
}

} // namespace devicelink

#include "web/HttpHead.h"

namespace web {

namespace {
bool isTokenChar(char c) {
    if ((c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9'))
        return true;
    switch (c) {
    case '!':
    case '#':
    case '$':
    case '%':
    case '&':
    case '\'':
    case '*':
    case '+':
    case '-':
    case '.':
    case '^':
    case '_':
    case '`':
    case '|':
    case '~':
        return true;
    default:
        return false;
    }
}

QByteArrayView trimmed(QByteArrayView v) {
    while (!v.isEmpty() && (v.front() == ' ' || v.front() == '\t'))
        v = v.sliced(1);
    while (!v.isEmpty() && (v.back() == ' ' || v.back() == '\t'))
        v.chop(1);
    return v;
}

// Whether a comma-separated field holds a token, without regard to case
// ("keep-alive, Upgrade" holds "upgrade").
bool hasToken(QByteArrayView list, QByteArrayView token) {
    qsizetype from = 0;
    while (from <= list.size()) {
        qsizetype comma = list.indexOf(',', from);
        if (comma < 0)
            comma = list.size();
        if (trimmed(list.sliced(from, comma - from)).compare(token, Qt::CaseInsensitive) == 0)
            return true;
        from = comma + 1;
    }
    return false;
}

int hexValue(char c) {
    if (c >= '0' && c <= '9')
        return c - '0';
    if (c >= 'a' && c <= 'f')
        return c - 'a' + 10;
    if (c >= 'A' && c <= 'F')
        return c - 'A' + 10;
    return -1;
}

// Where the head ends (just past its blank line), or -1. Lines may end in
// CR LF or a bare LF.
qsizetype headEnd(QByteArrayView bytes, qsizetype from) {
    for (qsizetype i = qMax<qsizetype>(from, 0); i < bytes.size(); ++i) {
        if (bytes[i] != '\n')
            continue;
        if (i + 1 < bytes.size() && bytes[i + 1] == '\n')
            return i + 2;
        if (i + 2 < bytes.size() && bytes[i + 1] == '\r' && bytes[i + 2] == '\n')
            return i + 3;
    }
    return -1;
}
} // namespace

QByteArray HttpHead::field(QByteArrayView name) const {
    for (const auto &[key, value] : fields) {
        if (key == name)
            return value;
    }
    return {};
}

bool HttpHead::hasField(QByteArrayView name) const {
    for (const auto &entry : fields) {
        if (entry.first == name)
            return true;
    }
    return false;
}

bool HttpHead::percentDecode(QByteArrayView text, QByteArray *out, bool plusIsSpace) {
    out->clear();
    out->reserve(text.size());
    for (qsizetype i = 0; i < text.size(); ++i) {
        const char c = text[i];
        if (c == '%') {
            if (i + 2 >= text.size())
                return false;
            const int hi = hexValue(text[i + 1]);
            const int lo = hexValue(text[i + 2]);
            if (hi < 0 || lo < 0)
                return false;
            out->append(char(hi * 16 + lo));
            i += 2;
        } else if (c == '+' && plusIsSpace) {
            out->append(' ');
        } else {
            out->append(c);
        }
    }
    return true;
}

HttpHead::Status HttpHead::read(QByteArrayView bytes, HttpHead *head) {
    *head = HttpHead();
    // Empty lines before a request are allowed (a client's CR LF after a body).
    qsizetype start = 0;
    while (start < bytes.size() && (bytes[start] == '\r' || bytes[start] == '\n') &&
           start < headLimit)
        ++start;
    if (start >= headLimit)
        return Status::HeadTooLarge;
    const qsizetype end = headEnd(bytes, start);
    if (end < 0)
        return bytes.size() > headLimit ? Status::HeadTooLarge : Status::NeedMore;
    if (end > headLimit)
        return Status::HeadTooLarge;
    head->size = end;

    // One line at a time, its CR LF or LF taken off.
    qsizetype at = start;
    const auto nextLine = [&](QByteArrayView *line) {
        const qsizetype lf = bytes.indexOf('\n', at);
        QByteArrayView l = bytes.sliced(at, lf - at);
        if (l.endsWith('\r'))
            l.chop(1);
        at = lf + 1;
        *line = l;
    };

    QByteArrayView line;
    nextLine(&line);
    const qsizetype sp1 = line.indexOf(' ');
    const qsizetype sp2 = sp1 < 0 ? -1 : line.indexOf(' ', sp1 + 1);
    if (sp1 <= 0 || sp2 < 0 || sp1 > 16)
        return Status::Bad;
    const QByteArrayView method = line.first(sp1);
    for (const char c : method) {
        if (c < 'A' || c > 'Z')
            return Status::Bad;
    }
    const QByteArrayView target = line.sliced(sp1 + 1, sp2 - sp1 - 1);
    const QByteArrayView version = line.sliced(sp2 + 1);
    if (version == "HTTP/1.0")
        head->http10 = true;
    else if (version != "HTTP/1.1")
        return Status::Bad;
    if (target.isEmpty() || target.front() != '/')
        return Status::Bad;
    for (const char c : target) {
        if (uchar(c) <= 0x20 || uchar(c) >= 0x7F)
            return Status::Bad;
    }
    head->method = method.toByteArray();
    const qsizetype q = target.indexOf('?');
    const QByteArrayView rawPath = q < 0 ? target : target.first(q);
    if (q >= 0)
        head->query = target.sliced(q + 1).toByteArray();
    if (!percentDecode(rawPath, &head->path))
        return Status::Bad;
    for (const char c : std::as_const(head->path)) {
        if (uchar(c) < 0x20 || c == 0x7F)
            return Status::Bad;
    }

    while (true) {
        nextLine(&line);
        if (line.isEmpty())
            break;
        if (head->fields.size() >= fieldLimit)
            return Status::HeadTooLarge;
        // A continuation line (obsolete folding) is refused, as RFC 9112 allows.
        if (line.front() == ' ' || line.front() == '\t')
            return Status::Bad;
        const qsizetype colon = line.indexOf(':');
        if (colon <= 0)
            return Status::Bad;
        const QByteArrayView name = line.first(colon);
        for (const char c : name) {
            if (!isTokenChar(c))
                return Status::Bad;
        }
        const QByteArrayView value = trimmed(line.sliced(colon + 1));
        for (const char c : value) {
            if ((uchar(c) < 0x20 && c != '\t') || c == 0x7F)
                return Status::Bad;
        }
        head->fields.append({name.toByteArray().toLower(), value.toByteArray()});
    }

    bool lengthSeen = false;
    for (const auto &[name, value] : std::as_const(head->fields)) {
        if (name == "transfer-encoding")
            return Status::NotImplemented;
        if (name != "content-length")
            continue;
        if (value.isEmpty() || value.size() > 18)
            return value.size() > 18 ? Status::BodyTooLarge : Status::Bad;
        qint64 length = 0;
        for (const char c : value) {
            if (c < '0' || c > '9')
                return Status::Bad;
            length = length * 10 + (c - '0');
        }
        // Two lengths that differ are a request smuggled in another.
        if (lengthSeen && length != head->contentLength)
            return Status::Bad;
        lengthSeen = true;
        if (length > bodyLimit)
            return Status::BodyTooLarge;
        head->contentLength = qsizetype(length);
    }

    const QByteArray connection = head->field("connection");
    head->keepAlive =
        head->http10 ? hasToken(connection, "keep-alive") : !hasToken(connection, "close");
    head->upgrade = hasToken(connection, "upgrade") &&
                    head->field("upgrade").compare("websocket", Qt::CaseInsensitive) == 0;
    return Status::Complete;
}

QByteArray HttpHead::cookie(QByteArrayView cookieField, QByteArrayView name) {
    qsizetype from = 0;
    while (from < cookieField.size()) {
        qsizetype semi = cookieField.indexOf(';', from);
        if (semi < 0)
            semi = cookieField.size();
        const QByteArrayView pair = trimmed(cookieField.sliced(from, semi - from));
        const qsizetype eq = pair.indexOf('=');
        if (eq > 0 && pair.first(eq) == name) {
            QByteArrayView value = pair.sliced(eq + 1);
            if (value.size() >= 2 && value.front() == '"' && value.back() == '"')
                value = value.sliced(1, value.size() - 2);
            return value.toByteArray();
        }
        from = semi + 1;
    }
    return {};
}

QByteArray HttpHead::bearer(QByteArrayView authorization) {
    const QByteArrayView value = trimmed(authorization);
    if (value.size() <= 7 || !value.first(7).toByteArray().toLower().startsWith("bearer "))
        return {};
    return trimmed(value.sliced(7)).toByteArray();
}

QByteArray HttpHead::queryValue(QByteArrayView query, QByteArrayView name) {
    qsizetype from = 0;
    while (from < query.size()) {
        qsizetype amp = query.indexOf('&', from);
        if (amp < 0)
            amp = query.size();
        const QByteArrayView pair = query.sliced(from, amp - from);
        const qsizetype eq = pair.indexOf('=');
        const QByteArrayView key = eq < 0 ? pair : pair.first(eq);
        if (key == name) {
            QByteArray value;
            if (eq >= 0 && percentDecode(pair.sliced(eq + 1), &value, true))
                return value;
            return {};
        }
        from = amp + 1;
    }
    return {};
}

} // namespace web

#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QList>
#include <QPair>

namespace web {

// The head of one HTTP/1.1 request as a browser or a script sends it: the
// request line and the header fields up to the blank line, read from the
// bytes received so far with every size bounded (a head of at most 8 KiB, 64
// fields, a body of at most 64 KiB announced by Content-Length), so that
// nobody can make the server hold more than that for a request.
struct HttpHead {
    static constexpr qsizetype headLimit = 8 * 1024;
    static constexpr int fieldLimit = 64;
    static constexpr qsizetype bodyLimit = 64 * 1024;

    enum class Status : quint8 {
        NeedMore,       // no blank line yet, and still within the bound
        Complete,       // a whole head; its body follows
        Bad,            // not a request this server reads (400)
        HeadTooLarge,   // past 8 KiB or 64 fields (431)
        BodyTooLarge,   // announces more than 64 KiB (413)
        NotImplemented, // a Transfer-Encoding body (501)
    };

    QByteArray method;                           // "GET", "POST"
    QByteArray path;                             // percent-decoded, from its '/'
    QByteArray query;                            // as sent, after '?'
    bool http10 = false;                         // HTTP/1.0 rather than 1.1
    QList<QPair<QByteArray, QByteArray>> fields; // names in lower case, values trimmed
    qsizetype size = 0;                          // bytes of the head, its blank line included
    qsizetype contentLength = 0;
    bool keepAlive = true;
    bool upgrade = false; // asks for a WebSocket

    // The first value of a field (name in lower case); empty when absent.
    QByteArray field(QByteArrayView name) const;
    bool hasField(QByteArrayView name) const;

    // Reads the head at the start of bytes (what has arrived of the request).
    static Status read(QByteArrayView bytes, HttpHead *head);

    // A cookie's value from a Cookie field ("a=1; velmar=TOKEN").
    static QByteArray cookie(QByteArrayView cookieField, QByteArrayView name);
    // The token of "Authorization: Bearer TOKEN"; empty for any other scheme.
    static QByteArray bearer(QByteArrayView authorization);
    // A parameter of a query ("token=abc&x=1"), percent-decoded; empty when absent.
    static QByteArray queryValue(QByteArrayView query, QByteArrayView name);
    // %XX decoded ('+' as a space when asked); false on a broken escape.
    static bool percentDecode(QByteArrayView text, QByteArray *out, bool plusIsSpace = false);
};

} // namespace web

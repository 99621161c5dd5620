#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>

namespace config {

// The remote site list RemoteIPVelmar.ini: one entry per line, Latin-1, each
// line ending in CR LF. "0.0.0.0" as an entry stands for the serial port.
// Empty lines may be in the file and are not entries.
struct SiteList {
    // The entries of a file's bytes; CR LF, CR or LF end a line.
    static QStringList entries(const QByteArray &bytes);
    // A whole file holding these entries.
    static QByteArray bytes(const QStringList &entries);
    // What adding an entry writes at the end of a file whose last byte is
    // `tail` (empty for an empty or new file): the entry as one line. A last
    // line written without its line end (a hand-edited file) gets one first,
    // so that the new entry does not run into it.
    static QByteArray addition(const QByteArray &tail, const QString &entry);
    // An entry or title as one line of a file: a line break inside it would
    // split it in two and shift every line after it, so it becomes a blank.
    static QString oneLine(const QString &text);
};

} // namespace config

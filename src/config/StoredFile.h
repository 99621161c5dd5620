#pragma once

#include <QByteArray>
#include <QString>
#include <climits>
#include <functional>
#include <optional>

namespace config {

// How much of a file is read.
struct ReadLimits {
    int lines = INT_MAX;    // the file is read up to this many line ends
    bool lfEndsLine = true; // a lone LF ends a line (it does not in language files)
};

// A file of the storage folder (or a language file), read bounded and
// replaced whole. A rewrite goes to a temporary file renamed over the old
// one, so a crash or power cut never leaves it empty or half-written, and a
// write the disk refuses never replaces it.
//
// Every line read is kept whole. Only a regular file is read, and only up to
// bounds that no file written by hand reaches: a link to /dev/zero, a FIFO or
// a title of megabytes neither hangs nor exhausts the program, and counts as
// a file that exists and cannot be read (never cut, so never saved cut).
class StoredFile {
public:
    using Limits = ReadLimits;
    // A line longer than this, or more than fileBound bytes before the last
    // line wanted, makes the file unreadable.
    static constexpr qint64 lineBound = qint64(1) << 20;
    static constexpr qint64 fileBound = qint64(16) << 20;

    enum class Presence { Missing, Unreadable, Readable };
    struct Contents {
        Presence presence = Presence::Missing;
        QByteArray bytes; // the lines read, each with its own line end
        QString reason;   // why an unreadable file was not read, for the operator
    };

    explicit StoredFile(QString path)
        : m_path(std::move(path)) {}

    QString path() const { return m_path; }
    Contents load(const Limits &limits = {}) const;
    // Nothing when the file does not exist or cannot be read.
    std::optional<QByteArray> read(const Limits &limits = {}) const;
    // Creates the folder when it is missing; false when nothing was written.
    bool replace(const QByteArray &bytes) const;
    // Writes at the end of the file (created when missing) what `addition`
    // makes of its last byte (empty for an empty file), in one write; the
    // rest of the file is not touched. False, and the file as it was, when
    // it is not a regular file or the write fails.
    bool append(const std::function<QByteArray(const QByteArray &tail)> &addition) const;

private:
    QString m_path;
};

} // namespace config

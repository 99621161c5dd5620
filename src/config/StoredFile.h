#pragma once

#include <QByteArray>
#include <QString>
#include <climits>
#include <optional>

namespace config {

// How much of a file is read.
struct ReadLimits {
    int lines = INT_MAX;    // the file is read up to this many line ends
    int lineLength = 1024;  // bytes kept of each line; the rest of it is dropped
    bool lfEndsLine = true; // a lone LF ends a line (it does not in language files)
};

// A file of the storage folder (or a language file), read bounded and
// replaced whole. A rewrite goes to a temporary file renamed over the old
// one, so a crash or power cut never leaves it empty or half-written, and a
// write the disk refuses never replaces it.
//
// Only a regular file is read, and only as much of it as its reader can use:
// a link to /dev/zero, a FIFO or a title of megabytes neither hangs nor
// exhausts the program; anything but a regular file counts as a file that
// exists and cannot be read.
class StoredFile {
public:
    using Limits = ReadLimits;
    enum class Presence { Missing, Unreadable, Readable };
    struct Contents {
        Presence presence = Presence::Missing;
        QByteArray bytes; // the lines read, each with its own line end
    };

    explicit StoredFile(QString path)
        : m_path(std::move(path)) {}

    Contents load(const Limits &limits = {}) const;
    // Nothing when the file does not exist or cannot be read.
    std::optional<QByteArray> read(const Limits &limits = {}) const;
    // Creates the folder when it is missing; false when nothing was written.
    bool replace(const QByteArray &bytes) const;

private:
    QString m_path;
};

} // namespace config

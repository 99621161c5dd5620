#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <optional>

namespace web {

// The browser page, from the program's resources: a fixed list of files by
// their exact path ("/" is the page itself). Nothing is read from disk and
// no folder is ever listed.
class PageFiles {
public:
    struct File {
        QByteArray bytes;
        QByteArray mimeType;
    };
    static std::optional<File> find(QByteArrayView path);
    // What the page may load: its own files and its own socket, nothing else.
    static QByteArray contentSecurityPolicy();
};

} // namespace web

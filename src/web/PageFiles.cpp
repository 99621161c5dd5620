#include "web/PageFiles.h"

#include <QFile>

namespace web {

namespace {
struct Entry {
    const char *path;
    const char *resource;
    const char *mimeType;
};
const Entry entries[] = {
    {"/", ":/web/page/index.html", "text/html; charset=utf-8"},
    {"/index.html", ":/web/page/index.html", "text/html; charset=utf-8"},
    {"/app.js", ":/web/page/app.js", "text/javascript; charset=utf-8"},
    {"/texts.js", ":/web/page/texts.js", "text/javascript; charset=utf-8"},
    {"/style.css", ":/web/page/style.css", "text/css; charset=utf-8"},
    {"/icon.svg", ":/web/page/icon.svg", "image/svg+xml"},
};
} // namespace

std::optional<PageFiles::File> PageFiles::find(QByteArrayView path) {
    for (const Entry &e : entries) {
        if (path != e.path)
            continue;
        QFile file(QLatin1String(e.resource));
        if (!file.open(QIODevice::ReadOnly))
            return std::nullopt;
        return File{file.readAll(), e.mimeType};
    }
    return std::nullopt;
}

QByteArray PageFiles::contentSecurityPolicy() {
    return "default-src 'none'; script-src 'self'; style-src 'self'; img-src 'self'; "
           "connect-src 'self'; base-uri 'none'; form-action 'none'; frame-ancestors 'none'";
}

} // namespace web

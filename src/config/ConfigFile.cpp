#include "config/ConfigFile.h"

#include "config/SiteList.h"

#include <QLocale>
#include <cmath>

namespace config {

ConfigFile ConfigFile::defaults() {
    ConfigFile f;
    for (int k = 1; k <= cameras; ++k) {
        f.titles.append(QStringLiteral("CAMERA %1").arg(k));
        f.types.append(QStringLiteral("F"));
    }
    return f;
}

QByteArray ConfigFile::bytes() const {
    QStringList out{left, top};
    for (int k = 0; k < cameras; ++k) {
        out.append(titles.value(k));
        out.append(types.value(k));
    }
    out.append(languageFile);
    QByteArray bytes;
    for (const QString &line : out) {
        // A line break inside a value (a language file's name may hold one)
        // would add a line and shift the ones after it: the file is always 35.
        bytes.append(SiteList::oneLine(line).toLatin1());
        bytes.append("\r\n");
    }
    return bytes;
}

QStringList ConfigFile::lines(const QByteArray &bytes) {
    QStringList out;
    QString current;
    for (int i = 0; i < bytes.size(); ++i) {
        const char c = bytes[i];
        if (c == '\r' || c == '\n') {
            out.append(current);
            current.clear();
            if (c == '\r' && i + 1 < bytes.size() && bytes[i + 1] == '\n')
                ++i;
            continue;
        }
        current.append(QChar(static_cast<uchar>(c)));
    }
    if (!current.isEmpty())
        out.append(current);
    return out;
}

ConfigReading ConfigFile::read(const QByteArray &bytes) {
    const QStringList l = lines(bytes);
    ConfigReading r;
    r.left = l.value(0);
    r.top = l.value(1);
    if (l.value(2).isEmpty())
        return r;
    r.fresh = false;
    r.file.left = r.left;
    r.file.top = r.top;
    for (int k = 0; k < cameras; ++k) {
        const int titleLine = 2 + 2 * k;
        if (titleLine >= l.size())
            break;
        r.file.titles[k] = l[titleLine];
        if (titleLine + 1 < l.size())
            r.file.types[k] = l[titleLine + 1];
    }
    r.file.languageFile = l.value(lineCount - 1);
    return r;
}

QString ConfigFile::positionText(int twips) {
    return QString::number(twips);
}

QString ConfigFile::paddedPositionText(int twips) {
    return (twips < 0 ? QString() : QStringLiteral(" ")) + QString::number(twips) +
           QLatin1Char(' ');
}

std::optional<int> ConfigFile::parsePosition(const QString &text) {
    const QString t = text.trimmed();
    bool ok = false;
    double v = QLocale::system().toDouble(t, &ok);
    if (!ok)
        v = QLocale::c().toDouble(t, &ok);
    if (!ok || !std::isfinite(v) || std::fabs(v) > 1e9)
        return std::nullopt;
    return static_cast<int>(std::lround(v));
}

bool ConfigFile::keepsTitle(int camera, const QString &title) {
    if (camera < 1 || camera > cameras)
        return false;
    ConfigFile file = defaults();
    file.left = file.top = positionText(0);
    file.titles[camera - 1] = title;
    const ConfigReading back = read(file.bytes());
    return !back.fresh && back.file.titles == file.titles;
}

} // namespace config

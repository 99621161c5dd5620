#include "bus/CameraOptions.h"

#include <QSet>

namespace bus {

namespace {
bool isNumber(const QString &text) {
    if (text.isEmpty())
        return false;
    for (const QChar c : text) {
        if (c < QLatin1Char('0') || c > QLatin1Char('9'))
            return false;
    }
    return true;
}

// A title as one line of printable text: control characters become spaces
// and runs of spaces one.
QString printable(const QString &title) {
    QString out = title;
    for (QChar &c : out) {
        if (c.unicode() < 0x20 || c.unicode() == 0x7F ||
            (c.unicode() >= 0x80 && c.unicode() < 0xA0))
            c = QLatin1Char(' ');
    }
    return out.simplified();
}

QString numbered(const QString &name, int camera) {
    return name + QStringLiteral(" (%1)").arg(camera);
}
} // namespace

QStringList cameraOptions(const QStringList &titles) {
    QStringList base;
    for (int k = 0; k < titles.size(); ++k) {
        const QString title = printable(titles[k]);
        base.append(title.isEmpty() ? QStringLiteral("Camera %1").arg(k + 1) : title);
    }
    QStringList options;
    for (int k = 0; k < base.size(); ++k) {
        const bool plain = !isNumber(base[k]) && base.count(base[k]) == 1;
        options.append(plain ? base[k] : numbered(base[k], k + 1));
    }
    // A numbered name can still meet another camera's own title ("A (1)");
    // the later camera takes its number again until no two are alike. Each
    // round lengthens one name, so this ends.
    for (bool clash = true; clash;) {
        clash = false;
        QSet<QString> seen;
        for (int k = 0; k < options.size(); ++k) {
            if (seen.contains(options[k])) {
                options[k] = numbered(options[k], k + 1);
                clash = true;
                break;
            }
            seen.insert(options[k]);
        }
    }
    return options;
}

} // namespace bus

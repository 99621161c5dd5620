#include "config/Localiser.h"

#include "config/Captions.h"
#include "config/LanguageFile.h"

#include <QFile>
#include <QObject>

namespace config {

std::optional<QStringList> Localiser::read(const QString &path) {
    QFile file(path);
    if (path.isEmpty() || !file.open(QIODevice::ReadOnly))
        return std::nullopt;
    return LanguageFile::captions(file.readAll());
}

void Localiser::relabel(const QStringList &captions, const char *window,
                        const QList<QObject *> &controls) {
    for (int i = 0; i < captions.size(); ++i) {
        const LanguageFile::Slot &slot = LanguageFile::table[i];
        if (qstrcmp(slot.window, window) != 0)
            continue;
        for (QObject *control : controls) {
            if (control && control->objectName() == QLatin1String(slot.control))
                setCaption(control, captions[i]);
        }
    }
}

} // namespace config
